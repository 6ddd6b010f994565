#include "platform/UserLocale.h"

#include "platform/CodePage.h"

#include <climits>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <string>

namespace qv::platform {
namespace {

// Separators that the code page cannot hold but that are spaces all the same.
std::string toCodePage(const char* utf8) {
    std::string s = utf8 ? utf8 : "";
    for (const char* nb : {"\u202F", "\u2009"}) {
        for (std::size_t p = 0; (p = s.find(nb, p)) != std::string::npos; p += 2)
            s.replace(p, std::strlen(nb), "\u00A0");
    }
    return CodePage::fromUtf8(s);
}

int negativeOrder(bool symbolFirst, int sepBySpace, int signPosition) {
    const bool space = sepBySpace != 0;
    if (symbolFirst) {
        switch (signPosition) {
        case 0:
            return space ? 14 : 0;
        case 2:
            return space ? 11 : 3;
        case 4:
            return space ? 12 : 2;
        default:
            return space ? 9 : 1; // sign before the symbol
        }
    }
    switch (signPosition) {
    case 0:
        return space ? 15 : 4;
    case 2:
    case 4:
        return space ? 10 : 7;
    case 3:
        return space ? 13 : 6;
    default:
        return space ? 8 : 5;
    }
}

LocaleFormat fromConv(const lconv& c) {
    LocaleFormat f;
    auto valid = [](char v) { return v != CHAR_MAX; };
    if (valid(c.frac_digits))
        f.fractionalDigits = c.frac_digits;
    f.leadingZero = true;
    f.grouping = (c.grouping && c.grouping[0] > 0 && valid(c.grouping[0])) ? c.grouping[0] : 0;
    f.decimalSeparator = toCodePage(c.decimal_point);
    if (f.decimalSeparator.empty())
        f.decimalSeparator.assign(1, '.');
    f.thousandsSeparator = toCodePage(c.thousands_sep);
    f.currencySymbol = toCodePage(c.currency_symbol);
    const bool pFirst = valid(c.p_cs_precedes) ? c.p_cs_precedes : true;
    const int pSpace = valid(c.p_sep_by_space) ? c.p_sep_by_space : 0;
    f.positiveCurrencyOrder = pFirst ? (pSpace ? 2 : 0) : (pSpace ? 3 : 1);
    f.negativeCurrencyOrder = negativeOrder(valid(c.n_cs_precedes) ? c.n_cs_precedes : pFirst,
                                            valid(c.n_sep_by_space) ? c.n_sep_by_space : 0,
                                            valid(c.n_sign_posn) ? c.n_sign_posn : 1);
    return f;
}

bool isPlainC(locale_t loc) {
    locale_t old = ::uselocale(loc);
    const lconv* c = std::localeconv();
    const bool plain = c->currency_symbol[0] == '\0' && c->int_curr_symbol[0] == '\0';
    ::uselocale(old);
    return plain;
}

LocaleFormat read(locale_t loc) {
    if (loc == (locale_t)0 || isPlainC(loc))
        return LocaleFormat{};
    locale_t old = ::uselocale(loc);
    LocaleFormat f = fromConv(*std::localeconv());
    ::uselocale(old);
    return f;
}

} // namespace

LocaleFormat UserLocale::current() {
    locale_t loc = ::newlocale(LC_NUMERIC_MASK | LC_MONETARY_MASK, "", (locale_t)0);
    LocaleFormat f = read(loc);
    if (loc)
        ::freelocale(loc);
    return f;
}

LocaleFormat UserLocale::named(const char* localeName) {
    locale_t loc = ::newlocale(LC_NUMERIC_MASK | LC_MONETARY_MASK, localeName, (locale_t)0);
    LocaleFormat f = read(loc);
    if (loc)
        ::freelocale(loc);
    return f;
}

} // namespace qv::platform
