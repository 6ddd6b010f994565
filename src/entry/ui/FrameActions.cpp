#include "entry/ui/FrameActions.h"

#include "shared/ui/PaintedIcons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <tuple>

namespace qv {

FrameActions::FrameActions(QMainWindow* window, bool regionalApplet,
                           std::function<void(const QString&)> openRecent)
    : window_(window), openRecent_(std::move(openRecent)) {
    createActions();
    createMenus(regionalApplet);
    createToolBar();
}

QAction* FrameActions::action(FrameCommand id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* FrameActions::makeAction(FrameCommand id, const QString& text, const QString& prompt,
                                  const QString& toolTip) {
    auto* a = new QAction(text, window_);
    a->setObjectName(QStringLiteral("cmd%1").arg(int(id)));
    a->setStatusTip(prompt);
    if (!toolTip.isEmpty())
        a->setToolTip(toolTip);
    actions_[id] = a;
    return a;
}

void FrameActions::createActions() {
    makeAction(NewForm, QStringLiteral("&New Form...\tCtrl-N"), QStringLiteral("Create a new document"),
               QStringLiteral("New"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    auto* open = makeAction(Open, QStringLiteral("&Open...\tCtrl-O"),
                            QStringLiteral("Opens a previously saved sheet"), QStringLiteral("Open"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    auto* save = makeAction(SaveWorksheet, QStringLiteral("&Save Worksheet\tCtrl+S"),
                            QStringLiteral("Saves this sheet to a file"), QStringLiteral("Save"));
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    makeAction(SaveWorksheetAs, QStringLiteral("Save Worksheet &As..."),
               QStringLiteral("Saves this sheet to another file"), QStringLiteral("Save As"));
    makeAction(PageSetup, QStringLiteral("Pa&ge Setup..."), QStringLiteral("Change the printing options"));
    makeAction(PrintPreview, QStringLiteral("Print Pre&view"), QStringLiteral("Display full pages"),
               QStringLiteral("Print Preview"));
    auto* print = makeAction(Print, QStringLiteral("&Print...\tCtrl+P"),
                             QStringLiteral("Print the active document"), QStringLiteral("Print"));
    print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    makeAction(ExportPdf, QStringLiteral("E&xport as PDF...\tCtrl+Shift+E"),
               QStringLiteral("Saves the form as a PDF file, with the pages as they print"),
               QStringLiteral("Export as PDF"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    makeAction(SendMail, QStringLiteral("Send &Mail..."),
               QStringLiteral("Send the active document through electronic mail"));
    makeAction(Close, QStringLiteral("&Close\tAlt-F4"), QStringLiteral("Close the active document"));
    const struct {
        FrameCommand id;
        const char* text;
        const char* prompt;
        const char* tip;
        std::initializer_list<const char*> keys;
    } edits[] = {
        {Undo, "&Undo\tCtrl+Z", "Undo the last action", "Undo", {"Ctrl+Z", "Alt+Backspace"}},
        {Cut,
         "Cu&t\tCtrl+X",
         "Cut the selection and put it on the Clipboard",
         "Cut",
         {"Ctrl+X", "Shift+Del"}},
        {Copy,
         "&Copy\tCtrl+C",
         "Copy the selection and put it on the Clipboard",
         "Copy",
         {"Ctrl+C", "Ctrl+Ins"}},
        {Paste, "&Paste\tCtrl+V", "Insert Clipboard contents", "Paste", {"Ctrl+V", "Shift+Ins"}},
        {Delete, "&Delete\tDel", "Erase the selection", "Delete", {}},
    };
    for (const auto& e : edits) {
        QList<QKeySequence> keys;
        for (const char* k : e.keys)
            keys << QKeySequence(QString::fromLatin1(k));
        QAction* a = makeAction(e.id, QString::fromLatin1(e.text), QString::fromLatin1(e.prompt),
                                QString::fromLatin1(e.tip));
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    for (auto [id, text, prompt] :
         {std::tuple{ViewToolbar, "&Toolbar", "Show or hide the toolbar"},
          std::tuple{ViewVariableEntry, "&Variable Entry", "Show or hide the variable entry bar"},
          std::tuple{ViewStatusBar, "&Status Bar", "Show or hide the status bar"}})
        makeAction(id, QString::fromLatin1(text), QString::fromLatin1(prompt))->setCheckable(true);
    actions_[ViewVariableEntry]->setToolTip(QStringLiteral("Toggle Variable Entry Bar"));
    makeAction(NumberSettings, QStringLiteral("&Number Settings..."),
               QStringLiteral("Starts the Control Panel to change Number Settings"));
    makeAction(CurrencySettings, QStringLiteral("&Currency Settings..."),
               QStringLiteral("Starts the Control Panel to change Currency Settings"));
    makeAction(InternationalSettings, QStringLiteral("&International Settings"),
               QStringLiteral("Changes the Number and Currency Settings in the Control Panel"));
    makeAction(Calculator, QStringLiteral("&Windows Calculator..."),
               QStringLiteral("Starts the Windows Calculator"), QStringLiteral("Calculator"));
    makeAction(VariableSets, QStringLiteral("V&ariable Sets..."),
               QStringLiteral("Configure the Variable Sets"))
        ->setShortcut(QKeySequence(QStringLiteral("Alt+C")));
    makeAction(PrintFileOptions, QStringLiteral("&Print File Options..."),
               QStringLiteral("Allows you to change the editor you wish to use for Print Files"));
    auto* help =
        makeAction(HelpContents, QStringLiteral("&Contents\tF1"),
                   QStringLiteral("Shows the help's table of contents"), QStringLiteral("Help Contents"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    makeAction(HelpIndex, QStringLiteral("&Index"), QStringLiteral("List Help topics"));
    makeAction(HelpUsing, QStringLiteral("&How to use help"),
               QStringLiteral("Display instructions about how to use help"));
    makeAction(About, QStringLiteral("&About Q-V Davov Software..."),
               QStringLiteral("Display program information, version number and copyright"));
    auto* review = makeAction(ReviewAnswers, QStringLiteral("&Review Answers"),
                              QStringLiteral("Lists every answer of the form, to check them before you finish"),
                              QStringLiteral("Review Answers"));
    review->setCheckable(true);
    review->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    review->setIcon(PaintedIcons::icon(PaintedIcons::ReviewAnswers));
    makeAction(Options, QStringLiteral("&Options..."), QStringLiteral("Changes how the program helps you answer"));
    for (auto [id, picture] :
         {std::pair{Open, PaintedIcons::Open}, std::pair{SaveWorksheet, PaintedIcons::Save},
          std::pair{Print, PaintedIcons::Print}, std::pair{PrintPreview, PaintedIcons::PrintPreview},
          std::pair{Cut, PaintedIcons::Cut}, std::pair{Copy, PaintedIcons::Copy},
          std::pair{Paste, PaintedIcons::Paste}, std::pair{Delete, PaintedIcons::Delete},
          std::pair{Undo, PaintedIcons::Undo}, std::pair{Calculator, PaintedIcons::Calculator},
          std::pair{HelpContents, PaintedIcons::Help}})
        actions_[id]->setIcon(PaintedIcons::icon(picture));
    for (auto& [id, a] : actions_) {
        // The toolbar shows the short name, not the menu text with its shortcut.
        if (!a->toolTip().isEmpty() && a->toolTip() != a->text())
            a->setIconText(a->toolTip());
        window_->addAction(a);
    }
}

void FrameActions::createMenus(bool regionalApplet) {
    QMenu* file = window_->menuBar()->addMenu(QStringLiteral("&File"));
    for (FrameCommand c : {NewForm, Open, SaveWorksheet, SaveWorksheetAs})
        file->addAction(actions_[c]);
    file->addSeparator();
    for (FrameCommand c : {PageSetup, PrintPreview, Print, ExportPdf})
        file->addAction(actions_[c]);
    file->addSeparator();
    file->addAction(actions_[SendMail]);
    recentSeparator_ = file->addSeparator();
    for (int i = 0; i < kRecentFiles; ++i) {
        auto* a = file->addAction(QString());
        a->setObjectName(QStringLiteral("cmd%1").arg(57616 + i));
        a->setVisible(false);
        QObject::connect(a, &QAction::triggered, window_, [this, a] { openRecent_(a->data().toString()); });
        recentActions_ << a;
    }
    file->addSeparator();
    file->addAction(actions_[Close]);

    QMenu* edit = window_->menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(actions_[Undo]);
    edit->addSeparator();
    for (FrameCommand c : {Cut, Copy, Paste, Delete})
        edit->addAction(actions_[c]);

    QMenu* view = window_->menuBar()->addMenu(QStringLiteral("&View"));
    for (FrameCommand c : {ViewToolbar, ViewVariableEntry, ViewStatusBar})
        view->addAction(actions_[c]);
    view->addSeparator();
    view->addAction(actions_[ReviewAnswers]);

    QMenu* tools = window_->menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("toolsMenu"));
    // Exactly one way to the regional settings stays: the submenu where the system has
    // the control panel's regional applet, the single item otherwise.
    if (regionalApplet) {
        QMenu* regional = tools->addMenu(QStringLiteral("&Regional Settings"));
        regional->addAction(actions_[NumberSettings]);
        regional->addAction(actions_[CurrencySettings]);
    } else {
        tools->addAction(actions_[InternationalSettings]);
    }
    tools->addSeparator();
    for (FrameCommand c : {Calculator, VariableSets, PrintFileOptions})
        tools->addAction(actions_[c]);
    tools->addSeparator();
    tools->addAction(actions_[Options]);

    QMenu* help = window_->menuBar()->addMenu(QStringLiteral("&Help"));
    for (FrameCommand c : {HelpContents, HelpIndex, HelpUsing})
        help->addAction(actions_[c]);
    help->addSeparator();
    help->addAction(actions_[About]);
}

void FrameActions::createToolBar() {
    QToolBar* tb = window_->addToolBar(QStringLiteral("Main Toolbar"));
    tb->setObjectName(QStringLiteral("mainToolbar"));
    tb->addAction(actions_[Open]);
    tb->addAction(actions_[SaveWorksheet]);
    tb->addSeparator();
    tb->addAction(actions_[Print]);
    tb->addAction(actions_[PrintPreview]);
    tb->addSeparator();
    for (FrameCommand c : {Cut, Copy, Paste, Delete})
        tb->addAction(actions_[c]);
    tb->addSeparator();
    tb->addAction(actions_[Undo]);
    tb->addSeparator();
    tb->addAction(actions_[Calculator]);
    tb->addSeparator();
    tb->addAction(actions_[HelpContents]);
    tb->addSeparator();
    tb->addAction(actions_[ReviewAnswers]);
    QObject::connect(actions_[ViewToolbar], &QAction::toggled, tb, &QToolBar::setVisible);
    // Hidden from the toolbar area's own menu, the toolbar takes the tick off too.
    QObject::connect(tb, &QToolBar::visibilityChanged, actions_[ViewToolbar], &QAction::setChecked);
    actions_[ViewToolbar]->setChecked(true);
}

} // namespace qv
