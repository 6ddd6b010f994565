#pragma once

#include "formengine/UserMessages.h"

#include <deque>
#include <string>
#include <vector>

namespace qv::test {

/// Records every message instead of showing it; replies come from a queue (OK, or No to
/// a question, when the queue is empty).
class MessageRecorder : public UserMessages {
public:
    struct Entry {
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
        std::string caption;
    };

    MessageReply show(const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                      const std::string& caption = {}) override;

    void setNextReply(MessageReply reply) { replies_.push_back(reply); }
    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<std::string> texts() const;
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
    std::deque<MessageReply> replies_;
};

} // namespace qv::test
