#include "view/NumberHint.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

using namespace qv;

namespace {

LocaleFormat german() {
    LocaleFormat de;
    de.decimalSeparator = ",";
    de.thousandsSeparator = ".";
    de.currencySymbol = "\x80"; // the euro sign in Windows-1252
    return de;
}

LocaleFormat swissWithKroner() {
    LocaleFormat ch;
    ch.thousandsSeparator = "'";
    ch.currencySymbol = "kr";
    return ch;
}

struct Case {
    const char* text;
    const char* hint; // nullptr: reads cleanly
};

void expectHints(const LocaleFormat& locale, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto hint = NumberHint(c.text, locale);
        if (c.hint) {
            ASSERT_TRUE(hint.has_value());
            EXPECT_EQ(*hint, c.hint);
        } else {
            EXPECT_FALSE(hint.has_value()) << *hint;
        }
    }
}

} // namespace

TEST(NumberHint, TextThatReadsAsItSaysGetsNoHint) {
    expectHints(LocaleFormat{}, {{"$1,234.50", nullptr},
                                 {"-(5)", nullptr},
                                 {"1250", nullptr},
                                 {"-3.5", nullptr},
                                 {"  12,345,678.9  ", nullptr},
                                 {"-$5", nullptr},
                                 {"$ -5", nullptr},
                                 {"+7", nullptr},
                                 {"12.5%", nullptr},
                                 {".5", nullptr},
                                 {"5.", nullptr},
                                 {"1 000", nullptr},
                                 {"\x80 12", nullptr},
                                 // unanswered, not wrong
                                 {"", nullptr},
                                 {"   ", nullptr},
                                 {"_______________", nullptr},
                                 {"\xA0", nullptr}});
}

TEST(NumberHint, TextTheReadingMisreadsSaysWhatItCountsAs) {
    expectHints(
        LocaleFormat{},
        {{"abc", "No number can be read here, so this counts as 0."},
         {"(5)",
          "Brackets do not make an amount negative (type a minus sign in front), so this counts as 5."},
         {"($1,250.50)",
          "Brackets do not make an amount negative (type a minus sign in front), so this counts as 1250.5."},
         {"-", "No number can be read here, so this counts as 0."},
         {"--5", "No number can be read here, so this counts as 0."},
         {"1,2,3", "Commas out of place are skipped, so this counts as 123."},
         {"12,34", "Only a period is read as a decimal point: the comma is skipped, so this counts as 1234."},
         {"6,5", "Only a period is read as a decimal point: the comma is skipped, so this counts as 65."},
         {",5", "Only a period is read as a decimal point: the comma is skipped, so this counts as 5."},
         {"1.234,5",
          "Only a period is read as a decimal point: the comma is skipped, so this counts as 1.2345."},
         {"1.2.3", "Only the first decimal point is read, so this counts as 1.2."},
         {"12abc", "Letters are skipped, so this counts as 12."},
         {"1O0", "Letters are skipped, so this counts as 10."},
         {"5 EUR", "Letters are skipped, so this counts as 5."},
         {"1/2", "\"/\" is skipped, so this counts as 12."},
         {"1-2", "A minus sign after a digit ends the number, so this counts as 1."},
         {"5-", "A minus sign after a digit ends the number, so this counts as 5."},
         {"1 2", "Spaces between digits are skipped, so this counts as 12."},
         {"1.5 5", "Spaces between digits are skipped, so this counts as 1.55."},
         {". 5", "The period before the number is read as its decimal point, so this counts as 0.5."}});
}

TEST(NumberHint, TheLocaleDecidesSeparatorsAndSymbols) {
    // Where the comma is the decimal separator, "6,5" is six and a half to the user.
    expectHints(
        german(),
        {{"6,5", "Only a period is read as a decimal point: the comma is skipped, so this counts as 65."},
         {"1.500", "The period is read as a decimal point, so this counts as 1.5."},
         {"1.234.567", "Only the first decimal point is read, so this counts as 1.234."},
         {"1,234", "Only a period is read as a decimal point: the comma is skipped, so this counts as 1234."},
         {"1,234.50", nullptr},
         {"12 \x80", nullptr},
         {"6.5", nullptr}});
    expectHints(swissWithKroner(),
                {{"1'234.50", nullptr},
                 {"kr 12", nullptr},
                 {"12'34", "Thousands separators out of place are skipped, so this counts as 1234."},
                 {"1,234", nullptr}});
}

TEST(NumberHint, InputFieldNumberIsTheStoredReading) {
    EXPECT_EQ(InputFieldNumber("$1,234.50"), 1234.5);
    EXPECT_EQ(InputFieldNumber("(5)"), 5);
    EXPECT_EQ(InputFieldNumber("1.2.3"), 1.2);
    EXPECT_EQ(InputFieldNumber("6,5"), 65);
    EXPECT_EQ(InputFieldNumber("abc"), 0);
    EXPECT_EQ(InputFieldNumber("-"), 0);
    EXPECT_EQ(InputFieldNumber("1-2"), 1);
    // A long run of digits is huge, not 0.
    EXPECT_EQ(InputFieldNumber(std::string(400, '9')), HUGE_VAL);
}
