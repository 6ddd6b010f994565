#include "view/NumericFields.h"

#include "formengine/CTextDoc.h"
#include "formengine/RunFlags.h"
#include "formengine/TwoDigitField.h"
#include "view/LocaleFormatter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qv {
namespace {

constexpr std::size_t kMaxFormatted = 1023;
constexpr int kMaxWidth = 99; // two digits in the entry

char at(const std::string& s, std::size_t i) {
    return i < s.size() ? s[i] : '\0';
}

// An input field's answer as a number: only "1234567890.-" count, then a leading
// decimal number with an optional sign (so "$1,234.50" is 1234.5 and "(5)" is 5).
double answerNumber(const std::string& text) {
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '.' || c == '-')
            kept += c;
    double v = 0;
    std::from_chars(kept.data(), kept.data() + kept.size(), v);
    return v;
}

std::string expressionFrom(const std::string& entry, std::size_t start) {
    if (start >= entry.size())
        return {};
    const std::size_t close = entry.find(']', start);
    return entry.substr(start, close == std::string::npos ? std::string::npos : close - start);
}

} // namespace

NumericFields::NumericFields(CTextDoc& doc, LocaleFormat locale)
    : doc_(doc), locale_(std::move(locale)), evaluator_(doc.state().cellTable, doc.messages()) {}

std::string NumericFields::fixed6(double value) {
    char buf[512];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

void NumericFields::PrePass() {
    ProgramState& s = doc_.state();
    const std::size_t runs = doc_.runFlags.size();
    for (std::size_t r = 0; r + 1 < runs; ++r) {
        if (doc_.runFlags[r] != RUN_EQUATION)
            continue;
        const std::int32_t e = doc_.runValues[r];
        if (e < 0 || static_cast<std::size_t>(e) >= s.equations.size() || at(s.equations[e], 0) != 'D')
            continue;
        const std::string& entry = s.equations[e];
        const double cell = s.cellTable.get(at(entry, 1), at(entry, 2));
        s.runTexts[r + 1] = cell == 0.0 ? std::string() : fixed6(cell);
    }
    s.cellTable.clear();
}

void NumericFields::ProcessEquation(int equationRun) {
    ProgramState& s = doc_.state();
    const std::size_t target = static_cast<std::size_t>(equationRun) + 1;
    const std::int32_t e = doc_.runValues[equationRun];
    if (target >= s.runTexts.size() || e < 0 || static_cast<std::size_t>(e) >= s.equations.size())
        return;
    const std::string entry = s.equations[e];
    double value = 0;
    int flags = 0, width = 0;
    switch (at(entry, 0)) {
    case 'D':
        value = answerNumber(s.runTexts[target]);
        s.cellTable.set(at(entry, 1), at(entry, 2), value);
        flags = TwoDigitField::Read(entry, 3);
        width = TwoDigitField::Read(entry, 5);
        break;
    case 'C':
        if (entry.size() < 8 || (at(entry, 7) == '[' && at(entry, 9) == ']'))
            return;
        value = evaluator_.EvaluateEquation(expressionFrom(entry, 8));
        s.cellTable.set(at(entry, 1), at(entry, 2), value);
        flags = TwoDigitField::Read(entry, 3);
        width = TwoDigitField::Read(entry, 5);
        break;
    case 'T':
        if (at(entry, 1) == '#' || at(entry, 2) == '#') {
            value = evaluator_.CellNameValue(at(entry, 1), at(entry, 2));
            flags = TwoDigitField::Read(entry, 3);
            width = TwoDigitField::Read(entry, 5);
        } else {
            if (entry.size() < 8 || (at(entry, 5) == '[' && at(entry, 7) == ']'))
                return;
            value = evaluator_.EvaluateEquation(expressionFrom(entry, 6));
            flags = TwoDigitField::Read(entry, 1);
            width = TwoDigitField::Read(entry, 3);
        }
        break;
    default:
        return;
    }
    s.runTexts[target] = FormatNumericField(value, flags, width);
}

std::string NumericFields::FormatNumericField(double value, int flags, int width) const {
    width = std::clamp(width, 0, kMaxWidth);
    if (!(flags & 1))
        value = std::floor(value + 0.5);
    if (value == 0.0)
        return std::string(static_cast<std::size_t>(width), ' ');

    LocaleFormatter::Options o;
    o.fractionalDigits = (flags & 1) ? locale_.fractionalDigits : 0;
    o.leadingZero = locale_.leadingZero;
    o.grouping = locale_.grouping;
    o.decimalSeparator = locale_.decimalSeparator;
    o.thousandsSeparator = locale_.thousandsSeparator;
    o.negativeOrder = locale_.negativeCurrencyOrder;
    o.positiveCurrencyOrder = locale_.positiveCurrencyOrder;
    o.currencySymbol = locale_.currencySymbol;

    const std::string number = fixed6(value);
    std::optional<std::string> text;
    if (flags & 2) {
        text = LocaleFormatter::formatCurrency(number, o);
    } else {
        // The number formatter knows only the first five negative orders; where the
        // locale's currency order lies beyond them, a leading minus keeps the field
        // from printing as blanks.
        if (o.negativeOrder > 4)
            o.negativeOrder = 1;
        text = LocaleFormatter::formatNumber(number, o);
    }
    std::string out = text.value_or(std::string());
    if (out.size() > kMaxFormatted)
        out.resize(kMaxFormatted);
    if (out.size() < static_cast<std::size_t>(width)) {
        const std::string pad(static_cast<std::size_t>(width) - out.size(), ' ');
        out = (flags & 4) ? out + pad : pad + out;
    }
    return out;
}

} // namespace qv
