#include "entry/ui/OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace qv {

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(tr("Options"));
    offerEarlier_ = new QCheckBox(tr("&Offer earlier answers for repeated names"), this);
    offerEarlier_->setObjectName(QStringLiteral("offerEarlierAnswers"));
    offerEarlier_->setAccessibleName(tr("Offer earlier answers for repeated names"));
    auto* note = new QLabel(tr("When a question comes back later in the form, its answer box starts "
                               "with what you answered before. Next keeps it; typing replaces it."),
                            this);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(offerEarlier_);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

void OptionsDialog::setOfferEarlierAnswers(bool on) {
    offerEarlier_->setChecked(on);
}

bool OptionsDialog::offerEarlierAnswers() const {
    return offerEarlier_->isChecked();
}

} // namespace qv
