#include "shared/ui/SaveAsDialog.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

namespace qv {
namespace {

// Qt's provider reads the start of every file it lists to tell its type; in /proc, or at
// a named pipe, that read waits for ever and the dialog with it. Names tell enough here.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override {
        return QFileIconProvider::icon(info.isDir() ? QAbstractFileIconProvider::Folder
                                                    : QAbstractFileIconProvider::File);
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
    }
};

} // namespace

SaveAsDialog::SaveAsDialog(QWidget* parent, const QString& title, const QString& filterName,
                           const QString& extension)
    : QFileDialog(parent, title) {
    setObjectName(QStringLiteral("saveAsDialog"));
    // The desktop's own dialog may add the extension only after asking about the bare
    // name, or not ask at all.
    setOption(QFileDialog::DontUseNativeDialog);
    // One for all dialogs, kept to the end: the dialog's model still uses it while the
    // dialog is destroyed.
    static auto* const icons = new NameOnlyIconProvider;
    setIconProvider(icons);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(QStringLiteral("%1 (*.%2 *.%3)").arg(filterName, extension.toLower(), extension.toUpper()));
    setDefaultSuffix(extension);
}

QString SaveAsDialog::chosenPath() const {
    if (result() != QDialog::Accepted)
        return {};
    const QString path = selectedFiles().value(0);
    return path.isEmpty() || QFileInfo(path).isDir() ? QString() : path;
}

} // namespace qv
