#include "formengine/VariableSets.h"

#include "platform/CodePage.h"
#include "platform/Profile.h"

namespace qv {
namespace {

constexpr std::string_view kNames[VariableSets::kEntries] = {
    "NAME", "CORP",   "ADDRESS", "CITY",   "COUNTY",    "STATE",    "ZIP",
    "BODY", "CUSTOM", "PHONE",   "DEPART", "APPLICANT", "POSITION", "EMPLOYEE"};

std::string sectionName(int set) {
    return "VarSection " + std::to_string(set);
}
std::string entryName(int entry) {
    return "Var " + std::to_string(entry);
}

} // namespace

int VariableSets::standardIndex(std::string_view name) {
    if (name == "COMPANY")
        name = "CORP";
    for (int i = 0; i < kEntries; ++i)
        if (kNames[i] == name)
            return i;
    return -1;
}

std::string_view VariableSets::standardName(int index) {
    return index >= 0 && index < kEntries ? kNames[index] : std::string_view{};
}

void VariableSets::LoadVariableSets(const platform::Profile& profile) {
    for (int s = 0; s < kSets; ++s)
        for (int v = 0; v < kEntries; ++v)
            sets_[s][v] = CodePage::fromUtf8(profile.GetProfileString(sectionName(s), entryName(v), ""));
}

bool VariableSets::SaveVariableSets(platform::Profile& profile) const {
    bool ok = true;
    for (int s = 0; s < kSets; ++s)
        for (int v = 0; v < kEntries; ++v)
            ok =
                profile.WriteProfileString(sectionName(s), entryName(v), CodePage::toUtf8(sets_[s][v])) && ok;
    return ok;
}

int VariableSets::defaultSet(const platform::Profile& profile) {
    int set = profile.GetProfileInt("Variable Sets", "Default", 0);
    return set >= 0 && set < kSets ? set : 0;
}

bool VariableSets::setDefaultSet(platform::Profile& profile, int set) {
    return profile.WriteProfileInt("Variable Sets", "Default", set);
}

} // namespace qv
