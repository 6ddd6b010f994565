#include "entry/ui/CMainFrame.h"

#include "entry/ui/InterviewBar.h"
#include "formengine/CTextDoc.h"
#include "formengine/DocumentOpener.h"
#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "platform/UserLocale.h"
#include "view/NumericFields.h"
#include "view/ui/CTextView.h"
#include "view/ui/FormPrinter.h"
#include "view/ui/PagePropertiesDialog.h"
#include "view/ui/VariableSetsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace qv {
namespace {

constexpr int kRecentFiles = 4;
const QString kFormFilter = QStringLiteral("QV Davov Forms (*.qvf);;QV Davov Worksheets (*.qvw)");
const QString kWorksheetFilter = QStringLiteral("QV Davov Worksheets (*.qvw)");

} // namespace

CMainFrame::CMainFrame(CTextDoc& doc, UserMessages& messages, platform::Profile& profile,
                       Interview::Clock clock, QWidget* parent)
    : QMainWindow(parent), doc_(doc), messages_(messages), profile_(profile) {
    setObjectName(QStringLiteral("mainFrame"));
    // The program's printer: the system's default, or a PDF printer on Letter paper where
    // there is none, so that pagination and Page Setup still work.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    printer_ = defaultPrinter.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                       : std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    if (defaultPrinter.isNull()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::Letter));
    }
    view_ = new CTextView(doc_, platform::UserLocale::current(), this);
    view_->page().setMeasure([this] {
        syncPrinterOrientation();
        return FormPrinter::Measure(*printer_);
    });
    setCentralWidget(view_);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    bar_ = new InterviewBar(this);
    barDock_ = new QDockWidget(QStringLiteral("Q-V Variable Entry"), this);
    barDock_->setObjectName(QStringLiteral("interviewBar103"));
    barDock_->setWidget(bar_);
    barDock_->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    barDock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::TopDockWidgetArea, barDock_);

    interview_ = std::make_unique<Interview>(
        doc_, messages_, [this] { updateAllViews(); }, std::move(clock));
    connectCommands();

    idle_.setSingleShot(true);
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, &CMainFrame::UpdatePass);
    timer1_.setInterval(2000);
    connect(&timer1_, &QTimer::timeout, this, [this] {
        interview_->TimerTick(bar_->sliderPosition());
        UpdatePass();
    });
    timer1_.start();
    qApp->installEventFilter(this);

    resize(820, 640);
    view_->OnUpdate();
    updateRecentFiles();
    UpdatePass();
    bar_->valueField()->setFocus();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

