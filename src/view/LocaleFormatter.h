#pragma once

#include "platform/LocaleFormat.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

/// The classic locale number and currency formatters. Both take a value as text (an
/// optional "-", digits, an optional "." and more digits, as "%f" prints it), round it to
/// the number of fractional digits half away from zero on the text itself, group the
/// integer digits and place the sign and symbol by the given orders.
class LocaleFormatter {
public:
    struct Options {
        int fractionalDigits = 0;
        bool leadingZero = true;
        int grouping = 3;
        std::string decimalSeparator = ".";
        std::string thousandsSeparator = ",";
        int negativeOrder = 0;         // numbers 0 to 4; currency 0 to 15
        int positiveCurrencyOrder = 0; // currency only
        std::string currencySymbol;    // currency only
    };

    /// Nothing when the value text is not a number or the negative order is out of range
    /// (as the original formatters fail).
    static std::optional<std::string> formatNumber(std::string_view value, const Options& options);
    static std::optional<std::string> formatCurrency(std::string_view value, const Options& options);
};

} // namespace qv
