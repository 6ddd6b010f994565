#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

// Flag word of a run. Mark runs (equation, paragraph, double spacing, centre, blank line,
// pad fields) carry their flag alone; text, space and variable runs carry the style bits.
inline constexpr std::uint32_t RUN_MARK1 = 0x0001;
inline constexpr std::uint32_t RUN_UNDERLINE = 0x0002;
inline constexpr std::uint32_t RUN_VARIABLE = 0x0004;
inline constexpr std::uint32_t RUN_EQUATION = 0x0008;
inline constexpr std::uint32_t RUN_PARAGRAPH = 0x0010;
inline constexpr std::uint32_t RUN_DOUBLESPACE = 0x0020;
inline constexpr std::uint32_t RUN_CENTER = 0x0040;
inline constexpr std::uint32_t RUN_BLANKLINE = 0x0080;
inline constexpr std::uint32_t RUN_SPACE = 0x0100;
inline constexpr std::uint32_t RUN_PADUNDERLINE = 0x1000;
inline constexpr std::uint32_t RUN_PADFIELD = 0x2000;

/// The answer of an occurrence not yet answered: a blank to fill in by hand.
inline constexpr std::string_view BLANK_TEXT = "_______________";
/// The answer left empty, and the blank of an unanswered occurrence in underlined or
/// fixed-width text: one no-break space (Windows-1252 0xA0).
inline constexpr std::string_view NBSP_TEXT = "\xA0";

} // namespace qv
