#include "shared/HandOff.h"

#include "formengine/ProgramState.h"
#include "platform/PrivateProfile.h"
#include "platform/ProgramManager.h"
#include "platform/ProgramStart.h"

namespace qv {
namespace {

constexpr std::size_t kEntryCapacity = 255;

} // namespace

std::string HandOff::ReadEntry() {
    return platform::PrivateProfile::ReadPrivateValue(kSection, kKey, "", kEntryCapacity, kFile);
}

void HandOff::ClearEntry() {
    platform::PrivateProfile::WritePrivateValue(kSection, kKey, "", kFile);
}

void HandOff::CloseWithHandOff() {
    const std::string entry = ReadEntry();
    if (state_.handOffPassed)
        return;
    // A command that cannot start is dropped; the entry is cleared all the same.
    if (!entry.empty())
        platform::ProgramStart::StartCommandLine(entry, platform::ProgramStart::kShowNormal);
    ClearEntry();
}

void HandOff::NewForm() {
    std::string entry = ReadEntry();
    if (entry.empty() || state_.startedEmpty) {
        platform::ProgramManager::SendProgramManagerRequests({kShowGroup});
        return;
    }
    if (entry.find("/New") == std::string::npos)
        entry += " /New";
    platform::ProgramStart::StartCommandLine(entry, platform::ProgramStart::kShowNormal);
    ClearEntry();
}

} // namespace qv
