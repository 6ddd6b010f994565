#pragma once

#include "formengine/UserMessages.h"

class QWidget;

namespace qv {

/// Message boxes with the suite's texts and icons.
class QtMessages : public UserMessages {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageReply show(const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                      const std::string& caption = {}) override;

private:
    QWidget* parent_;
};

} // namespace qv
