#include "shared/ui/SaveAsDialog.h"

#include <QFileInfo>

namespace qv {

SaveAsDialog::SaveAsDialog(QWidget* parent, const QString& title, const QString& filterName,
                           const QString& extension)
    : QFileDialog(parent, title) {
    setObjectName(QStringLiteral("saveAsDialog"));
    // The desktop's own dialog may add the extension only after asking about the bare
    // name, or not ask at all.
    setOption(QFileDialog::DontUseNativeDialog);
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
