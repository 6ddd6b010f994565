#include "view/LocaleFormatter.h"

#include <gtest/gtest.h>

using qv::LocaleFormatter;

namespace {
LocaleFormatter::Options us(int digits, int negativeOrder = 0) {
    LocaleFormatter::Options o;
    o.fractionalDigits = digits;
    o.negativeOrder = negativeOrder;
    o.currencySymbol = "$";
    return o;
}
} // namespace

TEST(LocaleFormatter, RoundsTheTextHalfAwayFromZero) {
    const struct {
        const char* value;
        int digits;
        const char* text;
    } cases[] = {{"1234.500000", 2, "1,234.50"},
                 {"1234.500000", 0, "1,235"},
                 {"2.499999", 0, "2"},
                 {"0.125000", 2, "0.13"},
                 {"999.995000", 2, "1,000.00"},
                 {"-0.125000", 2, "(0.13)"},
                 {"999999.999999", 0, "1,000,000"},
                 {"0.004000", 2, "0.00"},
                 {"-0.004000", 2, "0.00"},
                 {"12", 2, "12.00"}};
    for (const auto& c : cases)
        EXPECT_EQ(LocaleFormatter::formatNumber(c.value, us(c.digits)), c.text) << c.value;
}

TEST(LocaleFormatter, NumberNegativeOrdersAndGrouping) {
    const char* expected[] = {"(1,234.5)", "-1,234.5", "- 1,234.5", "1,234.5-", "1,234.5 -"};
    for (int order = 0; order <= 4; ++order)
        EXPECT_EQ(LocaleFormatter::formatNumber("-1234.5", us(1, order)), expected[order]);
    EXPECT_FALSE(LocaleFormatter::formatNumber("-1", us(0, 5)));
    EXPECT_FALSE(LocaleFormatter::formatNumber("nan", us(0)));
    EXPECT_FALSE(LocaleFormatter::formatNumber("1e5", us(0)));

    auto o = us(2);
    o.grouping = 0;
    EXPECT_EQ(LocaleFormatter::formatNumber("1234567", o), "1234567.00");
    o.grouping = 2;
    EXPECT_EQ(LocaleFormatter::formatNumber("1234567", o), "1,23,45,67.00");
    o.leadingZero = false;
    EXPECT_EQ(LocaleFormatter::formatNumber("0.5", o), ".50");
    o.decimalSeparator = ",";
    o.thousandsSeparator = ".";
    o.grouping = 3;
    EXPECT_EQ(LocaleFormatter::formatNumber("1234.5", o), "1.234,50");
}

TEST(LocaleFormatter, EveryCurrencyOrder) {
    const char* negative[] = {"($1.1)", "-$1.1",  "$-1.1",   "$1.1-",  "(1.1$)", "-1.1$",
                              "1.1-$",  "1.1$-",  "-1.1 $",  "-$ 1.1", "1.1 $-", "$ 1.1-",
                              "$ -1.1", "1.1- $", "($ 1.1)", "(1.1 $)"};
    for (int order = 0; order <= 15; ++order)
        EXPECT_EQ(LocaleFormatter::formatCurrency("-1.1", us(1, order)), negative[order]) << order;
    const char* positive[] = {"$1.1", "1.1$", "$ 1.1", "1.1 $"};
    for (int order = 0; order <= 3; ++order) {
        auto o = us(1);
        o.positiveCurrencyOrder = order;
        EXPECT_EQ(LocaleFormatter::formatCurrency("1.1", o), positive[order]) << order;
    }
    EXPECT_FALSE(LocaleFormatter::formatCurrency("1", us(0, 16)));
}
