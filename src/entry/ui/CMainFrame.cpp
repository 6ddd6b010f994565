#include "entry/ui/CMainFrame.h"

#include "entry/ui/AnswerReviewDock.h"
#include "entry/ui/InterviewBar.h"
#include "entry/ui/NumberHintDisplay.h"
#include "entry/ui/ReviewController.h"
#include "formengine/CTextDoc.h"
#include "formengine/DocumentOpener.h"
#include "platform/ConfigPaths.h"
#include "platform/MailService.h"
#include "platform/Profile.h"
#include "platform/ProgramStart.h"
#include "platform/UserLocale.h"
#include "platform/ui/ContextHelp.h"
#include "platform/ui/HelpLauncher.h"
#include "platform/ui/HelpWindow.h"
#include "shared/ui/PagePropertiesDialog.h"
#include "shared/ui/PaintedIcons.h"
#include "shared/ui/PdfExport.h"
#include "shared/ui/RecentFileList.h"
#include "shared/ui/SaveAsDialog.h"
#include "view/NumberHint.h"
#include "view/NumericFields.h"
#include "view/PrintFileWorkflow.h"
#include "view/ui/CTextView.h"
#include "view/ui/FirstTimeHelpDialog.h"
#include "view/ui/FormPrinter.h"
#include "view/ui/PrintFileOptionsDialog.h"
#include "view/ui/VariableSetsDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <filesystem>

namespace qv {
namespace {

const QString kFormFilter = QStringLiteral("QV Davov Forms (*.qvf);;QV Davov Worksheets (*.qvw)");
const QString kWorksheetsName = QStringLiteral("QV Davov Worksheets");

} // namespace

CMainFrame::CMainFrame(CTextDoc& doc, UserMessages& messages, platform::Profile& profile,
                       Interview::Clock clock, QWidget* parent)
    : QMainWindow(parent), doc_(doc), messages_(messages), profile_(profile),
      mailAvailable_(platform::MailService::Available()), handOff_(doc.state()),
      programFolder_(QString::fromStdString(platform::ProgramStart::ProgramFolder().string())) {
    setObjectName(QStringLiteral("mainFrame"));
    help_ = std::make_unique<platform::HelpLauncher>(
        this, QString(), [this](const std::string& text) { messages_.show(text, MessageIcon::Exclamation); });
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

    // The control panel's regional applet stands in the system folder where the desktop
    // has one.
    const bool regionalApplet = std::filesystem::exists(platform::ConfigPaths::systemFolder() / "INTL.CPL");
    frameActions_ = std::make_unique<FrameActions>(this, regionalApplet, [this](const QString& path) {
        // A remembered file that no longer opens leaves the list.
        if (SaveModified() && !OpenDocumentFile(path))
            recentFiles_->Remove(path);
    });
    recentFiles_ = std::make_unique<RecentFileList>(profile_, frameActions_->recentFiles());
    createStatusBar();

    bar_ = new InterviewBar(this);
    barDock_ = new QDockWidget(QStringLiteral("Q-V Variable Entry"), this);
    barDock_->setObjectName(QStringLiteral("interviewBar103"));
    barDock_->setWidget(bar_);
    barDock_->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    barDock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::TopDockWidgetArea, barDock_);
    numberHint_ = std::make_unique<NumberHintDisplay>(bar_->valueField(), statusBar());
    numberLocale_ = platform::UserLocale::current();

    interview_ = std::make_unique<Interview>(
        doc_, messages_, [this] { updateAllViews(); }, std::move(clock));
    connectCommands();
    review_ = new ReviewController({this, action(ReviewAnswers), action(Options), [this] { UpdatePass(); },
                                    [this] { updateAllViews(); }, [this](QDialog& d) { return runModal(d); },
                                    [this] {
                                        // Back from the list, typing replaces the answer, as
                                        // when the interview arrives at a question.
                                        doc_.state().focusRequest = true;
                                        UpdatePass();
                                        bar_->valueField()->selectAll();
                                    }},
                                   doc_, *interview_, *view_, profile_);

