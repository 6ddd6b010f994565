#pragma once

#include "formengine/UserMessages.h"

#include <string>
#include <utility>

class QWidget;

namespace qv {

/// Message boxes with the suite's texts and icons.
class QtMessages : public UserMessages {
public:
    /// `caption` titles every message that brings none of its own: the program's title.
    explicit QtMessages(QWidget* parent = nullptr, std::string caption = "QVLegal")
        : parent_(parent), caption_(std::move(caption)) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageReply show(const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                      const std::string& caption = {}) override;

private:
    QWidget* parent_;
    std::string caption_;
};

} // namespace qv
