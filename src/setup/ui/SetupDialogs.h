#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace qv::setup {

/// "Change Folder" (dialog 130): the folder to install to.
class ChangeFolderDialog : public QDialog {
    Q_OBJECT
public:
    ChangeFolderDialog(const QString& folder, QWidget* owner);
    QLineEdit* folderEdit() const { return edit_; }

private:
    QLineEdit* edit_;
};

/// "Decompressing Files" (dialog 131): what is being copied, and how far along.
class DecompressDialog : public QDialog {
    Q_OBJECT
public:
    explicit DecompressDialog(QWidget* owner);
    QLabel* description() const { return description_; }
    QProgressBar* progress() const { return progress_; }

private:
    QLabel* description_;
    QProgressBar* progress_;
};

} // namespace qv::setup