    idle_.setSingleShot(true);
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, &CMainFrame::UpdatePass);
    timer1_.setInterval(2000);
    connect(&timer1_, &QTimer::timeout, this, [this] {
        interview_->TimerTick(bar_->sliderPosition());
        updateLockPanes();
        UpdatePass();
    });
    timer1_.start();
    qApp->installEventFilter(this);

    resize(820, 640);
    view_->OnUpdate();
    recentFiles_->Show();
    platform::ContextHelp::Install(this);
    UpdatePass();
    bar_->valueField()->setFocus();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // An answer still open for editing in the review list is stored now, while the window
    // is whole; hiding it later, inside the base class's destructor, would call back here.
    if (review_)
        review_->dock()->hide();
}

QAction* CMainFrame::action(FrameCommand id) const {
    return frameActions_->action(id);
}

void CMainFrame::createStatusBar() {
    position_ = new QLabel(QStringLiteral("(NONE)"), this);
    position_->setObjectName(QStringLiteral("positionPane59142"));
    position_->setMinimumWidth(position_->fontMetrics().horizontalAdvance(QStringLiteral("0000/0000")));
    position_->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(position_);
    const struct {
        const char* text;
        const char* name;
        const char* accessible;
    } panes[] = {{"CAP", "capsLockPane", "Caps Lock"},
                 {"NUM", "numLockPane", "Num Lock"},
                 {"SCRL", "scrollLockPane", "Scroll Lock"}};
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(this);
        pane->setObjectName(QString::fromLatin1(panes[i].name));
        pane->setAccessibleName(QString::fromLatin1(panes[i].accessible));
        pane->setProperty("lockText", QString::fromLatin1(panes[i].text));
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL ")));
        statusBar()->addPermanentWidget(pane);
        lockPanes_[i] = pane;
    }
    updateLockPanes();
    connect(frameActions_->action(ViewStatusBar), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    frameActions_->action(ViewStatusBar)->setChecked(true);
}

void CMainFrame::updateLockPanes() {
    // A pane names its key while the lock is on and stays blank otherwise.
    for (int i = 0; i < 3; ++i) {
        const auto on = locks_.isOn(static_cast<platform::KeyboardLocks::Key>(i));
        lockPanes_[i]->setText(on.value_or(false) ? lockPanes_[i]->property("lockText").toString()
                                                  : QString());
    }
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
    connect(frameActions_->action(Close), &QAction::triggered, this, &QWidget::close);
    connect(frameActions_->action(VariableSets), &QAction::triggered, this, &CMainFrame::onVariableSets);
    // Menu 145, the form view's context menu.
    connect(view_, &CTextView::contextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("contextMenu145"));
        menu.addAction(action(Undo));
        menu.addSeparator();
        menu.addAction(action(SaveWorksheet));
        menu.addAction(action(Print));
        menu.addAction(action(PrintPreview));
        menu.addSeparator();
        menu.addAction(action(VariableSets));
        QAction* properties = menu.addAction(QStringLiteral("P&roperties"));
        connect(properties, &QAction::triggered, this, &CMainFrame::onPageSetup);
        if (contextMenuHook_)
            contextMenuHook_(menu);
        else
            menu.exec(at);
    });
    connect(frameActions_->action(Print), &QAction::triggered, this, &CMainFrame::onPrint);
    connect(frameActions_->action(PrintPreview), &QAction::triggered, this, &CMainFrame::onPrintPreview);
    connect(frameActions_->action(PageSetup), &QAction::triggered, this, &CMainFrame::onPageSetup);
    connect(frameActions_->action(ExportPdf), &QAction::triggered, this, &CMainFrame::onExportPdf);
    connect(frameActions_->action(Open), &QAction::triggered, this, &CMainFrame::onOpen);
    connect(frameActions_->action(SendMail), &QAction::triggered, this, &CMainFrame::onSendMail);
    connect(frameActions_->action(About), &QAction::triggered, this, &CMainFrame::onAbout);
    connect(frameActions_->action(NewForm), &QAction::triggered, this, &CMainFrame::onNewForm);
    connect(bar_, &InterviewBar::doneClicked, this, &CMainFrame::onDone);
    connect(frameActions_->action(PrintFileOptions), &QAction::triggered, this,
            &CMainFrame::onPrintFileOptions);
    connect(frameActions_->action(Calculator), &QAction::triggered, this, &CMainFrame::onCalculator);
    for (FrameCommand c : {HelpContents, HelpIndex, HelpUsing})
        connect(frameActions_->action(c), &QAction::triggered, this, [this, c] { onHelp(c); });
    for (FrameCommand c : {NumberSettings, CurrencySettings, InternationalSettings})
        connect(frameActions_->action(c), &QAction::triggered, this, [this, c] { onRegionalSettings(c); });
    // A saved worksheet holds every typed answer: nothing is unsaved any more.
    connect(frameActions_->action(SaveWorksheet), &QAction::triggered, this, [this] {
        if (doc_.SaveWorksheet())
            doc_.SetModifiedFlag(false);
    });
    connect(frameActions_->action(SaveWorksheetAs), &QAction::triggered, this, [this] {
        if (doc_.SaveWorksheetAs())
            doc_.SetModifiedFlag(false);
    });
    QLineEdit* field = bar_->valueField();
    connect(frameActions_->action(Undo), &QAction::triggered, field, &QLineEdit::undo);
    connect(frameActions_->action(Cut), &QAction::triggered, field, &QLineEdit::cut);
    connect(frameActions_->action(Copy), &QAction::triggered, field, &QLineEdit::copy);
    connect(frameActions_->action(Paste), &QAction::triggered, field, &QLineEdit::paste);
    connect(frameActions_->action(Delete), &QAction::triggered, field, &QLineEdit::del);
    connect(frameActions_->action(ViewVariableEntry), &QAction::triggered, this,
            [this](bool on) { barDock_->setVisible(on); });
    for (auto& [id, a] : frameActions_->all())
        connect(a, &QAction::triggered, this, &CMainFrame::armIdlePass);
}

