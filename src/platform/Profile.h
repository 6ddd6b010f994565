#pragma once

#include <string>
#include <string_view>

namespace qv::platform {

/// An application's per-user settings: named values in named sections. Texts are UTF-8.
/// Reads never fail (a missing value gives the default); a write that fails returns false
/// and leaves the stored settings as they were.
class Profile {
public:
    virtual ~Profile() = default;

    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue = {}) const = 0;
    virtual int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
};

} // namespace qv::platform
