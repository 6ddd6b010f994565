#pragma once

#include "editor/CRichEditDoc.h"
#include "shared/HandOff.h"
#include "formengine/ProgramState.h"
#include "platform/KeyboardLocks.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QPrinter;
class QTextCharFormat;
class QTextDocument;
class QTextCursor;

namespace qv {
class RecentFileList;
class UserMessages;
namespace platform {
class HelpLauncher;
class Profile;
} // namespace platform
} // namespace qv

namespace qv::editor {

class CRichEditView;
class FormatBar;

/// The print file editor's main window: menus, the toolbar, the format bar, the status
/// bar and the view; the file commands, formatting, printing and the hand-off.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    enum Command {
        NewForm = 32780,
        Open = 57601,
        Save = 57603,
        SaveAs = 57604,
        PageSetup = 57605,
        PrintSetup = 57606,
        PrintPreview = 57608,
        Print = 57607,
        SendMail = 57611,
        Close = 57665,
        Undo = 57643,
        Cut = 57635,
        Copy = 57634,
        Paste = 57637,
        Delete = 57632,
        InsertObject = 57856,
        ObjectProperties = 57860,
        Bold = 32771,
        Italic = 32772,
        Underline = 32773,
        Font = 32774,
        AlignLeft = 32776,
        AlignRight = 32777,
        AlignCenter = 32778,
        ViewToolbar = 59392,
        ViewStatusBar = 59393,
        HelpContents = 32786,
        HelpIndex = 57666,
        HelpUsing = 57667,
        About = 57664,
        // Additions of this program beyond the original menus.
        ExportPdf = 32810,
    };
    /// The program's title, which also captions its messages.
    static constexpr const char* kTitle = "Q-V Print File Editor";
    /// How a format applies to the selection.
    enum class Mark { Unmarked, Marked, Indeterminate };

    CMainFrame(platform::Profile& profile, UserMessages& messages, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(Command id) const;
    CRichEditView* view() const { return view_; }
    FormatBar* formatBar() const { return formatBar_; }
    CRichEditDoc& document() { return doc_; }
    QPrinter& printer() { return *printer_; }
    int orientation() const { return orientation_; }

    bool OpenDocumentFile(const QString& path);
    void NewDocument();
    /// Writes the document to `path`. Over the file a document was read from only in part,
    /// asks first and offers Save As instead; false when nothing was written.
    bool SaveTo(const QString& path);
    /// Asks about unsaved changes: false when the user cancels.
    bool SaveModified();
    void UpdatePass();
    Mark markOf(Command command) const;

    void setStartedWithoutFile(bool value) { state_.startedEmpty = value; }
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    void setFileChooser(std::function<QString(bool save)> chooser) { chooseFile_ = std::move(chooser); }
    void setModalHook(std::function<void(QDialog&)> hook) { modalHook_ = std::move(hook); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* makeAction(Command id, const QString& text, const QString& prompt = {}, const QString& tip = {});
    void createActions();
    void createMenus();
    void createToolBar();
    void toggle(Command command);
    void forEachSelectedFormat(const QTextCursor& cursor,
                               const std::function<void(const QTextCharFormat&)>& visit) const;
    void align(Qt::Alignment a);
    void layoutUpdate();
    void updateTitle();
    bool onSaveAs();
    /// The read problem as the messages quote it: "NAME could not be read completely: ...".
    std::string readProblemText() const;
    /// True when `path` is the file the document was read from only in part.
    bool replacesDamagedOriginal(const QString& path) const;
    void onPageSetup();
    /// The printer selection dialog for `settings` over `parent`; false when cancelled.
    bool choosePrinter(QPrinter& settings, QWidget* parent);
    void onPrintSetup();
    /// Shows a mixed selection on the toolbar button of `command`.
    void showMark(Command command, Mark mark);
    void onPrint(bool preview);
    /// The printer with the document's orientation and margins, as every print uses it.
    void preparePrinter();
    void onExportPdf();
    /// Lays the text out on the printer's own pixels inside its margins and prints the
    /// pages the printer asks for, telling `progress` (when given) before each page;
    /// false when `progress` stopped it.
    static bool PrintDocument(const QTextDocument& text, QPrinter& printer,
                              const std::function<bool(int page, int pageCount)>& progress = {});
    void onFont();
    void onInsertObject();
    void onObjectProperties();
    void onNewForm();
    void onHelp(Command command);
    int runModal(QDialog& dialog);

    platform::Profile& profile_;
    UserMessages& messages_;
    int orientation_ = 1;
    CRichEditDoc doc_;
    QString path_;
    QString readFrom_; // the file last opened, which a read problem concerns
    CRichEditView* view_ = nullptr;
    FormatBar* formatBar_ = nullptr;
    std::map<int, QAction*> actions_;
    QList<QAction*> recent_;
    std::unique_ptr<RecentFileList> recentFiles_;
    QLabel* locksPanes_[3] = {};
    platform::KeyboardLocks locks_;
    std::unique_ptr<QPrinter> printer_;
    ProgramState state_;
    HandOff handOff_{state_};
    QString programFolder_;
    std::function<QString(bool)> chooseFile_;
    std::function<void(QDialog&)> modalHook_;
    std::unique_ptr<platform::HelpLauncher> help_;
    bool closingForNewForm_ = false;
    bool saveAnswered_ = false;
};

} // namespace qv::editor
