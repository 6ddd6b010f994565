#include "setup/ui/SetupDialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

namespace qv::setup {
namespace {

/// Centred on its owner, then 70 pixels lower, so the title stays in sight.
void placeBelowCentre(QDialog& d, QWidget* owner) {
    d.adjustSize();
    if (owner)
        d.move(owner->geometry().center() - d.rect().center() + QPoint(0, 70));
}

} // namespace

ChangeFolderDialog::ChangeFolderDialog(const QString& folder, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("changeFolder130"));
    setWindowTitle(QStringLiteral("Change Folder"));
    auto* text =
        new QLabel(QStringLiteral("Enter the folder you would like to install Q-V Davov Software to or click "
                                  "OK to keep the default."),
                   this);
    text->setWordWrap(true);
    edit_ = new QLineEdit(folder, this);
    edit_->setObjectName(QStringLiteral("folder1001"));
    edit_->setMaxLength(255);
    edit_->setAccessibleName(tr("Folder"));
    text->setBuddy(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    placeBelowCentre(*this, owner);
}

DecompressDialog::DecompressDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("decompress131"));
    setWindowTitle(QStringLiteral("Decompressing Files"));
    auto* label = new QLabel(QStringLiteral("Currently copying"), this);
    description_ = new QLabel(QString(), this);
    description_->setObjectName(QStringLiteral("description1003"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress1002"));
    progress_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(description_);
    layout->addWidget(progress_);
    setMinimumWidth(360);
    placeBelowCentre(*this, owner);
}

} // namespace qv::setup
