#include "platform/PrivateProfile.h"

#include "platform/ConfigPaths.h"
#include "platform/IniProfile.h"

namespace qv::platform {

std::filesystem::path PrivateProfile::PathOf(std::string_view fileName) {
    const std::filesystem::path name{std::string(fileName)};
    return name.has_parent_path() ? name : ConfigPaths::windowsFolder() / name;
}

std::string PrivateProfile::ReadPrivateValue(std::string_view section, std::string_view key,
                                             std::string_view defaultValue, std::size_t capacity,
                                             std::string_view fileName) {
    std::string value = IniProfile(PathOf(fileName)).GetProfileString(section, key, defaultValue);
    if (capacity == 0)
        return {};
    if (value.size() > capacity - 1)
        value.resize(capacity - 1);
    return value;
}

bool PrivateProfile::WritePrivateValue(std::string_view section, std::string_view key, std::string_view text,
                                       std::string_view fileName) {
    return IniProfile(PathOf(fileName)).WriteProfileString(section, key, text);
}

} // namespace qv::platform
