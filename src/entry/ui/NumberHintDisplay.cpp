#include "entry/ui/NumberHintDisplay.h"

#include "platform/CodePage.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace qv {

NumberHintDisplay::NumberHintDisplay(QLineEdit* field, QStatusBar* statusBar)
    : field_(field), pane_(statusBar ? new QLabel(statusBar) : nullptr), plain_(field->palette()) {
    if (!pane_)
        return;
    pane_->setObjectName(QStringLiteral("numberHintPane"));
    pane_->setAccessibleName(QStringLiteral("Number hint"));
    pane_->hide();
    statusBar->addWidget(pane_, 1);
}

void NumberHintDisplay::show(const std::optional<std::string>& hint) {
    const QString text = hint ? QString::fromStdString(CodePage::toUtf8(*hint)) : QString();
    if (text == shown_)
        return;
    shown_ = text;
    if (pane_) {
        pane_->setText(text);
        pane_->setVisible(!text.isEmpty());
    }
    field_->setToolTip(text);
    field_->setAccessibleDescription(text);
    if (text.isEmpty()) {
        field_->setPalette(plain_);
        return;
    }
    // A light amber behind the text: noticeable, and the text stays as readable as before.
    QPalette tinted = plain_;
    tinted.setColor(QPalette::Base, QColor(255, 236, 179));
    tinted.setColor(QPalette::Text, Qt::black);
    field_->setPalette(tinted);
}

} // namespace qv
