#pragma once

#include "formengine/UserMessages.h"

namespace qv {

/// Writes each message as one line on stderr and gives the default reply (OK, or No to
/// a question), so batch work never waits for a person.
class StderrMessages : public UserMessages {
public:
    MessageReply show(const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
                      const std::string& caption = {}) override;
    int count() const { return count_; }

private:
    int count_ = 0;
};

} // namespace qv