void CMainFrame::armIdlePass() {
    if (!idle_.isActive())
        idle_.start();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
            updateLockPanes();
            break;
        default:
            break;
        }
        armIdlePass();
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
        armIdlePass();
        break;
    case QEvent::HideToParent:
    case QEvent::ShowToParent:
        // A bar hidden or shown by any means: the View ticks follow at the next pass.
        if (watched == barDock_ || watched == statusBar())
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
    const bool focusInFrameChild = focus && focus->window() == this && !barDock_->isAncestorOf(focus) &&
                                   !menuBar()->isAncestorOf(focus) && !(review_ && review_->owns(focus));
    const InterviewView v = interview_->UpdatePass(bar_->fieldText(), focusInFrameChild);
    bar_->show(v);
    if (review_)
        review_->AfterUpdatePass();
    position_->setText(QString::fromStdString(v.positionText));
    position_->setEnabled(v.positionEnabled);
    // Text in an input field that would be read as another number than it shows.
    const int k = doc_.state().currentOcc;
    const bool inputCell =
        doc_.state().occCount > 0 && doc_.IsInputCell(k) && bar_->valueField()->isEnabled();
    numberHint_->show(inputCell ? NumberHint(bar_->fieldText(), numberLocale_) : std::nullopt);

    QLineEdit* field = bar_->valueField();
    const bool fieldOn = field->isEnabled();
    frameActions_->action(Paste)->setEnabled(fieldOn && !QGuiApplication::clipboard()->text().isEmpty());
    frameActions_->action(Undo)->setEnabled(fieldOn && field->isUndoAvailable());
    for (FrameCommand c : {Cut, Copy, Delete})
        frameActions_->action(c)->setEnabled(fieldOn && field->hasSelectedText());
    const bool any = doc_.state().occCount > 0;
    frameActions_->action(SaveWorksheet)->setEnabled(any);
    frameActions_->action(SaveWorksheetAs)->setEnabled(any);
    // The ticks follow the bars however they were hidden (the toolbar area's menu too).
    frameActions_->action(ViewVariableEntry)->setChecked(barDock_->isVisibleTo(this));
    frameActions_->action(ViewStatusBar)->setChecked(statusBar()->isVisibleTo(this));
    frameActions_->action(SendMail)->setEnabled(mailAvailable_);
    updateTitle();
}

