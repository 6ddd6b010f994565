#pragma once

#include <string>

namespace qv {

enum class MessageIcon { None, Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageReply { Ok, Cancel, Yes, No };

/// How the suite tells the user something: a message box in the programs, a line on
/// stderr in the command-line tool, a recorder in tests. Texts are UTF-8.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual MessageReply show(const std::string& text, MessageIcon icon,
                              MessageButtons buttons = MessageButtons::Ok,
                              const std::string& caption = {}) = 0;
};

} // namespace qv
