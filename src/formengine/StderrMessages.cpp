#include "formengine/StderrMessages.h"

#include <iostream>

namespace qv {

MessageReply StderrMessages::show(const std::string& text, MessageIcon, MessageButtons buttons,
                                  const std::string& caption) {
    ++count_;
    if (!caption.empty())
        std::cerr << caption << ": ";
    std::cerr << text << '\n';
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageReply::Ok;
    default:
        return MessageReply::No;
    }
}

} // namespace qv
