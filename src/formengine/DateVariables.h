#pragma once

#include "formengine/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

/// The built-in variables that a template load fills with the day's date: MONTH, YEAR,
/// NDAY, DATE, BDATE, NDATE and NBDATE (names match whole, case mattering). Month names
/// are English whatever the user's locale, as the form texts are.
class DateVariables {
public:
    static std::optional<std::string> textFor(std::string_view name, const CivilDate& date);
    static bool isDateVariable(std::string_view name);
};

} // namespace qv
