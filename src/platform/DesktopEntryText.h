#pragma once

#include <string>
#include <string_view>

namespace qv::platform {

/// Texts of a desktop entry file (launchers and menu folders) written so that the desktop
/// reads back exactly what was meant, whatever a path or title holds.
class DesktopEntryText {
public:
    /// A value of a string key: one line; backslashes, line breaks, tabs and a leading
    /// blank escaped.
    static std::string Value(std::string_view text);

    /// One argument of an Exec key in double quotes, before the value escaping: '"', '`',
    /// '$' and '\' take a backslash, '%' is doubled (it would start a field code).
    static std::string ExecArgument(std::string_view text);
};

} // namespace qv::platform
