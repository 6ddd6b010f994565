#pragma once

#include <string>

namespace qv {

/// The number and currency conventions of the user's locale, as the numeric fields use
/// them. Texts are Windows-1252 bytes, like every text of a form. The defaults are the
/// US English conventions that stand for the C and POSIX locales.
struct LocaleFormat {
    int fractionalDigits = 2;
    bool leadingZero = true;
    int grouping = 3; // digits per group; 0 means no grouping
    std::string decimalSeparator = ".";
    std::string thousandsSeparator = ",";
    std::string currencySymbol = "$";
    int positiveCurrencyOrder = 0; // 0 "$1.1", 1 "1.1$", 2 "$ 1.1", 3 "1.1 $"
    int negativeCurrencyOrder = 0; // 0 to 15, the classic currency orders

    bool operator==(const LocaleFormat&) const = default;
};

} // namespace qv
