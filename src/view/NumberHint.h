#pragma once

#include "platform/LocaleFormat.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

/// A warning for the text of an input field when the way such text is read as a number
/// (only "1234567890.-" count, then one leading decimal number) would quietly give
/// something other than what the text says: no number at all, letters, a second decimal
/// point, a comma used as the decimal separator, commas out of place, digits split by
/// spaces, a minus sign after a digit. The message ends with the number the field will
/// hold. Nothing for text that reads cleanly ("$1,234.50", "(5)", "1250", "-3.5") and for
/// an empty or unanswered field.
///
/// `text` and the message are Windows-1252 bytes, like every answer. The locale decides
/// which thousands separators and currency symbols are expected, and whether a comma is
/// the user's decimal separator.
std::optional<std::string> NumberHint(std::string_view text, const LocaleFormat& locale);

/// The number an input field's text stands for: the characters "1234567890.-" in
/// order, read as one leading decimal number (sign, digits, at most one point); 0 when
/// nothing can be read.
double InputFieldNumber(std::string_view text);

} // namespace qv
