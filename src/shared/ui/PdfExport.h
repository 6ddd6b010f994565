#pragma once

#include <QString>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace qv {

class UserMessages;

/// File > Export as PDF... of the programs that print: asks for the file name (".pdf"
/// added, the question before an existing file is replaced), draws the pages with the
/// program's own print function on a PDF printer with the page layout of its printer,
/// and offers to open the file or its folder. The pages go to a temporary file beside
/// the target, which takes the target's place only when complete: a cancelled or failed
/// export leaves no file and an existing one as it was.
class PdfExport {
public:
    /// Told before each page; false when the user cancelled.
    using Progress = std::function<bool(int page, int pageCount)>;
    /// Draws every page on the printer (reporting each to the progress); false when it
    /// stopped early.
    using Render = std::function<bool(QPrinter& printer, const Progress& progress)>;
    /// Shows a modal dialog and returns its result (the programs' test hook).
    using RunModal = std::function<int(QDialog&)>;

    /// Object names of the buttons offered when the file is written.
    static constexpr const char* kOpenFileButton = "openPdfFile";
    static constexpr const char* kOpenFolderButton = "openPdfFolder";
    /// Documents of at least this many pages show a progress dialog while they are drawn.
    static constexpr int kProgressPages = 5;

    PdfExport(QWidget* parent, UserMessages& messages, RunModal runModal);

    /// Runs the whole export; `suggestedPath` fills the file dialog (its extension is
    /// replaced by ".pdf"). A folder that takes no files brings the dialog back after its
    /// message. True when a file was written.
    bool Run(const QPrinter& settings, const QString& suggestedPath, const Render& render);

    /// Writes the pages to `path` without asking anything; false (with a message) when
    /// the file cannot be written, or when the drawing was cancelled.
    bool WriteTo(const QString& path, const QPrinter& settings, const Render& render);

private:
    QString askPath(const QString& suggestedPath);
    void offerToOpen(const QString& path);

    QWidget* parent_;
    UserMessages& messages_;
    RunModal runModal_;
    bool folderRefused_ = false; // the last WriteTo could not make a file in the folder
};

} // namespace qv
