#include "platform/CodePage.h"

#include <gtest/gtest.h>

using qv::CodePage;

TEST(CodePage, EveryByteSurvivesTheTripThroughUnicode) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(CodePage::fromUtf8(CodePage::toUtf8(all)), all);
}

TEST(CodePage, MapsTheWindowsCharacters) {
    EXPECT_EQ(CodePage::toUtf8("\x80\x96\xA0\xE9"), "€–\u00a0é");
    EXPECT_EQ(CodePage::fromUtf8("€ “quoted” é"), "\x80 \x93quoted\x94 \xE9");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(CodePage::fromUtf8("Ωmega 日本 😀"), "?mega ?? ?");
    // Broken UTF-8: a lone continuation byte, a cut sequence, an overlong form.
    EXPECT_EQ(CodePage::fromUtf8("a\x80z"), "a?z");
    EXPECT_EQ(CodePage::fromUtf8("a\xE2\x82"), "a??");
    EXPECT_EQ(CodePage::fromUtf8("\xC0\xAF"), "??");
}

TEST(CodePage, Latin1KeepsByteValuesAsCodePoints) {
    EXPECT_EQ(CodePage::latin1ToUtf8("\xA0\xE6\x80"), "\u00a0\u00e6\u0080");
}
