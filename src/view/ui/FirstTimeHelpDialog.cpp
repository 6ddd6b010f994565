#include "view/ui/FirstTimeHelpDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

FirstTimeHelpDialog::FirstTimeHelpDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("firstTimeHelp144"));
    setWindowTitle(QStringLiteral("Q-V Davov First-Time Help"));
    auto* layout = new QVBoxLayout(this);
    for (const char* paragraph :
         {"You will now be asked if you want to save your document.  If you choose [Yes] and have not "
          "already "
          "named your worksheet, the dual-save funtionality will automatically save a print file and this "
          "worksheet "
          "with the same filename.",
          "If you choose [No], the Save As dialog box opens for you to name your print file before editing "
          "it, but "
          "the information you entered in the template will not be saved as a worksheet.",
          "If you choose [Cancel] and do not name a print file at this time, you cannot open this document "
          "in the "
          "Q-V Print File Editor or your word processor."}) {
        auto* label = new QLabel(QString::fromLatin1(paragraph), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    neverAgain_ = new QCheckBox(QStringLiteral("&Never show this box again"), this);
    neverAgain_->setObjectName(QStringLiteral("neverAgain1040"));
    layout->addWidget(neverAgain_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(neverAgain_->isChecked() ? 1 : 2); });
    layout->addWidget(buttons);
    setMinimumWidth(440);
}

} // namespace qv