void CMainFrame::updateTitle() {
    // Titles come from file names and the command line, both in the system's encoding.
    setWindowTitle(QString::fromStdString(doc_.GetTitle()) +
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
    switch (messages_.show("Save changes to " + name + "?", MessageIcon::Exclamation,
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
    connect(&dialog, &VariableSetsDialog::helpRequested, this, [this](int context) {
        help_->setHelpFile(programFolder_ + QStringLiteral("/QVLEGAL.HLP"));
        help_->ShowContext(context);
    });
    runModal(dialog);
    const int set = dialog.setResult();
    // Without a form there is nothing the set could fill in, so nothing to save.
    if (set >= 0 && set < qv::VariableSets::kSets && doc_.state().occCount > 0) {
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
    NumericFields numeric(doc_, platform::UserLocale::current());
    // The dialog offers the form's own pages; each print starts from all of them.
    printer_->setPrintRange(QPrinter::AllPages);
    printer_->setFromTo(0, 0);
    QPrintDialog dialog(printer_.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, std::max(1, FormPrinter::PageCount(*printer_, doc_, numeric)));
    if (runModal(dialog) == QDialog::Accepted) {
        FormPrinter::Pages pages;
        if (printer_->printRange() == QPrinter::PageRange) {
            pages.from = printer_->fromPage();
            pages.to = printer_->toPage();
        }
        // A printer that cannot make copies itself (a PDF file) gets every copy drawn.
        if (!printer_->supportsMultipleCopies()) {
            pages.copies = printer_->copyCount();
            pages.collate = printer_->collateCopies();
        }
        FormPrinter::Print(*printer_, doc_, numeric, pages);
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
    dialog.setMessages(&messages_);
    connect(&dialog, &PagePropertiesDialog::printerRequested, this, [this, &dialog](QPrinter* settings) {
        QPageSetupDialog printerDialog(settings, &dialog);
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

void CMainFrame::onExportPdf() {
    UpdatePass();
    syncPrinterOrientation();
    PdfExport exporter(this, messages_, [this](QDialog& d) { return runModal(d); });
    QString suggested;
    if (doc_.HasWorksheetName()) {
        suggested = QString::fromStdString(doc_.GetPathName());
    } else {
        // A new form is named after the form and put among the user's documents, not in
        // whatever folder the program was started from.
        QString name = QString::fromStdString(doc_.GetTitle());
        if (name.startsWith(QStringLiteral("New - ")))
            name = name.mid(6);
        else if (name.startsWith(QStringLiteral("Template:")))
            name = QFileInfo(name.mid(9)).completeBaseName();
        name = name.replace(QLatin1Char('/'), QLatin1Char('-')).trimmed();
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QDir::homePath();
        if (!name.isEmpty())
            suggested = QDir(folder).filePath(name + QStringLiteral(".pdf"));
    }
    exporter.Run(*printer_, suggested, [this](QPrinter& pdf, const PdfExport::Progress& progress) {
        NumericFields numeric(doc_, platform::UserLocale::current());
        bool complete = true;
        FormPrinter::Pages pages;
        pages.progress = [&](int page, int count) { return complete = progress(page, count); };
        FormPrinter::Print(pdf, doc_, numeric, pages);
        return complete;
    });
    view_->OnUpdate();
}

void CMainFrame::onSendMail() {
    UpdatePass();
    // The attachment is the worksheet as Save Worksheet would write it, named after the
    // worksheet, or "Untitled.QVW" before it has a name. Mailing a copy saves nothing,
    // so unsaved answers stay marked.
    const std::string name = doc_.HasWorksheetName()
                                 ? std::filesystem::path(doc_.GetPathName()).filename().string()
                                 : std::string("Untitled.QVW");
    beginWaitCursor();
    const bool sent = platform::MailService::SendDocument(name, doc_.worksheetBytes());
    endWaitCursor();
    if (!sent)
        messages_.show("The mail program could not be started.", MessageIcon::Exclamation,
                       MessageButtons::Ok);
}

void CMainFrame::onAbout() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Q-V Davov Software..."),
                    QStringLiteral("<b>Q-V Variable Entry</b><p>Version %1</p>"
                                   "<p>Fills in legal form templates, one question at a time.</p>"
                                   "<p>Copyright \u00A9 Q-V Davov Software</p>")
                        .arg(QStringLiteral(QV_VERSION)),
                    QMessageBox::Ok, this);
    box.setIconPixmap(PaintedIcons::icon(PaintedIcons::FormPicture).pixmap(QSize(48, 48)));
    runModal(box);
}

platform::HelpWindow* CMainFrame::helpWindow(bool owned) const {
    return help_->window(owned);
}

void CMainFrame::onHelp(FrameCommand command) {
    help_->setHelpFile(programFolder_ + QStringLiteral("/QVLEGAL.HLP"));
    help_->Show(command == HelpIndex   ? platform::HelpLauncher::Topic::Index
                : command == HelpUsing ? platform::HelpLauncher::Topic::HowToUseHelp
                                       : platform::HelpLauncher::Topic::Contents);
}

void CMainFrame::onRegionalSettings(FrameCommand command) {
    const char* line = command == NumberSettings     ? "CONTROL.EXE intl.cpl ,1"
                       : command == CurrencySettings ? "CONTROL.EXE intl.cpl ,2"
                                                     : "CONTROL International";
    const int code = platform::ProgramStart::StartCommandLine(line, platform::ProgramStart::kShowNormal);
    if (code <= 31 && command != InternationalSettings)
        messages_.show(
            "The Windows 'International' or 'Regional Settings' Control Panel could not be executed",
            MessageIcon::None);
}

void CMainFrame::onCalculator() {
    if (platform::ProgramStart::StartCommandLine("Calc", platform::ProgramStart::kShow) <= 31)
        messages_.show("For unknown reasons, the Windows Calculator could not be run.", MessageIcon::Stop,
                       MessageButtons::Ok, "Couldn't run the Windows Calculator");
}

void CMainFrame::onNewForm() {
    // Unsaved answers are asked about before the catalogue or the program group comes up.
    if (!SaveModified())
        return;
    handOff_.NewForm();
    closingForNewForm_ = true;
    closeConfirmed_ = true;
    if (!close()) {
        closingForNewForm_ = false;
        closeConfirmed_ = false;
    }
}

void CMainFrame::onPrintFileOptions() {
    UpdatePass();
    PrintFileOptionsDialog dialog(profile_, this);
    connect(&dialog, &PrintFileOptionsDialog::helpRequested, this, [this] {
        help_->setHelpFile(programFolder_ + QStringLiteral("/QVLEGAL.HLP"));
        help_->ShowContext(1234);
    });
    runModal(dialog);
}

void CMainFrame::onDone() {
    UpdatePass();
    interview_->AcceptOffer(); // an earlier answer left in the field is what the user sees
    PrintFileWorkflow::Hooks hooks;
    hooks.firstTimeHelp = [this] {
        FirstTimeHelpDialog dialog(this);
        return runModal(dialog);
    };
    hooks.askPrintFilePath = [this](const std::string& extension, const std::string& filter) {
        const QString ext = QString::fromStdString(extension);
        // "Q-V Print Files|*.qvp||" as this platform's file dialog writes it.
        const QString name = QString::fromStdString(filter.substr(0, filter.find('|')));
        if (choosePrintFile_) {
            QString path = choosePrintFile_(ext, QString::fromStdString(filter));
            if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
                path += QLatin1Char('.') + ext;
            return path.toStdString();
        }
        SaveAsDialog dialog(this, QString(), name, ext);
        runModal(dialog);
        return dialog.chosenPath().toStdString();
    };
    hooks.closeProgram = [this] { close(); };
    hooks.page = [this] {
        PrintFilePage page;
        page.margins = doc_.state().page.margins;
        page.orientation = doc_.state().page.orientation;
        page.charsPerLine = view_->page().CharsPerLine();
        return page;
    };
    hooks.programFolder = programFolder_.toStdString();
    PrintFileWorkflow(doc_, profile_, messages_, std::move(hooks)).OnDone();
    if (isVisible())
        UpdatePass();
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
    // The path and the title both stay in the system's encoding, as the file names that
    // make the other titles.
    const bool ok = DocumentOpener::OpenDocumentFile(doc_, argument.toStdString());
    if (ok) {
        doc_.SetModifiedFlag(false);
        review_->DocumentLoaded();
    }
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
    recentFiles_->Add(QString::fromStdString(path));
}

std::optional<std::string> CMainFrame::askWorksheetSavePath() {
    QString path;
    if (chooseFile_) {
        path = chooseFile_(true);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".qvw");
    } else {
        SaveAsDialog dialog(this, QStringLiteral("Save Worksheet As"), kWorksheetsName,
                            QStringLiteral("qvw"));
        runModal(dialog);
        path = dialog.chosenPath();
    }
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every way of closing asks about unsaved answers first, then runs the hand-off
    // (New Form has run its own already).
    if (!closeConfirmed_ && !SaveModified()) {
        event->ignore();
        return;
    }
    if (!closingForNewForm_)
        handOff_.CloseWithHandOff();
    closingForNewForm_ = false;
    closeConfirmed_ = false;
    timer1_.stop();
    // The help windows go with the program.
    help_->Close();
    event->accept();
}

} // namespace qv
