#pragma once

#include <string_view>

namespace qv {

/// White space as the C library sees it in the "C" locale: answers and prompts are
/// trimmed of exactly these, whatever the user's locale.
constexpr bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr std::string_view TrimCSpace(std::string_view s) {
    while (!s.empty() && IsCSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsCSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace qv
