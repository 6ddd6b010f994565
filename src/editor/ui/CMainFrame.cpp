#include "editor/ui/CMainFrame.h"

#include "editor/ui/CRichEditView.h"
#include "editor/ui/FormatBar.h"
#include "editor/ui/KeptObjectPainter.h"
#include "formengine/UserMessages.h"
#include "platform/MailService.h"
#include "platform/Profile.h"
#include "platform/ProgramStart.h"
#include "platform/ui/ContextHelp.h"
#include "platform/ui/HelpLauncher.h"
#include "shared/ui/PagePropertiesDialog.h"
#include "shared/ui/PaintedIcons.h"
#include "shared/ui/RecentFileList.h"
#include "shared/ui/PdfExport.h"
#include "shared/ui/SaveAsDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QStatusBar>
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <QToolBar>
#include <tuple>
#include <optional>

namespace qv::editor {
namespace {

const QString kFilter = QStringLiteral("Q-V Print Files (*.qvp *.QVP)");

} // namespace

CMainFrame::CMainFrame(platform::Profile& profile, UserMessages& messages, QWidget* parent)
    : QMainWindow(parent), profile_(profile), messages_(messages), doc_(orientation_),
      programFolder_(QString::fromStdString(platform::ProgramStart::ProgramFolder().string())) {
    setObjectName(QStringLiteral("editorFrame"));
    help_ = std::make_unique<platform::HelpLauncher>(
        this, QString(), [this](const std::string& text) { messages_.show(text, MessageIcon::Exclamation); });
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    printer_ = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                             : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setPageSize(QPageSize(QPageSize::Letter));
    }
    view_ = new CRichEditView(messages_, this);
    view_->setDocument(&doc_.text());
    KeptObjectPainter::Install(doc_.text());
    setCentralWidget(view_);
    createActions();
    createMenus();
    createToolBar();
    formatBar_ = new FormatBar(messages_, this);
    addToolBar(Qt::TopToolBarArea, formatBar_);
    formatBar_->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    connect(formatBar_, &FormatBar::faceChosen, this, [this](const QString& face) {
        QTextCharFormat f;
        f.setFontFamilies({face});
        view_->mergeCurrentCharFormat(f);
    });
    connect(formatBar_, &FormatBar::sizeChosen, this, [this](int points) {
        QTextCharFormat f;
        f.setFontPointSize(points); // n x 20 twips
        view_->mergeCurrentCharFormat(f);
    });
    const char* panes[3][2] = {{"CAP", "Caps Lock"}, {"NUM", "Num Lock"}, {"SCRL", "Scroll Lock"}};
    for (int i = 0; i < 3; ++i) {
        locksPanes_[i] = new QLabel(this);
        locksPanes_[i]->setAccessibleName(QString::fromLatin1(panes[i][1]));
        locksPanes_[i]->setProperty("lockText", QString::fromLatin1(panes[i][0]));
        locksPanes_[i]->setMinimumWidth(
            locksPanes_[i]->fontMetrics().horizontalAdvance(QStringLiteral("SCRL ")));
        statusBar()->addPermanentWidget(locksPanes_[i]);
    }
    connect(view_, &QTextEdit::selectionChanged, this, &CMainFrame::UpdatePass);
    connect(view_, &QTextEdit::cursorPositionChanged, this, &CMainFrame::UpdatePass);
    connect(&doc_.text(), &QTextDocument::undoAvailable, this, &CMainFrame::UpdatePass);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdatePass);
    connect(&doc_.text(), &QTextDocument::modificationChanged, this, &CMainFrame::updateTitle);
    connect(view_, &CRichEditView::contextMenuWanted, this, [this](QMenu& menu) {
        menu.addAction(QStringLiteral("Cut"), view_, &QTextEdit::cut)->setEnabled(action(Cut)->isEnabled());
        menu.addAction(QStringLiteral("Copy"), view_, &QTextEdit::copy)
            ->setEnabled(action(Copy)->isEnabled());
        menu.addAction(QStringLiteral("Paste"), view_, &QTextEdit::paste)
            ->setEnabled(action(Paste)->isEnabled());
        menu.addSeparator();
        menu.addAction(QStringLiteral("Font..."), this, &CMainFrame::onFont);
        menu.addSeparator();
        menu.addAction(QStringLiteral("New Object..."), this, &CMainFrame::onInsertObject);
        menu.addSeparator();
        menu.addAction(QStringLiteral("Edit This Object"), this, &CMainFrame::onObjectProperties)
            ->setEnabled(action(ObjectProperties)->isEnabled());
        menu.addAction(QStringLiteral("Object Properties"), this, &CMainFrame::onObjectProperties)
            ->setEnabled(action(ObjectProperties)->isEnabled());
    });
    resize(860, 680);
    NewDocument();
    recentFiles_->Show();
    // F6 and Shift+F6 move between the panes that take the keyboard: the text and the
    // format bar.
    const auto movePane = [this](int step) {
        QWidget* focus = QApplication::focusWidget();
        const QList<QWidget*> panes = formatBar_->isVisible() ? QList<QWidget*>{view_, formatBar_}
                                                              : QList<QWidget*>{view_};
        int at = 0;
        for (int i = 0; i < panes.size(); ++i)
            if (focus && (panes[i] == focus || panes[i]->isAncestorOf(focus)))
                at = i;
        QWidget* next = panes[(at + step + panes.size()) % panes.size()];
        if (next == formatBar_)
            next = formatBar_->fontBox();
        next->setFocus(Qt::ShortcutFocusReason);
    };
    for (auto [id, keys, step] : {std::tuple{57680, QKeySequence(Qt::Key_F6), 1},
                                  std::tuple{57681, QKeySequence(Qt::SHIFT | Qt::Key_F6), -1}}) {
        auto* pane = new QAction(this);
        pane->setObjectName(QStringLiteral("cmd%1").arg(id));
        pane->setShortcut(keys);
        connect(pane, &QAction::triggered, this, [movePane, step = step] { movePane(step); });
        addAction(pane);
    }
    platform::ContextHelp::Install(this);
}

