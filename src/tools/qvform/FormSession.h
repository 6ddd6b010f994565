#pragma once

#include "formengine/CTextDoc.h"
#include "formengine/Clock.h"
#include "formengine/DocumentHost.h"
#include "formengine/ProgramState.h"
#include "formengine/StderrMessages.h"
#include "platform/IniProfile.h"

#include <memory>
#include <optional>
#include <string>

namespace qv::tools {

/// The engine set up as the variable-entry program sets itself up, without windows: the
/// user's settings and variable sets, the clock (or a fixed day), messages to stderr and
/// one document.
class FormSession {
public:
    explicit FormSession(std::optional<CivilDate> today = std::nullopt);

    /// Loads a template or worksheet as the program opens one; false when refused.
    bool open(const std::string& path);
    bool isWorksheet() const { return worksheet_; }

    ProgramState& state() { return state_; }
    CTextDoc& doc() { return *doc_; }

private:
    ProgramState state_;
    platform::IniProfile profile_;
    std::unique_ptr<Clock> clock_;
    StderrMessages messages_;
    DocumentHost host_;
    std::unique_ptr<CTextDoc> doc_;
    bool worksheet_ = false;
};

} // namespace qv::tools
