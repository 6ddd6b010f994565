#pragma once

#include "formengine/CTextDoc.h"
#include "platform/IniProfile.h"

namespace qv::fuzz {

/// Messages the fuzzers do not need to see.
class QuietMessages : public UserMessages {
public:
    MessageReply show(const std::string&, MessageIcon, MessageButtons, const std::string&) override {
        ++count;
        return MessageReply::Ok;
    }
    int count = 0;
};

/// A fresh document with settings that do not exist and a fixed day.
struct FuzzDoc {
    FuzzDoc() : profile("/nonexistent/qvfuzz/QVLegal.ini"), doc(state, {messages, profile, clock, host}) {}
    ProgramState state;
    platform::IniProfile profile;
    FixedClock clock{{1997, 4, 2}};
    QuietMessages messages;
    DocumentHost host;
    CTextDoc doc;
};

} // namespace qv::fuzz
