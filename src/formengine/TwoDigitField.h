#pragma once

#include <cstddef>
#include <string_view>

namespace qv {

/// The two-character number fields of a form: blank and pad counts in the body, format
/// flags and widths of equation entries. They are read as the C library's atoi reads the
/// two characters alone: leading blanks skipped, an optional sign, then digits; so " 7",
/// "07" and "7 " are all 7, and a field without a leading number is 0.
class TwoDigitField {
public:
    /// The field at `at` in `text`; characters past the end of `text` count as its end.
    static int Read(std::string_view text, std::size_t at);
};

} // namespace qv