CMainFrame::~CMainFrame() {
    // The view shows the document member: it goes first.
    delete view_;
    view_ = nullptr;
}

QAction* CMainFrame::action(Command id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::makeAction(Command id, const QString& text, const QString& prompt, const QString& tip) {
    auto* a = new QAction(text, this);
    a->setObjectName(QStringLiteral("cmd%1").arg(int(id)));
    if (!prompt.isEmpty())
        a->setStatusTip(prompt);
    if (!tip.isEmpty()) {
        a->setToolTip(tip);
        a->setIconText(tip);
    }
    actions_[id] = a;
    addAction(a);
    return a;
}

void CMainFrame::createActions() {
    const auto key = [](QAction* a, std::initializer_list<const char*> keys) {
        QList<QKeySequence> list;
        for (const char* k : keys)
            list << QKeySequence(QString::fromLatin1(k));
        a->setShortcuts(list);
    };
    key(makeAction(NewForm, QStringLiteral("&New Form...\tCtrl+N"), QStringLiteral("Create a new document"),
                   QStringLiteral("New")),
        {"Ctrl+N"});
    key(makeAction(Open, QStringLiteral("&Open...\tCtrl+O"), QStringLiteral("Open an existing document"),
                   QStringLiteral("Open")),
        {"Ctrl+O"});
    key(makeAction(Save, QStringLiteral("&Save\tCtrl+S"), QStringLiteral("Save the active document"),
                   QStringLiteral("Save")),
        {"Ctrl+S"});
    makeAction(SaveAs, QStringLiteral("Save &As..."),
               QStringLiteral("Save the active document with a new name"));
    makeAction(PageSetup, QStringLiteral("Pag&e Setup..."), QStringLiteral("Change the printing options"));
    makeAction(PrintSetup, QStringLiteral("P&rint Setup..."),
               QStringLiteral("Change the printer and printing options"));
    makeAction(PrintPreview, QStringLiteral("Print Pre&view"), QStringLiteral("Display full pages"),
               QStringLiteral("Print Preview"));
    key(makeAction(Print, QStringLiteral("&Print...\tCtrl+P"), QStringLiteral("Print the active document"),
                   QStringLiteral("Print")),
        {"Ctrl+P"});
    key(makeAction(ExportPdf, QStringLiteral("E&xport as PDF...\tCtrl+Shift+E"),
                   QStringLiteral("Saves the document as a PDF file, with the pages as they print"),
                   QStringLiteral("Export as PDF")),
        {"Ctrl+Shift+E"});
    makeAction(SendMail, QStringLiteral("Send &Mail..."),
               QStringLiteral("Send the active document through electronic mail"));
    makeAction(Close, QStringLiteral("&Close\tAlt-F4"),
               QStringLiteral("Quit the application; prompts to save documents"));
    key(makeAction(Undo, QStringLiteral("&Undo\tCtrl+Z"), QStringLiteral("Undo the last action"),
                   QStringLiteral("Undo")),
        {"Ctrl+Z", "Alt+Backspace"});
    key(makeAction(Cut, QStringLiteral("Cu&t\tCtrl+X"),
                   QStringLiteral("Cut the selection and put it on the Clipboard"), QStringLiteral("Cut")),
        {"Ctrl+X", "Shift+Del"});
    key(makeAction(Copy, QStringLiteral("&Copy\tCtrl+C"),
                   QStringLiteral("Copy the selection and put it on the Clipboard"), QStringLiteral("Copy")),
        {"Ctrl+C", "Ctrl+Ins"});
    key(makeAction(Paste, QStringLiteral("&Paste\tCtrl+V"), QStringLiteral("Insert Clipboard contents"),
                   QStringLiteral("Paste")),
        {"Ctrl+V", "Shift+Ins"});
    makeAction(Delete, QStringLiteral("&Delete\tDel"), QStringLiteral("Erase the selection"),
               QStringLiteral("Delete"));
    makeAction(InsertObject, QStringLiteral("Insert &New Object..."),
               QStringLiteral("Insert a picture into the document"));
    makeAction(ObjectProperties, QStringLiteral("Object Properties"),
               QStringLiteral("Change the size of the selected picture"));
    makeAction(Bold, QStringLiteral("&Bold"), QStringLiteral("Makes the selection boldfaced"),
               QStringLiteral("Bold"));
    makeAction(Italic, QStringLiteral("&Italic"), QStringLiteral("Makes the selection italic"),
               QStringLiteral("Italic"));
    makeAction(Underline, QStringLiteral("&Underline"), QStringLiteral("Underlines this current selection"),
               QStringLiteral("Underline"));
    makeAction(AlignLeft, QStringLiteral("&Left"), QStringLiteral("Aligns this paragraph to the left margin"),
               QStringLiteral("Align Left"));
    makeAction(AlignCenter, QStringLiteral("&Center"), QStringLiteral("Centers this paragraph"),
               QStringLiteral("Center"));
    makeAction(AlignRight, QStringLiteral("&Right"),
               QStringLiteral("Aligns this paragraph to the right margin"), QStringLiteral("Align Right"));
    makeAction(Font, QStringLiteral("&Font..."), QStringLiteral("Change the font for the current selection"),
               QStringLiteral("Change Font"));
    makeAction(ViewToolbar, QStringLiteral("&Toolbar"), QStringLiteral("Show or hide the toolbar"))
        ->setCheckable(true);
    makeAction(ViewStatusBar, QStringLiteral("&Status Bar"), QStringLiteral("Show or hide the status bar"))
        ->setCheckable(true);
    key(makeAction(HelpContents, QStringLiteral("&Contents\tF1"),
                   QStringLiteral("Shows the help's table of contents"), QStringLiteral("Help Contents")),
        {"F1"});
    makeAction(HelpIndex, QStringLiteral("&Index"), QStringLiteral("List Help topics"));
    makeAction(HelpUsing, QStringLiteral("&How to use help"),
               QStringLiteral("Display instructions about how to use help"));
    makeAction(About, QStringLiteral("&About Q-V Davov Software..."),
               QStringLiteral("Display program information, version number and copyright"));
    for (Command c : {Bold, Italic, Underline, AlignLeft, AlignCenter, AlignRight})
        action(c)->setCheckable(true);
    // The keys every editor user tries first; none of them is taken by another command.
    const std::pair<Command, const char*> formatKeys[] = {{Bold, "Ctrl+B"},      {Italic, "Ctrl+I"},
                                                          {Underline, "Ctrl+U"}, {AlignLeft, "Ctrl+L"},
                                                          {AlignCenter, "Ctrl+E"}, {AlignRight, "Ctrl+R"}};
    for (const auto& [c, k] : formatKeys)
        key(action(c), {k});
    const std::pair<Command, PaintedIcons::Picture> icons[] = {{Open, PaintedIcons::Open},
                                                               {Save, PaintedIcons::Save},
                                                               {Print, PaintedIcons::Print},
                                                               {PrintPreview, PaintedIcons::PrintPreview},
                                                               {Cut, PaintedIcons::Cut},
                                                               {Copy, PaintedIcons::Copy},
                                                               {Paste, PaintedIcons::Paste},
                                                               {Delete, PaintedIcons::Delete},
                                                               {Undo, PaintedIcons::Undo},
                                                               {Bold, PaintedIcons::Bold},
                                                               {Italic, PaintedIcons::Italic},
                                                               {Underline, PaintedIcons::Underline},
                                                               {AlignLeft, PaintedIcons::AlignLeft},
                                                               {AlignCenter, PaintedIcons::AlignCenter},
                                                               {AlignRight, PaintedIcons::AlignRight},
                                                               {HelpContents, PaintedIcons::Help}};
    for (const auto& [c, picture] : icons)
        action(c)->setIcon(PaintedIcons::icon(picture));

    connect(action(NewForm), &QAction::triggered, this, &CMainFrame::onNewForm);
    connect(action(Open), &QAction::triggered, this, [this] {
        if (!SaveModified())
            return;
        const QString path = chooseFile_ ? chooseFile_(false)
                                         : QFileDialog::getOpenFileName(this, QString(), QString(), kFilter);
        if (!path.isEmpty())
            OpenDocumentFile(path);
    });
    connect(action(Save), &QAction::triggered, this, [this] {
        if (path_.isEmpty())
            action(SaveAs)->trigger();
        else
            SaveTo(path_);
    });
    connect(action(SaveAs), &QAction::triggered, this, &CMainFrame::onSaveAs);
    connect(action(PageSetup), &QAction::triggered, this, &CMainFrame::onPageSetup);
    connect(action(PrintSetup), &QAction::triggered, this, &CMainFrame::onPrintSetup);
    connect(action(Print), &QAction::triggered, this, [this] { onPrint(false); });
    connect(action(PrintPreview), &QAction::triggered, this, [this] { onPrint(true); });
    connect(action(ExportPdf), &QAction::triggered, this, &CMainFrame::onExportPdf);
    connect(action(SendMail), &QAction::triggered, this, [this] {
        const QString name = path_.isEmpty() ? QStringLiteral("Untitled.QVP") : QFileInfo(path_).fileName();
        const QByteArray bytes = doc_.SavedBytes();
        if (!platform::MailService::SendDocument(name.toStdString(),
                                                 std::string_view(bytes.constData(), bytes.size())))
            messages_.show("The mail program could not be started.", MessageIcon::Exclamation);
    });
    connect(action(Close), &QAction::triggered, this, &QWidget::close);
    connect(action(Undo), &QAction::triggered, view_, &QTextEdit::undo);
    connect(action(Cut), &QAction::triggered, view_, &QTextEdit::cut);
    connect(action(Copy), &QAction::triggered, view_, &QTextEdit::copy);
    connect(action(Paste), &QAction::triggered, view_, &QTextEdit::paste);
    connect(action(Delete), &QAction::triggered, this, [this] { view_->textCursor().removeSelectedText(); });
    connect(action(InsertObject), &QAction::triggered, this, &CMainFrame::onInsertObject);
    connect(action(ObjectProperties), &QAction::triggered, this, &CMainFrame::onObjectProperties);
    for (Command c : {Bold, Italic, Underline})
        connect(action(c), &QAction::triggered, this, [this, c] { toggle(c); });
    connect(action(AlignLeft), &QAction::triggered, this, [this] { align(Qt::AlignLeft); });
    connect(action(AlignCenter), &QAction::triggered, this, [this] { align(Qt::AlignHCenter); });
    connect(action(AlignRight), &QAction::triggered, this, [this] { align(Qt::AlignRight); });
    connect(action(Font), &QAction::triggered, this, &CMainFrame::onFont);
    for (Command c : {HelpContents, HelpIndex, HelpUsing})
        connect(action(c), &QAction::triggered, this, [this, c] { onHelp(c); });
    connect(action(About), &QAction::triggered, this, [this] {
        QMessageBox box(
            QMessageBox::NoIcon, QStringLiteral("About Q-V Davov Software..."),
            QStringLiteral("<b>Q-V Print File Editor</b><p>Copyright \u00A9 Q-V Davov Software</p>"),
            QMessageBox::Ok, this);
        runModal(box);
    });
    // Without a mail program there is nothing to send the document with.
    action(SendMail)->setEnabled(platform::MailService::Available());
    connect(action(ViewStatusBar), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    action(ViewStatusBar)->setChecked(true);
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    for (Command c : {NewForm, Open, Save, SaveAs})
        file->addAction(action(c));
    file->addSeparator();
    for (Command c : {PageSetup, PrintSetup, PrintPreview, Print, ExportPdf, SendMail})
        file->addAction(action(c));
    file->addSeparator();
    for (int i = 0; i < 4; ++i) {
        QAction* a = file->addAction(QString());
        a->setObjectName(QStringLiteral("cmd%1").arg(57616 + i));
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] {
            // A remembered file that no longer opens leaves the list.
            const QString path = a->data().toString();
            if (SaveModified() && !OpenDocumentFile(path))
                recentFiles_->Remove(path);
        });
        recent_ << a;
    }
    recentFiles_ = std::make_unique<RecentFileList>(profile_, recent_);
    file->addSeparator();
    file->addAction(action(Close));
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(action(Undo));
    edit->addSeparator();
    for (Command c : {Cut, Copy, Paste, Delete})
        edit->addAction(action(c));
    edit->addSeparator();
    edit->addAction(action(InsertObject));
    edit->addAction(action(ObjectProperties));
    QMenu* format = menuBar()->addMenu(QStringLiteral("Forma&t"));
    for (Command c : {Bold, Italic, Underline})
        format->addAction(action(c));
    format->addSeparator();
    for (Command c : {AlignLeft, AlignCenter, AlignRight})
        format->addAction(action(c));
    format->addSeparator();
    format->addAction(action(Font));
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(action(ViewToolbar));
    view->addAction(action(ViewStatusBar));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    for (Command c : {HelpContents, HelpIndex, HelpUsing})
        help->addAction(action(c));
    help->addSeparator();
    help->addAction(action(About));
}

