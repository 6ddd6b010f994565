#include "support/MessageRecorder.h"

namespace qv::test {

MessageReply MessageRecorder::show(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                   const std::string& caption) {
    entries_.push_back({text, icon, buttons, caption});
    if (!replies_.empty()) {
        MessageReply r = replies_.front();
        replies_.pop_front();
        return r;
    }
    return (buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel) ? MessageReply::Ok
                                                                                  : MessageReply::No;
}

std::vector<std::string> MessageRecorder::texts() const {
    std::vector<std::string> t;
    for (const auto& e : entries_)
        t.push_back(e.text);
    return t;
}

} // namespace qv::test
