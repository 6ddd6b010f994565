#include "catalogue/ui/DisclaimerDialog.h"

#include "catalogue/Disclaimer.h"
#include "platform/CodePage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qv::catalogue {

DisclaimerDialog::DisclaimerDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("disclaimer183"));
    setWindowTitle(QStringLiteral("Q-V Davov Disclaimer"));
    auto* heading = new QLabel(QStringLiteral("LIMITED WARRANTY AND DISCLAIMER"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("disclaimerText1028"));
    text_->setReadOnly(true);
    text_->setAccessibleName(tr("Disclaimer"));
    text_->setPlainText(QString::fromStdString(CodePage::toUtf8(Disclaimer::Text()))
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(520, 420);
}

} // namespace qv::catalogue
