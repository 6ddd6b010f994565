#pragma once

#include <string_view>

namespace qv {

/// The page a print file asks for, in twips.
struct PrintFileMargins {
    int left = 1440, right = 1440, top = 1440, bottom = 1440;
    int orientation = 1;
    bool found = false; // false for a word-processor print file or any other RTF
    bool operator==(const PrintFileMargins&) const = default;
};

/// Finds the margin block of a print file: the first line beginning "\mymargl", whose
/// number and those of the next four lines (by position) give the left, right, top and
/// bottom margins and the orientation. Lines are read 255 characters at a time and
/// numbers as the C library's atoi reads them (held at the ends of int's range).
class MarginBlockReader {
public:
    static PrintFileMargins Read(std::string_view file);
};

} // namespace qv
