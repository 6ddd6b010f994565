#include "shared/ui/PdfExport.h"

#include "formengine/UserMessages.h"
#include "platform/ProcessStarter.h"
#include "shared/ui/SaveAsDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryFile>
#include <filesystem>
#include <memory>
#include <system_error>

namespace qv {
namespace {

const QString kTitle = QStringLiteral("Export as PDF");

} // namespace

PdfExport::PdfExport(QWidget* parent, UserMessages& messages, RunModal runModal)
    : parent_(parent), messages_(messages), runModal_(std::move(runModal)) {}

bool PdfExport::Run(const QPrinter& settings, const QString& suggestedPath, const Render& render) {
    QString suggested = suggestedPath;
    for (;;) {
        const QString path = askPath(suggested);
        if (path.isEmpty())
            return false;
        if (WriteTo(path, settings, render)) {
            offerToOpen(path);
            return true;
        }
        // Nothing was drawn for a folder that takes no files: the user picks another,
        // starting from the folder first offered (the file dialog itself can hang reading
        // some system folders, such as /proc).
        if (!folderRefused_)
            return false;
        const QString firstFolder =
            suggestedPath.isEmpty() ? QDir::currentPath() : QFileInfo(suggestedPath).absolutePath();
        suggested = QDir(firstFolder).filePath(QFileInfo(path).fileName());
    }
}

QString PdfExport::askPath(const QString& suggestedPath) {
    SaveAsDialog dialog(parent_, kTitle, QStringLiteral("PDF Files"), QStringLiteral("pdf"));
    if (!suggestedPath.isEmpty()) {
        const QFileInfo suggested(suggestedPath);
        dialog.setDirectory(suggested.absolutePath());
        dialog.selectFile(suggested.completeBaseName() + QStringLiteral(".pdf"));
    }
    runModal_(dialog);
    return dialog.chosenPath();
}

bool PdfExport::WriteTo(const QString& path, const QPrinter& settings, const Render& render) {
    folderRefused_ = false;
    const QFileInfo target(path);
    const auto fail = [&](const QString& reason) {
        messages_.show(("The PDF file " + path + " could not be written: " + reason + ".").toStdString(),
                       MessageIcon::Stop);
        return false;
    };
    // Beside the target, so that the finished file takes its place in one rename.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!temp.open()) {
        // Whatever the system's reason, the user's remedy is another folder.
        folderRefused_ = true;
        const QFileInfo folder(target.absolutePath());
        if (!folder.isDir())
            return fail(QStringLiteral("the folder %1 does not exist").arg(folder.filePath()));
        return fail(QStringLiteral("the folder %1 cannot be written to (%2)")
                        .arg(folder.filePath(), temp.errorString()));
    }
    temp.close();

    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(temp.fileName());
    pdf.setPageLayout(settings.pageLayout());
    pdf.setDocName(target.completeBaseName());
    pdf.setCreator(QCoreApplication::applicationName());

    std::unique_ptr<QProgressDialog> progress;
    const Progress report = [&](int page, int pageCount) {
        if (pageCount < kProgressPages)
            return true;
        if (!progress) {
            progress =
                std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0, pageCount, parent_);
            progress->setObjectName(QStringLiteral("pdfExportProgress"));
            progress->setWindowTitle(kTitle);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(300);
            progress->setAutoClose(false);
            progress->setAutoReset(false);
        }
        progress->setLabelText(QStringLiteral("Writing page %1 of %2...").arg(page).arg(pageCount));
        progress->setValue(page - 1);
        return !progress->wasCanceled();
    };
    const bool complete = render(pdf, report);
    progress.reset();
    if (!complete)
        return false; // cancelled: the temporary file goes with `temp`
    if (pdf.printerState() == QPrinter::Error || QFileInfo(temp.fileName()).size() == 0)
        return fail(QStringLiteral("the pages could not be drawn"));

    // A replaced file keeps its permissions; a new one gets the usual read for all.
    QFile::setPermissions(temp.fileName(), target.exists()
                                               ? QFile::permissions(path)
                                               : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                                     QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(temp.fileName()).toStdString(),
                            QFile::encodeName(path).toStdString(), ec);
    if (ec)
        return fail(QString::fromStdString(ec.message()));
    temp.setAutoRemove(false);
    return true;
}

void PdfExport::offerToOpen(const QString& path) {
    QMessageBox box(QMessageBox::Information, kTitle,
                    QStringLiteral("The PDF file %1 has been written.").arg(QFileInfo(path).fileName()),
                    QMessageBox::NoButton, parent_);
    box.setObjectName(QStringLiteral("pdfExportDone"));
    QPushButton* openFile = box.addButton(QStringLiteral("Open &File"), QMessageBox::AcceptRole);
    openFile->setObjectName(QString::fromLatin1(kOpenFileButton));
    QPushButton* openFolder = box.addButton(QStringLiteral("Open F&older"), QMessageBox::AcceptRole);
    openFolder->setObjectName(QString::fromLatin1(kOpenFolderButton));
    QPushButton* close = box.addButton(QMessageBox::Close);
    box.setDefaultButton(close);
    box.setEscapeButton(close);
    runModal_(box);
    const QAbstractButton* chosen = box.clickedButton();
    if (chosen != openFile && chosen != openFolder)
        return;
    const QString what =
        chosen == openFile ? QFileInfo(path).absoluteFilePath() : QFileInfo(path).absolutePath();
    const auto opener = platform::ProcessStarter::FindOnPath("xdg-open");
    if (!opener || !platform::ProcessStarter::StartDetached(*opener, {QFile::encodeName(what).toStdString()}))
        messages_.show(("No program could be started to open " + what + ".").toStdString(),
                       MessageIcon::Exclamation);
}

} // namespace qv