void CMainFrame::createToolBar() {
    QToolBar* tb = addToolBar(QStringLiteral("Toolbar"));
    tb->setObjectName(QStringLiteral("toolbar128"));
    const int positions[] = {
        Open, Save, 0,    Print,  PrintPreview, 0, Cut,       Copy,        Paste,      Delete, 0,
        Undo, 0,    Bold, Italic, Underline,    0, AlignLeft, AlignCenter, AlignRight, 0,      HelpContents};
    for (int id : positions) {
        if (id == 0)
            tb->addSeparator();
        else
            tb->addAction(action(static_cast<Command>(id)));
    }
    connect(action(ViewToolbar), &QAction::toggled, tb, &QToolBar::setVisible);
    action(ViewToolbar)->setChecked(true);
}

CMainFrame::Mark CMainFrame::markOf(Command command) const {
    const QTextCursor cursor = view_->textCursor();
    if (command == AlignLeft || command == AlignCenter || command == AlignRight) {
        const Qt::Alignment wanted = command == AlignLeft     ? Qt::AlignLeft
                                     : command == AlignCenter ? Qt::AlignHCenter
                                                              : Qt::AlignRight;
        const QTextBlock first = doc_.text().findBlock(cursor.selectionStart());
        const QTextBlock last = doc_.text().findBlock(cursor.selectionEnd());
        Qt::Alignment shared = first.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        for (QTextBlock b = first; b.isValid(); b = b.next()) {
            if ((b.blockFormat().alignment() & Qt::AlignHorizontal_Mask) != shared)
                return Mark::Indeterminate;
            if (b == last)
                break;
        }
        if (shared == Qt::AlignLeading || shared == 0)
            shared = Qt::AlignLeft;
        return shared == wanted ? Mark::Marked : Mark::Unmarked;
    }
    const auto has = [command](const QTextCharFormat& f) {
        return command == Bold     ? f.fontWeight() >= QFont::DemiBold
               : command == Italic ? f.fontItalic()
                                   : f.fontUnderline();
    };
    if (!cursor.hasSelection())
        return has(cursor.charFormat()) ? Mark::Marked : Mark::Unmarked;
    // Every fragment the selection touches: uniform or mixed.
    std::optional<bool> state;
    bool mixed = false;
    forEachSelectedFormat(cursor, [&](const QTextCharFormat& f) {
        const bool on = has(f);
        mixed = mixed || (state && *state != on);
        state = on;
    });
    if (mixed)
        return Mark::Indeterminate;
    return state.value_or(false) ? Mark::Marked : Mark::Unmarked;
}

