#include "platform/UserLocale.h"

#include <gtest/gtest.h>

#include <cstdlib>

using qv::LocaleFormat;
using qv::platform::UserLocale;

namespace {
LocaleFormat namedOrSkip(const char* name) {
    locale_t loc = ::newlocale(LC_MONETARY_MASK, name, (locale_t)0);
    if (!loc)
        return {};
    ::freelocale(loc);
    return UserLocale::named(name);
}
bool available(const char* name) {
    locale_t loc = ::newlocale(LC_ALL_MASK, name, (locale_t)0);
    if (loc)
        ::freelocale(loc);
    return loc != (locale_t)0;
}
} // namespace

TEST(UserLocale, CAndPosixGiveUsConventions) {
    EXPECT_EQ(UserLocale::named("C"), LocaleFormat{});
    EXPECT_EQ(UserLocale::named("POSIX"), LocaleFormat{});
    EXPECT_EQ(UserLocale::named("xx_NOWHERE.UTF-8"), LocaleFormat{});
}

TEST(UserLocale, ReadsRealGeneratedLocales) {
    for (const char* name : {"en_US.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
        if (!available(name))
            GTEST_SKIP() << name << " is not generated (the test command generates it)";

    LocaleFormat us = namedOrSkip("en_US.UTF-8");
    EXPECT_EQ(us.currencySymbol, "$");
    EXPECT_EQ(us.decimalSeparator, ".");
    EXPECT_EQ(us.thousandsSeparator, ",");
    EXPECT_EQ(us.grouping, 3);
    EXPECT_EQ(us.fractionalDigits, 2);
    EXPECT_EQ(us.positiveCurrencyOrder, 0);
    EXPECT_EQ(us.negativeCurrencyOrder, 1); // -$1.1

    LocaleFormat gb = namedOrSkip("en_GB.UTF-8");
    EXPECT_EQ(gb.currencySymbol, "\xA3"); // the pound sign in Windows-1252
    EXPECT_EQ(gb.negativeCurrencyOrder, 1);

    LocaleFormat de = namedOrSkip("de_DE.UTF-8");
    EXPECT_EQ(de.currencySymbol, "\x80"); // the euro sign in Windows-1252
    EXPECT_EQ(de.decimalSeparator, ",");
    EXPECT_EQ(de.thousandsSeparator, ".");
    EXPECT_EQ(de.positiveCurrencyOrder, 3); // 1.1 €
    EXPECT_EQ(de.negativeCurrencyOrder, 8); // -1.1 €

    LocaleFormat fr = namedOrSkip("fr_FR.UTF-8");
    EXPECT_EQ(fr.decimalSeparator, ",");
    EXPECT_EQ(fr.thousandsSeparator, "\xA0"); // a narrow no-break space becomes a no-break space
    EXPECT_EQ(fr.negativeCurrencyOrder, 8);
}

TEST(UserLocale, CurrentFollowsTheEnvironment) {
    if (!available("de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not generated";
    const char* old = std::getenv("LC_ALL");
    std::string saved = old ? old : "";
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(UserLocale::current().decimalSeparator, ",");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(UserLocale::current(), LocaleFormat{});
    if (old)
        ::setenv("LC_ALL", saved.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}
