#include "platform/IniFile.h"

#include <gtest/gtest.h>

using qv::platform::IniFile;

namespace {

struct Case {
    const char* what;
    std::string text;
};

class IniRoundTrip : public ::testing::TestWithParam<Case> {};

} // namespace

// Whatever a user types into a variable set must come back exactly.
TEST_P(IniRoundTrip, ValueKeyAndSectionSurviveWriteAndRead) {
    const std::string& text = GetParam().text;
    IniFile ini;
    ini.setValue("VarSection 0", "Var 0", text);
    ini.setValue(text.empty() ? "x" : text, "k", "v");
    if (!text.empty())
        ini.setValue("keys", text, "by key");
    IniFile back = IniFile::parse(ini.serialize());
    EXPECT_EQ(back.value("VarSection 0", "Var 0"), text);
    EXPECT_EQ(back.value(text.empty() ? "x" : text, "k"), "v");
    if (!text.empty()) {
        EXPECT_EQ(back.value("keys", text), "by key");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniRoundTrip,
    ::testing::Values(Case{"empty", ""}, Case{"plain", "John Smith"}, Case{"leading blanks", "   indented"},
                      Case{"trailing blanks", "trailing  "}, Case{"tab", "\ttab"}, Case{"equals", "a=b=c"},
                      Case{"semicolon", ";not a comment"}, Case{"hash", "# not a comment"},
                      Case{"brackets", "[not a section]"}, Case{"quotes", "\"quoted\""},
                      Case{"backslash", "C:\\Forms\\x"}, Case{"newline", "two\nlines\r\n"},
                      Case{"utf8", "Müller & Söhne – €"}, Case{"bytes", std::string("\xA0\xFF\x80 raw", 7)},
                      Case{"nul", std::string("a\0b", 3)}, Case{"lone quote", "\""},
                      Case{"close bracket", "x]y"}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (char& c : n)
            if (c == ' ')
                c = '_';
        return n;
    });

TEST(IniFile, NamesMatchWithoutRegardToCase) {
    IniFile ini = IniFile::parse("[Variable Sets]\nDefault=2\n");
    EXPECT_EQ(ini.value("variable sets", "DEFAULT"), "2");
    ini.setValue("VARIABLE SETS", "default", "1");
    EXPECT_EQ(ini.sectionNames().size(), 1u);
    EXPECT_EQ(ini.value("Variable Sets", "Default"), "1");
}

// A section met again, in any case, takes its keys into the first; a key met again keeps its
// first place and spelling and takes the last value. Only ASCII letters fold.
TEST(IniFile, RepeatedSectionsAndKeysMergeWithoutRegardToCase) {
    IniFile ini = IniFile::parse("[Recent]\nFile1=a\nFile2=b\n[Other]\nx=1\n[RECENT]\nfile1=c\nFile3=d\n"
                                 "[\xC4]\nk=upper\n[\xE4]\nk=lower\n[other]\nX=2\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Recent", "Other", "\xC4", "\xE4"}));
    EXPECT_EQ(ini.keys("recent"), (std::vector<std::string>{"File1", "File2", "File3"}));
    EXPECT_EQ(ini.value("Recent", "FILE1"), "c");
    EXPECT_EQ(ini.keys("Other"), std::vector<std::string>{"x"});
    EXPECT_EQ(ini.value("Other", "x"), "2");
    EXPECT_EQ(ini.value("\xC4", "k"), "upper");
    EXPECT_EQ(ini.value("\xE4", "k"), "lower");
}

TEST(IniFile, ReadsHandWrittenFilesLeniently) {
    IniFile ini =
        IniFile::parse("; comment\r\nstray=1\r\n[A]\r\n  key = value with blanks  \r\nno equals line\r\n"
                       "[B\r\nk=\"unterminated\r\n[A]\r\nkey=last wins\r\n");
    EXPECT_EQ(ini.value("A", "key"), "last wins");
    EXPECT_EQ(ini.value("B", "k"), "\"unterminated");
    EXPECT_FALSE(ini.value("", "stray"));
}

TEST(IniFile, RemovesValuesAndSections) {
    IniFile ini;
    ini.setValue("S", "a", "1");
    ini.setValue("S", "b", "2");
    ini.setValue("T", "c", "3");
    EXPECT_TRUE(ini.removeValue("s", "A"));
    EXPECT_FALSE(ini.removeValue("S", "a"));
    EXPECT_EQ(ini.keys("S"), std::vector<std::string>{"b"});
    EXPECT_TRUE(ini.removeSection("t"));
    EXPECT_EQ(ini.sectionNames(), std::vector<std::string>{"S"});
}