QAction* CMainFrame::action(Command id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::makeAction(Command id, const QString& text, const QString& prompt,
                                const QString& toolTip) {
    auto* a = new QAction(text, this);
    a->setObjectName(QStringLiteral("cmd%1").arg(int(id)));
    a->setStatusTip(prompt);
    if (!toolTip.isEmpty())
        a->setToolTip(toolTip);
    actions_[id] = a;
    return a;
}

void CMainFrame::createActions() {
    const auto icon = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    makeAction(NewForm, QStringLiteral("&New Form...\tCtrl-N"), QStringLiteral("Create a new document"),
               QStringLiteral("New"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    auto* open = makeAction(Open, QStringLiteral("&Open...\tCtrl-O"),
                            QStringLiteral("Opens a previously saved sheet"), QStringLiteral("Open"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    open->setIcon(icon(QStyle::SP_DialogOpenButton));
    auto* save = makeAction(SaveWorksheet, QStringLiteral("&Save Worksheet\tCtrl+S"),
                            QStringLiteral("Saves this sheet to a file"), QStringLiteral("Save"));
    save->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    save->setIcon(icon(QStyle::SP_DialogSaveButton));
    makeAction(SaveWorksheetAs, QStringLiteral("Save Worksheet &As..."),
               QStringLiteral("Saves this sheet to another file"), QStringLiteral("Save As"));
    makeAction(PageSetup, QStringLiteral("Pa&ge Setup..."), QStringLiteral("Change the printing options"));
    makeAction(PrintPreview, QStringLiteral("Print Pre&view"), QStringLiteral("Display full pages"),
               QStringLiteral("Print Preview"))
        ->setIcon(icon(QStyle::SP_FileDialogContentsView));
    auto* print = makeAction(Print, QStringLiteral("&Print...\tCtrl+P"),
                             QStringLiteral("Print the active document"), QStringLiteral("Print"));
    print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    makeAction(SendMail, QStringLiteral("Send &Mail..."),
               QStringLiteral("Send the active document through electronic mail"));
    makeAction(Close, QStringLiteral("&Close\tAlt-F4"), QStringLiteral("Close the active document"));
    const struct {
        Command id;
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
    for (auto& [id, a] : actions_) {
        // The toolbar shows the short name, not the menu text with its shortcut.
        if (!a->toolTip().isEmpty() && a->toolTip() != a->text())
            a->setIconText(a->toolTip());
        addAction(a);
    }
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    for (Command c : {NewForm, Open, SaveWorksheet, SaveWorksheetAs})
        file->addAction(actions_[c]);
    file->addSeparator();
    for (Command c : {PageSetup, PrintPreview, Print})
        file->addAction(actions_[c]);
    file->addSeparator();
    file->addAction(actions_[SendMail]);
    recentSeparator_ = file->addSeparator();
    for (int i = 0; i < kRecentFiles; ++i) {
        auto* a = file->addAction(QString());
        a->setObjectName(QStringLiteral("cmd%1").arg(57616 + i));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] {
            if (SaveModified())
                OpenDocumentFile(a->data().toString());
        });
        recentActions_ << a;
    }
    file->addSeparator();
    file->addAction(actions_[Close]);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(actions_[Undo]);
    edit->addSeparator();
    for (Command c : {Cut, Copy, Paste, Delete})
        edit->addAction(actions_[c]);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (Command c : {ViewToolbar, ViewVariableEntry, ViewStatusBar})
        view->addAction(actions_[c]);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    // One way to the regional settings stays: the desktop's region settings stand in for
    // the control panel's submenu.
    tools->addAction(actions_[InternationalSettings]);
    tools->addSeparator();
    for (Command c : {Calculator, VariableSets, PrintFileOptions})
        tools->addAction(actions_[c]);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    for (Command c : {HelpContents, HelpIndex, HelpUsing})
        help->addAction(actions_[c]);
    help->addSeparator();
    help->addAction(actions_[About]);
}

void CMainFrame::createToolBar() {
    QToolBar* tb = addToolBar(QStringLiteral("Main Toolbar"));
    tb->setObjectName(QStringLiteral("mainToolbar"));
    tb->addAction(actions_[Open]);
    tb->addAction(actions_[SaveWorksheet]);
    tb->addSeparator();
    tb->addAction(actions_[Print]);
    tb->addAction(actions_[PrintPreview]);
    tb->addSeparator();
    for (Command c : {Cut, Copy, Paste, Delete})
        tb->addAction(actions_[c]);
    tb->addSeparator();
    tb->addAction(actions_[Undo]);
    tb->addSeparator();
    tb->addAction(actions_[Calculator]);
    tb->addAction(actions_[HelpContents]);
    connect(actions_[ViewToolbar], &QAction::toggled, tb, &QToolBar::setVisible);
    actions_[ViewToolbar]->setChecked(true);
}

void CMainFrame::createStatusBar() {
    position_ = new QLabel(QStringLiteral("(NONE)"), this);
    position_->setObjectName(QStringLiteral("positionPane59142"));
    position_->setMinimumWidth(position_->fontMetrics().horizontalAdvance(QStringLiteral("0000/0000")));
    position_->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(position_);
    connect(actions_[ViewStatusBar], &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    actions_[ViewStatusBar]->setChecked(true);
}

void CMainFrame::connectCommands() {
    // Every command first takes in what the field holds, so no typed answer is ever lost
    // to a quick click.
    connect(bar_, &InterviewBar::backClicked, this, [this] {
        UpdatePass();
        interview_->Back();
        UpdatePass();
    });
    connect(bar_, &InterviewBar::nextClicked, this, [this] {
        UpdatePass();
        interview_->Next();
        UpdatePass();
    });
    connect(bar_, &InterviewBar::cancelClicked, this, &QWidget::close);
    connect(bar_, &InterviewBar::fillInLaterClicked, this, &CMainFrame::onFillInLater);
    connect(bar_, &InterviewBar::changed, this, &CMainFrame::armIdlePass);
    connect(bar_->valueField(), &QLineEdit::textEdited, this, &CMainFrame::UpdatePass);
    connect(actions_[Close], &QAction::triggered, this, &QWidget::close);
    connect(actions_[VariableSets], &QAction::triggered, this, &CMainFrame::onVariableSets);
    connect(actions_[Print], &QAction::triggered, this, &CMainFrame::onPrint);
    connect(actions_[PrintPreview], &QAction::triggered, this, &CMainFrame::onPrintPreview);
    connect(actions_[PageSetup], &QAction::triggered, this, &CMainFrame::onPageSetup);
    connect(actions_[Open], &QAction::triggered, this, &CMainFrame::onOpen);
    // A saved worksheet holds every typed answer: nothing is unsaved any more.
    connect(actions_[SaveWorksheet], &QAction::triggered, this, [this] {
        if (doc_.SaveWorksheet())
            doc_.SetModifiedFlag(false);
    });
    connect(actions_[SaveWorksheetAs], &QAction::triggered, this, [this] {
        if (doc_.SaveWorksheetAs())
            doc_.SetModifiedFlag(false);
    });
    QLineEdit* field = bar_->valueField();
    connect(actions_[Undo], &QAction::triggered, field, &QLineEdit::undo);
    connect(actions_[Cut], &QAction::triggered, field, &QLineEdit::cut);
    connect(actions_[Copy], &QAction::triggered, field, &QLineEdit::copy);
    connect(actions_[Paste], &QAction::triggered, field, &QLineEdit::paste);
    connect(actions_[Delete], &QAction::triggered, field, &QLineEdit::del);
    connect(actions_[ViewVariableEntry], &QAction::triggered, this,
            [this](bool on) { barDock_->setVisible(on); });
    for (auto& [id, a] : actions_)
        connect(a, &QAction::triggered, this, &CMainFrame::armIdlePass);
}

void CMainFrame::armIdlePass() {
    if (!idle_.isActive())
        idle_.start();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
        armIdlePass();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::UpdatePass() {
    QWidget* focus = QApplication::focusWidget();
    // Focus in the form view (or elsewhere in the window outside the bar) goes back to
    // the value field.
    const bool focusInFrameChild =
        focus && focus->window() == this && !barDock_->isAncestorOf(focus) && !menuBar()->isAncestorOf(focus);
    const InterviewView v = interview_->UpdatePass(bar_->fieldText(), focusInFrameChild);
    bar_->show(v);
    position_->setText(QString::fromStdString(v.positionText));
    position_->setEnabled(v.positionEnabled);

    QLineEdit* field = bar_->valueField();
    const bool fieldOn = field->isEnabled();
    actions_[Paste]->setEnabled(fieldOn && !QGuiApplication::clipboard()->text().isEmpty());
    actions_[Undo]->setEnabled(fieldOn && field->isUndoAvailable());
    for (Command c : {Cut, Copy, Delete})
        actions_[c]->setEnabled(fieldOn && field->hasSelectedText());
    const bool any = doc_.state().occCount > 0;
    actions_[SaveWorksheet]->setEnabled(any);
    actions_[SaveWorksheetAs]->setEnabled(any);
    actions_[ViewVariableEntry]->setChecked(barDock_->isVisible());
    // Commands whose windows come later stay visible but off.
    for (Command c : {NewForm, SendMail, NumberSettings, CurrencySettings, InternationalSettings, Calculator,
                      PrintFileOptions, HelpContents, HelpIndex, HelpUsing, About})
        actions_[c]->setEnabled(false);
    updateTitle();
}

void CMainFrame::updateTitle() {
    setWindowTitle(QString::fromStdString(CodePage::toUtf8(doc_.GetTitle())) +
                   (doc_.IsModified() ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - Q-V Variable Entry"));
}

void CMainFrame::onFillInLater() {
    UpdatePass();
    bar_->setFieldText(doc_.ToggleFillInLater(doc_.state().currentOcc));
    UpdatePass();
}

bool CMainFrame::SaveModified() {
    UpdatePass();
    if (!doc_.IsModified())
        return true;
    const std::string name = doc_.HasWorksheetName() ? doc_.GetTitle() : std::string("this worksheet");
    switch (messages_.show("Save changes to " + CodePage::toUtf8(name) + "?", MessageIcon::Exclamation,
                           MessageButtons::YesNoCancel)) {
    case MessageReply::Yes:
        if (!doc_.SaveWorksheet())
            return false;
        doc_.SetModifiedFlag(false);
        return true;
    case MessageReply::No:
        return true;
    default:
        return false;
    }
}

int CMainFrame::runModal(QDialog& dialog) {
    if (modalHook_) {
        modalHook_(dialog);
        return dialog.result();
    }
    return dialog.exec();
}

void CMainFrame::onVariableSets() {
    UpdatePass();
    VariableSetsDialog dialog(doc_.state().variableSets, profile_, messages_, this);
    runModal(dialog);
    const int set = dialog.setResult();
    if (set >= 0 && set < qv::VariableSets::kSets) {
        doc_.ApplyVariableSet(set, true);
        doc_.state().valueDirty = true;
        doc_.SetModifiedFlag(true);
    }
    UpdatePass();
}

void CMainFrame::syncPrinterOrientation() {
    printer_->setPageOrientation(doc_.state().page.orientation == 2 ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait);
}

void CMainFrame::onPrint() {
    UpdatePass();
    syncPrinterOrientation();
    QPrintDialog dialog(printer_.get(), this);
    if (runModal(dialog) == QDialog::Accepted) {
        NumericFields numeric(doc_, platform::UserLocale::current());
        FormPrinter::Print(*printer_, doc_, numeric);
    }
    view_->OnUpdate();
}

void CMainFrame::onPrintPreview() {
    UpdatePass();
    syncPrinterOrientation();
    QPrintPreviewDialog dialog(printer_.get(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        NumericFields numeric(doc_, platform::UserLocale::current());
        FormPrinter::Print(*printer, doc_, numeric);
    });
    runModal(dialog);
    view_->OnUpdate();
}

void CMainFrame::onPageSetup() {
    UpdatePass();
    syncPrinterOrientation();
    PagePropertiesDialog dialog(*printer_, doc_.state().page.margins, doc_.state().page.orientation, this);
    connect(&dialog, &PagePropertiesDialog::printerRequested, this, [this, &dialog] {
        QPrintDialog printerDialog(printer_.get(), &dialog);
        runModal(printerDialog);
    });
    if (runModal(dialog) != QDialog::Accepted)
        return;
    dialog.applyToPrinter();
    doc_.state().page.orientation = dialog.orientation();
    const auto m = dialog.margins();
    view_->page().SetMargins(m[0], m[1], m[2], m[3]);
    view_->OnUpdate();
}

void CMainFrame::onOpen() {
    if (!SaveModified())
        return;
    const QString path =
        chooseFile_ ? chooseFile_(false)
                    : QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QString(), kFormFilter);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CMainFrame::OpenDocumentFile(const QString& argument) {
    const bool ok = DocumentOpener::OpenDocumentFile(doc_, argument.toStdString());
    if (ok)
        doc_.SetModifiedFlag(false);
    UpdatePass();
    return ok;
}

void CMainFrame::updateAllViews() {
    view_->OnUpdate();
}
void CMainFrame::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
void CMainFrame::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void CMainFrame::addToRecentFileList(const std::string& path) {
    QStringList files;
    for (int i = 1; i <= kRecentFiles; ++i) {
        const std::string f = profile_.GetProfileString("Recent File List", "File" + std::to_string(i));
        if (!f.empty() && f != path)
            files << QString::fromStdString(f);
    }
    files.prepend(QString::fromStdString(path));
    for (int i = 0; i < kRecentFiles; ++i)
        profile_.WriteProfileString("Recent File List", "File" + std::to_string(i + 1),
                                    i < files.size() ? files[i].toStdString() : std::string());
    updateRecentFiles();
}

void CMainFrame::updateRecentFiles() {
    for (int i = 0; i < kRecentFiles; ++i) {
        const QString f = QString::fromStdString(
            profile_.GetProfileString("Recent File List", "File" + std::to_string(i + 1)));
        QAction* a = recentActions_[i];
        a->setVisible(!f.isEmpty());
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(f).fileName()));
        a->setData(f);
    }
}

std::optional<std::string> CMainFrame::askWorksheetSavePath() {
    QString path = chooseFile_ ? chooseFile_(true)
                               : QFileDialog::getSaveFileName(this, QStringLiteral("Save Worksheet As"),
                                                              QString(), kWorksheetFilter);
    if (path.isEmpty())
        return std::nullopt;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".qvw");
    return path.toStdString();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    timer1_.stop();
    event->accept();
}

} // namespace qv
