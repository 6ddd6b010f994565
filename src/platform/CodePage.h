#pragma once

#include <string>
#include <string_view>

namespace qv {

/// Files hold Windows-1252 bytes; the windows and the settings files speak UTF-8.
/// These convert at that edge.
class CodePage {
public:
    /// Every byte maps to one character (the five bytes Windows-1252 leaves undefined map
    /// to the control characters of the same value), so the trip back is exact.
    static std::string toUtf8(std::string_view windows1252);
    /// A character outside Windows-1252, and any byte that is not valid UTF-8, becomes "?".
    static std::string fromUtf8(std::string_view utf8);
    /// Decodes the UTF-8 sequence at `text[at]` into `c`: its length, or 0 when it is not
    /// a valid sequence (cut short, overlong, a surrogate or beyond U+10FFFF).
    static std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& c);
    /// Each byte as the Unicode character of the same value (for byte-exact JSON output).
    static std::string latin1ToUtf8(std::string_view bytes);
};

} // namespace qv
