#include "view/LocaleFormatter.h"

namespace qv {
namespace {

struct Digits {
    bool negative = false;
    std::string integer; // no leading zeros; may be empty for zero
    std::string fraction;
};

std::optional<Digits> parse(std::string_view v) {
    Digits d;
    std::size_t i = 0;
    if (i < v.size() && v[i] == '-') {
        d.negative = true;
        ++i;
    }
    bool any = false;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') {
        d.integer += v[i++];
        any = true;
    }
    if (i < v.size() && v[i] == '.') {
        ++i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9') {
            d.fraction += v[i++];
            any = true;
        }
    }
    if (!any || i != v.size())
        return std::nullopt;
    std::size_t nz = d.integer.find_first_not_of('0');
    d.integer = nz == std::string::npos ? std::string() : d.integer.substr(nz);
    return d;
}

// Rounds the digit text to `places` fractional digits, half away from zero.
void round(Digits& d, int places) {
    if (places < 0)
        places = 0;
    const std::size_t keep = static_cast<std::size_t>(places);
    const bool up = d.fraction.size() > keep && d.fraction[keep] >= '5';
    d.fraction.resize(keep, '0');
    if (!up)
        return;
    std::string all = d.integer + d.fraction;
    int i = static_cast<int>(all.size()) - 1;
    for (; i >= 0; --i) {
        if (all[i] == '9') {
            all[i] = '0';
        } else {
            ++all[i];
            break;
        }
    }
    if (i < 0)
        all.insert(all.begin(), '1');
    d.integer = all.substr(0, all.size() - keep);
    d.fraction = all.substr(all.size() - keep);
}

// The unsigned number: grouped integer digits, the decimal separator and the fraction.
std::string body(Digits d, const LocaleFormatter::Options& o) {
    round(d, o.fractionalDigits);
    std::string integer = d.integer;
    if (integer.empty() && (o.leadingZero || d.fraction.empty()))
        integer = "0";
    std::string grouped;
    if (o.grouping > 0 && !o.thousandsSeparator.empty()) {
        const std::size_t g = static_cast<std::size_t>(o.grouping);
        for (std::size_t i = 0; i < integer.size(); ++i) {
            if (i > 0 && (integer.size() - i) % g == 0)
                grouped += o.thousandsSeparator;
            grouped += integer[i];
        }
    } else {
        grouped = integer;
    }
    if (!d.fraction.empty())
        grouped += o.decimalSeparator + d.fraction;
    return grouped;
}

bool roundsToZero(Digits d, int places) {
    round(d, places);
    return d.integer.empty() && d.fraction.find_first_not_of('0') == std::string::npos;
}

} // namespace

std::optional<std::string> LocaleFormatter::formatNumber(std::string_view value, const Options& o) {
    auto d = parse(value);
    if (!d || o.negativeOrder < 0 || o.negativeOrder > 4)
        return std::nullopt;
    const std::string n = body(*d, o);
    // A value that rounds to zero shows no sign.
    if (!d->negative || roundsToZero(*d, o.fractionalDigits))
        return n;
    switch (o.negativeOrder) {
    case 0:
        return "(" + n + ")";
    case 1:
        return "-" + n;
    case 2:
        return "- " + n;
    case 3:
        return n + "-";
    default:
        return n + " -";
    }
}

std::optional<std::string> LocaleFormatter::formatCurrency(std::string_view value, const Options& o) {
    auto d = parse(value);
    if (!d || o.negativeOrder < 0 || o.negativeOrder > 15 || o.positiveCurrencyOrder < 0 ||
        o.positiveCurrencyOrder > 3)
        return std::nullopt;
    const std::string n = body(*d, o);
    const std::string& s = o.currencySymbol;
    if (!d->negative || roundsToZero(*d, o.fractionalDigits)) {
        switch (o.positiveCurrencyOrder) {
        case 0:
            return s + n;
        case 1:
            return n + s;
        case 2:
            return s + " " + n;
        default:
            return n + " " + s;
        }
    }
    switch (o.negativeOrder) {
    case 0:
        return "(" + s + n + ")";
    case 1:
        return "-" + s + n;
    case 2:
        return s + "-" + n;
    case 3:
        return s + n + "-";
    case 4:
        return "(" + n + s + ")";
    case 5:
        return "-" + n + s;
    case 6:
        return n + "-" + s;
    case 7:
        return n + s + "-";
    case 8:
        return "-" + n + " " + s;
    case 9:
        return "-" + s + " " + n;
    case 10:
        return n + " " + s + "-";
    case 11:
        return s + " " + n + "-";
    case 12:
        return s + " -" + n;
    case 13:
        return n + "- " + s;
    case 14:
        return "(" + s + " " + n + ")";
    default:
        return "(" + n + " " + s + ")";
    }
}

} // namespace qv