void CMainFrame::forEachSelectedFormat(const QTextCursor& cursor,
                                       const std::function<void(const QTextCharFormat&)>& visit) const {
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    for (QTextBlock b = doc_.text().findBlock(start); b.isValid() && b.position() < end; b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() > start && f.position() < end)
                visit(f.charFormat());
        }
}

void CMainFrame::toggle(Command command) {
    // Uniform: inverted; mixed: switched on. Only that effect changes.
    const Mark m = markOf(command);
    const bool on = m != Mark::Marked;
    QTextCharFormat f;
    if (command == Bold)
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (command == Italic)
        f.setFontItalic(on);
    else
        f.setFontUnderline(on);
    view_->mergeCurrentCharFormat(f);
    UpdatePass();
}

void CMainFrame::align(Qt::Alignment a) {
    view_->setAlignment(a);
    UpdatePass();
}

void CMainFrame::UpdatePass() {
    const QTextCursor cursor = view_->textCursor();
    const bool selection = cursor.hasSelection();
    for (Command c : {Cut, Copy, Delete})
        action(c)->setEnabled(selection);
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    action(Paste)->setEnabled(clip && (clip->hasText() || clip->hasHtml() || clip->hasImage()));
    action(Undo)->setEnabled(doc_.text().isUndoAvailable());
    action(ObjectProperties)->setEnabled(cursor.charFormat().isImageFormat());
    for (Command c : {Bold, Italic, Underline, AlignLeft, AlignCenter, AlignRight}) {
        const Mark m = markOf(c);
        action(c)->setChecked(m == Mark::Marked);
        action(c)->setProperty("indeterminate", m == Mark::Indeterminate);
        showMark(c, m);
    }
    // The format bar shows the selection's face and size when they are uniform.
    QString face, size;
    const QTextCharFormat f = cursor.charFormat();
    bool uniformFace = true, uniformSize = true;
    if (selection)
        forEachSelectedFormat(cursor, [&](const QTextCharFormat& c) {
            uniformFace = uniformFace && c.fontFamilies() == f.fontFamilies();
            uniformSize = uniformSize && c.fontPointSize() == f.fontPointSize();
        });
    if (uniformFace)
        face = f.fontFamilies().toStringList().value(0, doc_.text().defaultFont().family());
    if (uniformSize) {
        const qreal points =
            f.fontPointSize() > 0 ? f.fontPointSize() : doc_.text().defaultFont().pointSizeF();
        size = QString::number(static_cast<int>(points * 20) / 20);
    }
    formatBar_->refresh(face, size);
    for (int i = 0; i < 3; ++i) {
        const auto on = locks_.isOn(static_cast<platform::KeyboardLocks::Key>(i));
        locksPanes_[i]->setText(on.value_or(false) ? locksPanes_[i]->property("lockText").toString()
                                                   : QString());
    }
}

