#include "view/NumberHint.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace qv {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\xA0';
}

// Letters of Windows-1252: ASCII, the accented capitals and small letters from 0xC0 (less
// the multiplication and division signs) and the few letters placed among 0x80..0x9F.
bool isLetter(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    if (c >= 0xC0)
        return c != 0xD7 && c != 0xF7;
    switch (c) {
    case 0x83:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
    case 0xAA:
    case 0xB5:
    case 0xBA:
        return true;
    default:
        return false;
    }
}

// Stands in for the bytes of a currency symbol, which the reading drops harmlessly.
constexpr char kCurrency = '\x01';

// What can go wrong, most important first: the message names the first one found.
enum class Problem {
    None,
    NoNumber,
    CommaDecimal,
    SecondPoint,
    PeriodRead,
    MisplacedCommas,
    MisplacedSeparators,
    MinusAfter,
    Brackets,
    SpacesInside,
    Letters,
    Other,
    StrayPoint,
};

std::string numberText(double v) {
    if (v == 0)
        return "0";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

std::string message(Problem p, char other, double value) {
    const std::string counts = "so this counts as " + numberText(value) + ".";
    switch (p) {
    case Problem::NoNumber:
        return "No number can be read here, so this counts as 0.";
    case Problem::CommaDecimal:
        return "Only a period is read as a decimal point: the comma is skipped, " + counts;
    case Problem::SecondPoint:
        return "Only the first decimal point is read, " + counts;
    case Problem::PeriodRead:
        return "The period is read as a decimal point, " + counts;
    case Problem::MisplacedCommas:
        return "Commas out of place are skipped, " + counts;
    case Problem::MisplacedSeparators:
        return "Thousands separators out of place are skipped, " + counts;
    case Problem::MinusAfter:
        return "A minus sign after a digit ends the number, " + counts;
    case Problem::Brackets:
        return "Brackets do not make an amount negative (type a minus sign in front), " + counts;
    case Problem::SpacesInside:
        return "Spaces between digits are skipped, " + counts;
    case Problem::Letters:
        return "Letters are skipped, " + counts;
    case Problem::Other:
        return std::string("\"") + other + "\" is skipped, " + counts;
    case Problem::StrayPoint:
        return "The period before the number is read as its decimal point, " + counts;
    case Problem::None:
        break;
    }
    return {};
}

// Digits grouped as the locale groups them: a first group of 1 to `g` digits, then groups
// of exactly `g`, none empty.
bool wellGrouped(const std::vector<std::size_t>& groupLengths, std::size_t g) {
    if (groupLengths.size() < 2)
        return true;
    if (groupLengths.front() < 1 || groupLengths.front() > g)
        return false;
    for (std::size_t i = 1; i < groupLengths.size(); ++i)
        if (groupLengths[i] != g)
            return false;
    return true;
}

} // namespace

