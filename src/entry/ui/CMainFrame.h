#pragma once

#include "shared/HandOff.h"
#include "entry/Interview.h"
#include "entry/ui/FrameActions.h"
#include "formengine/DocumentHost.h"
#include "platform/KeyboardLocks.h"
#include "platform/LocaleFormat.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QDialog;
class QDockWidget;
class QLabel;
class QMenu;
class QPrinter;

namespace qv {

class CTextDoc;
class CTextView;
class InterviewBar;
class NumberHintDisplay;
class RecentFileList;
class ReviewController;
namespace platform {
class HelpLauncher;
class HelpWindow;
class Profile;
} // namespace platform

/// The main window of the variable-entry program: the form view, the toolbar, the status
/// bar with the position pane and the interview bar, the menus, the two-second timer and
/// the idle update pass that keeps every control in step with the document.
class CMainFrame : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    using enum FrameCommand;

    using FileChooser = std::function<QString(bool save)>;
    using ModalHook = std::function<void(QDialog&)>;

    CMainFrame(CTextDoc& doc, UserMessages& messages, platform::Profile& profile, Interview::Clock clock,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(FrameCommand id) const;
    CTextView* view() const { return view_; }
    InterviewBar* interviewBar() const { return bar_; }
    QLabel* positionPane() const { return position_; }
    /// Caps Lock, Num Lock and Scroll Lock, in this order.
    QLabel* lockPane(int i) const { return lockPanes_[i]; }
    Interview& interview() { return *interview_; }
    ReviewController& review() { return *review_; }
    QPrinter& printer() { return *printer_; }

    /// Replaces the file dialogs (tests answer them without a window).
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    /// Runs instead of a dialog's exec(): tests drive the dialog and close it.
    void setModalHook(ModalHook hook) { modalHook_ = std::move(hook); }
    /// Replaces the print file's Save As dialog: (extension, filter) to a path or "".
    void setPrintFileChooser(std::function<QString(const QString&, const QString&)> chooser) {
        choosePrintFile_ = std::move(chooser);
    }
    /// Where the program's companions and its help file lie (the staged program folder).
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    /// The help windows, once opened: the contents window stands alone, the index
    /// window belongs to this one.
    platform::HelpWindow* helpWindow(bool owned) const;
    /// Runs instead of showing the form view's context menu.
    void setContextMenuHook(std::function<void(QMenu&)> hook) { contextMenuHook_ = std::move(hook); }

    /// Runs the update pass now (it also runs whenever the program goes idle).
    void UpdatePass();
    /// Opens a template or worksheet argument ("path?title") as the command line does.
    bool OpenDocumentFile(const QString& argument);
    /// With answers typed since the last save, asks whether to save the worksheet first:
    /// Yes saves (asking for a name when there is none), No goes on, Cancel stays. True
    /// when the caller may go on.
    bool SaveModified();

    // DocumentHost
    void updateAllViews() override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void addToRecentFileList(const std::string& path) override;
    std::optional<std::string> askWorksheetSavePath() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createStatusBar();
    void connectCommands();
    void armIdlePass();
    void updateTitle();
    void updateLockPanes();
    void onOpen();
    void onSendMail();
    void onAbout();
    void onNewForm();
    void onDone();
    void onPrintFileOptions();
    void onHelp(FrameCommand command);
    void onRegionalSettings(FrameCommand command);
    void onCalculator();
    void onFillInLater();
    void onVariableSets();
    void onPrint();
    void onPrintPreview();
    void onPageSetup();
    void onExportPdf();
    void syncPrinterOrientation();
    int runModal(QDialog& dialog);

    CTextDoc& doc_;
    UserMessages& messages_;
    platform::Profile& profile_;
    CTextView* view_ = nullptr;
    InterviewBar* bar_ = nullptr;
    QDockWidget* barDock_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* lockPanes_[3] = {};
    std::unique_ptr<NumberHintDisplay> numberHint_;
    LocaleFormat numberLocale_;
    platform::KeyboardLocks locks_;
    bool mailAvailable_ = false;
    std::unique_ptr<Interview> interview_;
    std::unique_ptr<FrameActions> frameActions_;
    ReviewController* review_ = nullptr;
    QTimer idle_;
    QTimer timer1_;
    FileChooser chooseFile_;
    ModalHook modalHook_;
    std::function<void(QMenu&)> contextMenuHook_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<RecentFileList> recentFiles_;
    HandOff handOff_;
    QString programFolder_;
    std::function<QString(const QString&, const QString&)> choosePrintFile_;
    std::unique_ptr<platform::HelpLauncher> help_;
    bool closingForNewForm_ = false;
    bool closeConfirmed_ = false;
};

} // namespace qv
