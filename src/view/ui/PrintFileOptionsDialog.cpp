#include "view/ui/PrintFileOptionsDialog.h"

#include "platform/Profile.h"
#include "view/PrintFileWorkflow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

PrintFileOptionsDialog::PrintFileOptionsDialog(platform::Profile& profile, QWidget* parent)
    : QDialog(parent), profile_(profile) {
    setObjectName(QStringLiteral("printFileOptions143"));
    setWindowTitle(QStringLiteral("Print File Options"));
    auto* text =
        new QLabel(QStringLiteral("Which editing option would you like to use to fine-tune your forms "
                                  "after you have filled in the variables?"),
                   this);
    text->setWordWrap(true);
    editor_ = new QRadioButton(QStringLiteral("The &Q-V Print file editor"), this);
    editor_->setObjectName(QStringLiteral("editor1037"));
    wordProcessor_ = new QRadioButton(QStringLiteral("My word &processor"), this);
    wordProcessor_->setObjectName(QStringLiteral("wordProcessor1038"));
    const bool external =
        profile_.GetProfileInt(PrintFileWorkflow::kSection, PrintFileWorkflow::kUseExternal, 0) != 0;
    (external ? wordProcessor_ : editor_)->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* whatsThis = buttons->addButton(QStringLiteral("&What's This?"), QDialogButtonBox::HelpRole);
    whatsThis->setObjectName(QStringLiteral("whatsThis1039"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(whatsThis, &QPushButton::clicked, this, &PrintFileOptionsDialog::helpRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(editor_);
    layout->addWidget(wordProcessor_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void PrintFileOptionsDialog::done(int result) {
    if (result == QDialog::Accepted)
        profile_.WriteProfileInt(PrintFileWorkflow::kSection, PrintFileWorkflow::kUseExternal,
                                 editor_->isChecked() ? 0 : 1);
    QDialog::done(result);
}

} // namespace qv
