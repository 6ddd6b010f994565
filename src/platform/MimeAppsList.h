#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::platform {

/// The user's list of default applications (mimeapps.list), edited line by line: only
/// the suite's own "type=launcher" lines are added and removed; every other line
/// (comments, other sections, other programs' defaults, blank lines) stays byte for byte.
class MimeAppsList {
public:
    using Defaults = std::vector<std::pair<std::string, std::string>>; // type, launcher

    explicit MimeAppsList(std::filesystem::path file);

    /// Makes each launcher the default of its type in `section`: a line for the same type
    /// there is replaced, else the line goes after the section's last line; a missing
    /// section is added at the end. True when the section was added. A file that cannot
    /// be read is left alone.
    bool SetDefaults(std::string_view section, const Defaults& defaults);

    /// Removes the lines that say exactly `type=launcher`; with `dropEmptySection`, the
    /// section's header goes too when no line is left in it.
    void RemoveDefaults(std::string_view section, const Defaults& defaults, bool dropEmptySection);

private:
    std::filesystem::path file_;
};

} // namespace qv::platform
