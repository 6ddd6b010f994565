#pragma once

#include <QFileDialog>

namespace qv {

/// The Save As dialog of the suite's files, the same on every desktop. A name typed
/// without an extension gets the file type's extension inside the dialog, before it
/// looks at the disk, so that the dialog itself asks before an existing file is replaced.
class SaveAsDialog : public QFileDialog {
    Q_OBJECT
public:
    /// One filter, "NAME (*.ext *.EXT)"; `extension` is given without its dot.
    SaveAsDialog(QWidget* parent, const QString& title, const QString& filterName, const QString& extension);

    /// The path the accepted dialog chose; empty when it was cancelled.
    QString chosenPath() const;
};

} // namespace qv
