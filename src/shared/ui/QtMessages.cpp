#include "shared/ui/QtMessages.h"

#include <QMessageBox>

namespace qv {

MessageReply QtMessages::show(const std::string& text, MessageIcon icon, MessageButtons buttons,
                              const std::string& caption) {
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(caption.empty() ? caption_ : caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MessageIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::None:
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageReply::Yes;
    case QMessageBox::No:
        return MessageReply::No;
    case QMessageBox::Cancel:
        return MessageReply::Cancel;
    default:
        return MessageReply::Ok;
    }
}

} // namespace qv