void CMainFrame::showMark(Command command, Mark mark) {
    QAction* a = action(command);
    if (!a->property("plainIcon").isValid())
        a->setProperty("plainIcon", QVariant::fromValue(a->icon()));
    const QIcon plain = a->property("plainIcon").value<QIcon>();
    const bool mixed = mark == Mark::Indeterminate;
    if (mixed != a->property("mixedShown").toBool()) {
        a->setProperty("mixedShown", mixed);
        if (mixed) {
            // A mixed selection: the picture on a dithered ground, as a tri-state button shows it.
            const QSize size(16, 16);
            QPixmap pixmap(size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.fillRect(pixmap.rect(), QBrush(QColor(128, 128, 128), Qt::Dense4Pattern));
            painter.drawPixmap(0, 0, plain.pixmap(size));
            painter.end();
            a->setIcon(QIcon(pixmap));
        } else {
            a->setIcon(plain);
        }
    }
    const auto* bar = findChild<QToolBar*>(QStringLiteral("toolbar128"));
    if (QWidget* button = bar ? bar->widgetForAction(a) : nullptr)
        button->setAccessibleDescription(mixed ? QStringLiteral("mixed") : QString());
}

void CMainFrame::layoutUpdate() {
    const QPageSize ps = printer_->pageLayout().pageSize();
    const QSizeF inches = ps.size(QPageSize::Inch);
    view_->setLineWidth(
        doc_.LayoutUpdate(static_cast<int>(inches.width() * 1440), static_cast<int>(inches.height() * 1440)));
}

void CMainFrame::updateTitle() {
    const QString name = path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
    setWindowTitle(name + (doc_.text().isModified() ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - ") + QString::fromLatin1(kTitle));
}

void CMainFrame::NewDocument() {
    doc_.OnNewDocument();
    path_.clear();
    QTextCharFormat courier;
    courier.setFontFamilies({QStringLiteral("Courier")});
    view_->setCurrentCharFormat(courier);
    printer_->setPageOrientation(QPageLayout::Portrait);
    layoutUpdate();
    updateTitle();
    UpdatePass();
}

bool CMainFrame::OpenDocumentFile(const QString& path) {
    QString error;
    if (!doc_.OnOpenDocument(path, error)) {
        messages_.show(error.toStdString(), MessageIcon::Exclamation);
        return false;
    }
    path_ = path;
    readFrom_ = path;
    view_->moveCursor(QTextCursor::Start);
    printer_->setPageOrientation(orientation_ == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    layoutUpdate();
    recentFiles_->Add(path);
    updateTitle();
    UpdatePass();
    if (!doc_.readProblem().isEmpty())
        messages_.show(readProblemText() + ". Only what could be read is shown.", MessageIcon::Exclamation);
    return true;
}

bool CMainFrame::onSaveAs() {
    QString path;
    if (chooseFile_) {
        path = chooseFile_(true);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".qvp");
    } else {
        SaveAsDialog dialog(this, QString(), QStringLiteral("Q-V Print Files"), QStringLiteral("qvp"));
        runModal(dialog);
        path = dialog.chosenPath();
    }
    return !path.isEmpty() && SaveTo(path);
}

std::string CMainFrame::readProblemText() const {
    QString problem = doc_.readProblem().trimmed();
    while (problem.endsWith(QLatin1Char('.')))
        problem.chop(1);
    return (QFileInfo(readFrom_).fileName() + QStringLiteral(" could not be read completely: ") + problem)
        .toStdString();
}

bool CMainFrame::replacesDamagedOriginal(const QString& path) const {
    if (doc_.readProblem().isEmpty() || readFrom_.isEmpty())
        return false;
    const QFileInfo target(path), original(readFrom_);
    if (target.exists() && original.exists())
        return target.canonicalFilePath() == original.canonicalFilePath();
    return target.absoluteFilePath() == original.absoluteFilePath();
}

bool CMainFrame::SaveTo(const QString& path) {
    // What could not be read is still in the original: writing over it loses that for good.
    if (replacesDamagedOriginal(path)) {
        switch (messages_.show(readProblemText() +
                                   ". Saving it would replace the original with only what could be read. "
                                   "Save it under another name instead?",
                               MessageIcon::Exclamation, MessageButtons::YesNoCancel, kTitle)) {
        case MessageReply::Yes:
            return onSaveAs();
        case MessageReply::No:
            break;
        default:
            return false;
        }
    }
    QString error;
    if (!doc_.OnSaveDocument(path, error)) {
        messages_.show(error.toStdString(), MessageIcon::Exclamation);
        return false;
    }
    if (replacesDamagedOriginal(path))
        doc_.clearReadProblem(); // the user chose to replace it: nothing left to protect
    path_ = path;
    recentFiles_->Add(path);
    updateTitle();
    return true;
}

bool CMainFrame::SaveModified() {
    if (!doc_.text().isModified())
        return true;
    const QString name = path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
    switch (messages_.show("Save changes to " + name.toStdString() + "?", MessageIcon::Exclamation,
                           MessageButtons::YesNoCancel, kTitle)) {
    case MessageReply::Yes:
        action(Save)->trigger();
        return !doc_.text().isModified();
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

void CMainFrame::onPageSetup() {
    const auto& m = doc_.margins();
    PagePropertiesDialog dialog(*printer_, {0, 0, 0, 0}, orientation_, this);
    dialog.setMessages(&messages_);
    connect(&dialog, &PagePropertiesDialog::printerRequested, this,
            [this, &dialog](QPrinter* settings) { choosePrinter(*settings, &dialog); });
    dialog.setThousandths({CRichEditDoc::ToThousandths(m[0]), CRichEditDoc::ToThousandths(m[1]),
                           CRichEditDoc::ToThousandths(m[2]), CRichEditDoc::ToThousandths(m[3])});
    if (runModal(dialog) != QDialog::Accepted)
        return;
    dialog.applyToPrinter();
    const auto t = dialog.thousandths();
    doc_.setMargins({CRichEditDoc::FromThousandths(t[0]), CRichEditDoc::FromThousandths(t[1]),
                     CRichEditDoc::FromThousandths(t[2]), CRichEditDoc::FromThousandths(t[3])});
    orientation_ = dialog.orientation();
    layoutUpdate();
}

bool CMainFrame::choosePrinter(QPrinter& settings, QWidget* parent) {
    QPrintDialog dialog(&settings, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // Choosing the printer, not what to print.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    return runModal(dialog) == QDialog::Accepted;
}

void CMainFrame::onPrintSetup() {
    if (!choosePrinter(*printer_, this))
        return;
    orientation_ = printer_->pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    layoutUpdate();
}

void CMainFrame::preparePrinter() {
    const auto& m = doc_.margins();
    printer_->setPageOrientation(orientation_ == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_->setPageMargins(QMarginsF(m[0] / 1440.0, m[1] / 1440.0, m[2] / 1440.0, m[3] / 1440.0),
                             QPageLayout::Inch);
}

void CMainFrame::onExportPdf() {
    preparePrinter();
    PdfExport exporter(this, messages_, [this](QDialog& d) { return runModal(d); });
    exporter.Run(*printer_, path_, [this](QPrinter& pdf, const PdfExport::Progress& progress) {
        return PrintDocument(doc_.text(), pdf, progress);
    });
}

void CMainFrame::onPrint(bool preview) {
    preparePrinter();
    const auto printDocument = [this](QPrinter* printer) { PrintDocument(doc_.text(), *printer); };
    if (preview) {
        QPrintPreviewDialog dialog(printer_.get(), this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, printDocument);
        // One page or two, as the user left the preview last time.
        auto* pages = dialog.findChild<QPrintPreviewWidget*>();
        if (pages && profile_.GetProfileInt("Settings", "PreviewPages", 1) == 2)
            pages->setViewMode(QPrintPreviewWidget::FacingPagesView);
        runModal(dialog);
        if (pages)
            profile_.WriteProfileInt("Settings", "PreviewPages",
                                     pages->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1);
        return;
    }
    QPrintDialog dialog(printer_.get(), this);
    if (runModal(dialog) == QDialog::Accepted)
        printDocument(printer_.get());
}

bool CMainFrame::PrintDocument(const QTextDocument& text, QPrinter& printer,
                               const std::function<bool(int, int)>& progress) {
    // Laid out on the printer itself, so that a point is a point at any resolution: the
    // page is the printer's page inside the margins, in its own pixels, and nothing is
    // scaled on the way to the paper.
    std::unique_ptr<QTextDocument> copy(text.clone());
    copy->setDocumentMargin(0);
    copy->documentLayout()->setPaintDevice(&printer);
    // What the editor keeps but cannot show takes the same room on paper as on screen.
    KeptObjectPainter::Install(*copy);
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    // Half a point to spare, so that a line filling the page exactly stays whole.
    copy->setPageSize(QSizeF(page.width() + printer.logicalDpiX() / 144.0, page.height()));
    const int count = copy->pageCount();
    int from = printer.fromPage(), to = printer.toPage();
    if (from == 0 && to == 0) {
        from = 1;
        to = count;
    }
    from = std::max(from, 1);
    to = std::min(to, count);
    QPainter painter(&printer);
    if (!painter.isActive() || to < from)
        return true;
    for (int p = from; p <= to; ++p) {
        if (progress && !progress(p - from + 1, to - from + 1))
            return false;
        if (p > from)
            printer.newPage();
        const QRectF view(0, (p - 1) * page.height(), copy->pageSize().width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        copy->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return true;
}

void CMainFrame::onFont() {
    bool ok = false;
    const QFont current = view_->currentCharFormat().font();
    QFont chosen;
    if (modalHook_) {
        QFontDialog dialog(current, this);
        runModal(dialog);
        ok = dialog.result() == QDialog::Accepted;
        chosen = dialog.selectedFont();
    } else {
        chosen = QFontDialog::getFont(&ok, current, this);
    }
    if (!ok)
        return;
    QTextCharFormat f;
    f.setFont(chosen);
    view_->mergeCurrentCharFormat(f);
}

void CMainFrame::onInsertObject() {
    const QString path =
        chooseFile_ ? chooseFile_(false)
                    : QFileDialog::getOpenFileName(this, QStringLiteral("Insert New Object"), QString(),
                                                   QStringLiteral("Pictures (*.png *.jpg *.jpeg)"));
    if (path.isEmpty())
        return;
    const QImage image(path);
    if (image.isNull()) {
        messages_.show("The picture " + path.toStdString() + " could not be read.", MessageIcon::Exclamation);
        return;
    }
    static int inserted = 0;
    const QString name = QStringLiteral("inserted%1").arg(++inserted);
    doc_.text().addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(image.width());
    f.setHeight(image.height());
    view_->textCursor().insertImage(f);
}

void CMainFrame::onObjectProperties() {
    QTextCursor cursor = view_->textCursor();
    if (!cursor.charFormat().isImageFormat())
        return;
    if (!cursor.hasSelection())
        cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    QTextImageFormat f = cursor.charFormat().toImageFormat();
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Object Properties"));
    auto* scale = new QSpinBox(&dialog);
    scale->setObjectName(QStringLiteral("scale"));
    scale->setRange(5, 1000);
    scale->setSuffix(QStringLiteral(" %"));
    scale->setValue(100);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Size:"),
                 new QLabel(QStringLiteral("%1 x %2 pixels").arg(f.width()).arg(f.height()), &dialog));
    form->addRow(QStringLiteral("&Scale:"), scale);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (runModal(dialog) != QDialog::Accepted)
        return;
    f.setWidth(f.width() * scale->value() / 100.0);
    f.setHeight(f.height() * scale->value() / 100.0);
    cursor.setCharFormat(f);
}

void CMainFrame::onHelp(Command command) {
    help_->setHelpFile(programFolder_ + QStringLiteral("/QVLEGAL.HLP"));
    help_->Show(command == HelpIndex   ? platform::HelpLauncher::Topic::Index
                : command == HelpUsing ? platform::HelpLauncher::Topic::HowToUseHelp
                                       : platform::HelpLauncher::Topic::Contents);
}

void CMainFrame::onNewForm() {
    if (!SaveModified())
        return;
    saveAnswered_ = true;
    closingForNewForm_ = true;
    handOff_.NewForm();
    if (!close()) {
        saveAnswered_ = false;
        closingForNewForm_ = false;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A cancelled save question keeps the editor open, and nothing is handed on.
    if (!saveAnswered_ && !SaveModified()) {
        event->ignore();
        return;
    }
    if (!closingForNewForm_)
        handOff_.CloseWithHandOff();
    saveAnswered_ = false;
    closingForNewForm_ = false;
    help_->Close();
    event->accept();
}

} // namespace qv::editor