double InputFieldNumber(std::string_view text) {
    std::string kept;
    for (char c : text)
        if (isDigit(c) || c == '.' || c == '-')
            kept += c;
    double v = 0;
    const auto [end, ec] = std::from_chars(kept.data(), kept.data() + kept.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return !kept.empty() && kept.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    return ec == std::errc() ? v : 0.0;
}

std::optional<std::string> NumberHint(std::string_view text, const LocaleFormat& locale) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    // An empty field, or one left to fill in by hand, is unanswered rather than wrong.
    if (text.empty() || text.find_first_not_of('_') == std::string_view::npos)
        return std::nullopt;

    const double value = InputFieldNumber(text);
    std::string s(text);
    std::size_t digitCount = 0;
    for (char c : s)
        digitCount += isDigit(c);

    // Does the reading find any digit? A sign, then digits, or a point and digits.
    {
        std::string kept;
        for (char c : s)
            if (isDigit(c) || c == '.' || c == '-')
                kept += c;
        std::size_t i = kept.size() > 0 && kept[0] == '-' ? 1 : 0;
        bool any = false;
        while (i < kept.size() && isDigit(kept[i]))
            ++i, any = true;
        if (i < kept.size() && kept[i] == '.')
            for (++i; i < kept.size() && isDigit(kept[i]); ++i)
                any = true;
        if (!any || digitCount == 0)
            return message(Problem::NoNumber, 0, 0);
    }

    // Currency symbols are dropped by the reading and mean nothing else: mask them.
    std::vector<std::string> symbols = {"$", "\x80", "\xA3", "\xA5"};
    if (!locale.currencySymbol.empty() &&
        locale.currencySymbol.find_first_of("0123456789.-") == std::string::npos)
        symbols.push_back(locale.currencySymbol);
    for (const std::string& sym : symbols)
        for (std::size_t at = s.find(sym); at != std::string::npos; at = s.find(sym, at + sym.size()))
            for (std::size_t k = 0; k < sym.size(); ++k)
                s[at + k] = kCurrency;

    const bool decimalIsComma = locale.decimalSeparator == ",";
    char localeGroup = 0;
    if (locale.thousandsSeparator.size() == 1) {
        const char t = locale.thousandsSeparator[0];
        if (!isDigit(t) && t != '.' && t != ',' && t != '-')
            localeGroup = t;
    }
    const auto isGroup = [&](char c) {
        return (c == ',' && !decimalIsComma) || (localeGroup && c == localeGroup);
    };
    const std::size_t g = locale.grouping > 0 ? static_cast<std::size_t>(locale.grouping) : 3;

    // The number's body runs from its first digit, or the point right before it, to its
    // last digit.
    std::size_t first = s.find_first_of("0123456789");
    const std::size_t last = s.find_last_of("0123456789");
    if (first > 0 && s[first - 1] == '.')
        --first;

    Problem found = Problem::None;
    char other = 0;
    const auto note = [&](Problem p, char c = 0) {
        if (found == Problem::None || p < found) {
            found = p;
            other = c;
        }
    };
    const auto outside = [&](char c, bool before) {
        if (isBlank(c) || c == kCurrency)
            return;
        if (isLetter(c))
            return note(Problem::Letters);
        if (before) {
            // The form writes negative amounts in brackets, so "(5)" looks like minus five
            // to the user; the reading drops the brackets. "-(5)" is negative either way.
            if (c == '(')
                return value > 0 ? note(Problem::Brackets) : void();
            if (c == '+' || c == '-')
                return; // "-$5", "+5"; a second minus leaves no number, caught above
            if (c == '.')
                return note(Problem::StrayPoint);
            if (c == ',')
                return note(Problem::CommaDecimal);
        } else {
            if (c == ')' || c == '%' || c == '.' || c == ',')
                return;
            if (c == '-')
                return note(Problem::MinusAfter);
        }
        note(Problem::Other, c);
    };
    for (std::size_t i = 0; i < first; ++i)
        outside(s[i], true);
    for (std::size_t i = last + 1; i < s.size(); ++i)
        outside(s[i], false);

    std::size_t points = 0;
    std::vector<std::size_t> groups{0}; // digit counts of the integer part's groups
    std::size_t fraction = 0;           // digits after the first point
    std::size_t commas = 0;
    bool commaAfterPoint = false;
    bool groupCharOtherThanComma = false;
    bool blanks = false; // "1 000" is grouped by blanks, "1 2" is two numbers
    for (std::size_t i = first; i <= last; ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            if (points == 0)
                ++groups.back();
            else if (points == 1)
                ++fraction;
        } else if (c == '.') {
            ++points;
        } else if (c == ',' && decimalIsComma) {
            ++commas;
            if (points > 0)
                commaAfterPoint = true;
        } else if (isGroup(c)) {
            if (c == ',') {
                ++commas;
                if (points > 0)
                    commaAfterPoint = true;
            } else {
                groupCharOtherThanComma = true;
            }
            if (points == 0)
                groups.push_back(0);
        } else if (isBlank(c)) {
            if (points > 0 || (blanks && groups.back() == 0))
                note(Problem::SpacesInside);
            else if (groups.back() > 0)
                groups.push_back(0);
            blanks = true;
        } else if (c == '-') {
            note(Problem::MinusAfter);
        } else if (isLetter(c)) {
            note(Problem::Letters);
        } else {
            note(Problem::Other, c == kCurrency ? text[i] : c);
        }
    }

    if (points > 1)
        note(Problem::SecondPoint);
    if (decimalIsComma) {
        // Where the comma is the decimal separator, a comma is only clean as a thousands
        // separator of a number that has its decimal point too ("1,234.50").
        if (commas > 0) {
            std::vector<std::size_t> commaGroups{0};
            for (std::size_t i = first; i <= last && s[i] != '.'; ++i) {
                if (isDigit(s[i]))
                    ++commaGroups.back();
                else if (s[i] == ',')
                    commaGroups.push_back(0);
            }
            if (points == 0 || commaAfterPoint || !wellGrouped(commaGroups, g))
                note(Problem::CommaDecimal);
        }
    } else if (commaAfterPoint) {
        note(Problem::CommaDecimal);
    } else if (!wellGrouped(groups, g)) {
        // "6,5" is a decimal comma; "1,2,3" is a list or a typing slip.
        if (blanks)
            note(Problem::SpacesInside);
        else if (commas == 1 && !groupCharOtherThanComma && points == 0 && groups.size() == 2)
            note(Problem::CommaDecimal);
        else
            note(commas > 0 ? Problem::MisplacedCommas : Problem::MisplacedSeparators);
    }
    // Where the period separates thousands, "1.500" means fifteen hundred to the user.
    if (locale.thousandsSeparator == "." && points == 1 && commas == 0 && fraction == g && groups.size() == 1)
        note(Problem::PeriodRead);

    if (found == Problem::None)
        return std::nullopt;
    return message(found, other, value);
}

} // namespace qv
