#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TemplateBuilder.h"

#include <map>
#include <random>
#include <sstream>

using namespace qv;
using qv::test::TemplateBuilder;

namespace {

class TemplateLoad : public qv::test::DocFixture {
protected:
    bool loadBody(const std::string& body, std::vector<std::string> names = {"NAME"}) {
        return loadTemplate(TemplateBuilder::simple(names, body));
    }
    std::vector<std::string> texts() const { return state.runTexts; }
};

const std::string kPromissory =
    "Form      Portrait\r\nPromissory note, short form\r\n:NAME\r\nEnter the full name of the borrower.\r\n"
    ":AMOUNT\r\nEnter the amount borrowed.\r\n:DATE\r\nEnter the date of the note.\r\n\x15\r\n"
    "\xE4\xE8PROMISSORY NOTE\xE8\xAEI, \xB5|NAME|\xB5, promise to pay \xF1"
    "DAA0010|AMOUNT| dollars.\xAESigned on |DATE|.\xAE\xC6"
    "40\xAE\r\n";

} // namespace

TEST_F(TemplateLoad, PromissoryNoteGivesTheRunsOfTheExample) {
    // Without a variable set entry NAME would stay a no-break space; keep it visible.
    state.variableSets[0][0] = "";
    ASSERT_TRUE(loadTemplate(kPromissory));
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(state.varNames, (std::vector<std::string>{"NAME", "AMOUNT", "DATE"}));
    EXPECT_EQ(state.varPrompts[0], "Enter the full name of the borrower.\n");
    EXPECT_EQ(state.equations, std::vector<std::string>{"DAA0010"});
    const std::vector<std::uint32_t> flags = {0,
                                              RUN_CENTER,
                                              RUN_DOUBLESPACE,
                                              0,
                                              RUN_SPACE,
                                              0,
                                              RUN_DOUBLESPACE,
                                              RUN_PARAGRAPH,
                                              0,
                                              RUN_SPACE,
                                              RUN_VARIABLE | RUN_UNDERLINE,
                                              0};
    EXPECT_EQ(std::vector<std::uint32_t>(doc.runFlags.begin(), doc.runFlags.begin() + 12), flags);
    EXPECT_EQ(state.runTexts[3], "PROMISSORY");
    EXPECT_EQ(state.runTexts[8], "I,");
    EXPECT_EQ(state.runTexts[11], ",");
    EXPECT_EQ(state.occCount, 3);
    EXPECT_EQ(state.occVars, (std::vector<std::int32_t>{0, 1, 2}));
    const int amountRun = state.occRuns[1];
    EXPECT_EQ(doc.runFlags[amountRun - 1], RUN_EQUATION);
    EXPECT_EQ(doc.runValues[amountRun - 1], 0);
    EXPECT_EQ(answer(1), BLANK_TEXT);
    EXPECT_EQ(answer(2), "April 2, 1997");
    // The trailing paragraph mark is dropped after the blank line of width 40.
    const std::size_t n = doc.runFlags.size();
    EXPECT_EQ(doc.runFlags[n - 2], RUN_BLANKLINE);
    EXPECT_EQ(doc.runValues[n - 2], 40);
    EXPECT_EQ(doc.runFlags[n - 1], 0u);
    EXPECT_EQ(state.runTexts[n - 1], "");
    EXPECT_TRUE(state.promptDirty && state.valueDirty && state.focusRequest);
    EXPECT_EQ(host.redraws, 1);
}

TEST_F(TemplateLoad, HeaderDecidesOrientation) {
    struct {
        const char* header;
        int orientation;
    } cases[] = {{"Form", 1},
                 {"Form      Landscape", 2},
                 {"Form      lAnDsCaPe", 2},
                 {"Form  Landscape", 1},
                 {"FormXXXXXXLANDSCAPE and more", 2},
                 {"Form      Portrait", 1}};
    for (const auto& c : cases) {
        state.page.orientation = 0;
        state.page.margins = {1, 2, 3, 4};
        ASSERT_TRUE(loadTemplate(TemplateBuilder().header(c.header).declare("X").body("|X|").bytes()))
            << c.header;
        EXPECT_EQ(state.page.orientation, c.orientation) << c.header;
        EXPECT_EQ(state.page.margins, (std::array<int, 4>{100, 100, 100, 100}));
    }
}

TEST_F(TemplateLoad, RefusedFilesLeaveTheDocumentAsItWas) {
    ASSERT_TRUE(loadTemplate(kPromissory));
    const auto before = state.runTexts;
    const auto flags = doc.runFlags;
    const auto page = state.page;
    struct {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"lower-case form", "form\r\n:X\r\n\x15\r\n|X|", "not an Q-V Davov Form"},
        {"empty file", "", "not an Q-V Davov Form"},
        {"no declarations", "Form      Landscape\r\nnotes only\r\n", "not an Q-V Davov Form"},
        {"no separator", "Form      Landscape\r\n:X\r\nprompt\r\n", "not an Q-V Davov Form"},
        {"binary garbage", std::string("\x00\xFF\x15:garbage\x01", 9), "not an Q-V Davov Form"},
    };
    for (const auto& c : cases) {
        messages.clear();
        EXPECT_FALSE(loadTemplate(c.bytes)) << c.what;
        ASSERT_EQ(messages.entries().size(), 1u) << c.what;
        EXPECT_NE(messages.entries()[0].text.find(c.message), std::string::npos) << c.what;
        EXPECT_EQ(messages.entries()[0].icon, MessageIcon::Stop);
        EXPECT_EQ(state.runTexts, before) << c.what;
        EXPECT_EQ(doc.runFlags, flags) << c.what;
        EXPECT_EQ(state.page, page) << c.what;
    }
    messages.clear();
    EXPECT_FALSE(doc.OnOpenDocument((dir / "missing.qvf").string()));
    EXPECT_FALSE(doc.OnOpenDocument(dir.path().string()));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>(2, "There was an error opening the file.")));
    EXPECT_EQ(state.runTexts, before);
}

TEST_F(TemplateLoad, ExactNotAFormMessage) {
    EXPECT_FALSE(loadTemplate("form\r\n"));
    EXPECT_EQ(
        messages.texts(),
        std::vector<std::string>{"I'm sorry, but the file you are trying to load is not an Q-V Davov Form"});
}

TEST_F(TemplateLoad, SpacesAndParagraphMarks) {
    ASSERT_TRUE(loadBody("A B\xAE"));
    EXPECT_EQ(texts(), (std::vector<std::string>{"", "A", " ", "B", ""}));
    EXPECT_EQ(doc.runFlags, (std::vector<std::uint32_t>{0, 0, RUN_SPACE, 0, 0}));

    ASSERT_TRUE(loadBody("A\xAE"
                         "B\xAE"));
    EXPECT_EQ(doc.runFlags, (std::vector<std::uint32_t>{0, 0, RUN_PARAGRAPH, 0, 0}));

    // Line ends in the body are ignored; an underscore is a space run of its own.
    ASSERT_TRUE(loadBody("A\r\n_B"));
    EXPECT_EQ(texts(), (std::vector<std::string>{"", "A", "_", "B", ""}));
}

TEST_F(TemplateLoad, UnderlineAndPadFieldsDecideTheBlankOfAVariable) {
    ASSERT_TRUE(loadBody("\xB5|X|\xB5 |X| \xEE"
                         "12|X|\xE6|X|",
                         {"X"}));
    ASSERT_EQ(state.occCount, 4);
    EXPECT_EQ(answer(0), NBSP_TEXT);
    EXPECT_EQ(doc.runFlags[state.occRuns[0]], 0x0006u);
    EXPECT_EQ(answer(1), BLANK_TEXT);
    EXPECT_EQ(doc.runFlags[state.occRuns[1]], 0x0004u);
    EXPECT_EQ(answer(2), NBSP_TEXT);
    EXPECT_EQ(doc.runFlags[state.occRuns[2] - 1], RUN_PADFIELD);
    EXPECT_EQ(doc.runValues[state.occRuns[2] - 1], 12);
    EXPECT_EQ(answer(3), NBSP_TEXT);
}

TEST_F(TemplateLoad, MarkBytesMakeTheirRuns) {
    // A style toggle does not end the word: "M" takes the style in force when it is
    // flushed (off again), while "Q" is flushed by the space with the mark on.
    ASSERT_TRUE(loadBody("\xE1M\xE1\xF0\xC3x\xAEy\xD7"
                         "07z\xC6"
                         "7 w\xE1Q w"));
    const std::vector<std::uint32_t> flags = {0,
                                              0,
                                              RUN_CENTER,
                                              RUN_BLANKLINE,
                                              RUN_UNDERLINE,
                                              RUN_PARAGRAPH,
                                              0,
                                              RUN_PADUNDERLINE,
                                              0,
                                              RUN_BLANKLINE,
                                              RUN_UNDERLINE | RUN_MARK1,
                                              RUN_SPACE | RUN_UNDERLINE | RUN_MARK1,
                                              RUN_UNDERLINE | RUN_MARK1,
                                              0};
    EXPECT_EQ(doc.runFlags, flags);
    EXPECT_EQ(doc.runValues[3], 30);
    EXPECT_EQ(doc.runValues[7], 7);
    EXPECT_EQ(doc.runValues[9], 7); // "7 " reads as 7, as atoi does
    EXPECT_EQ(state.runTexts[10], "wQ");
}

TEST_F(TemplateLoad, TwoDigitWidthsReadAsAtoiDoes) {
    const struct {
        std::string digits;
        int width;
    } cases[] = {{"07", 7}, {"7 ", 7}, {"xx", 0}, {" 9", 9}, {"-5", -5}, {"99", 99}};
    for (const auto& c : cases) {
        ASSERT_TRUE(loadBody("\xC6" + c.digits + "."));
        EXPECT_EQ(doc.runValues[1], c.width) << c.digits;
        EXPECT_EQ(state.runTexts[2], ".") << c.digits;
    }
    // A width field cut off by the end of the body does not read past it.
    ASSERT_TRUE(loadBody("a\xD7"
                         "5"));
    EXPECT_EQ(doc.runValues[2], 5);
}

TEST_F(TemplateLoad, EquationOpensTheVariableThatFollowsIt) {
    ASSERT_TRUE(loadBody("\xF1"
                         "CAB=AA+AC|TOTAL| \xF1|X|",
                         {"TOTAL", "X"}));
    EXPECT_EQ(state.equations, (std::vector<std::string>{"CAB=AA+AC", ""}));
    EXPECT_EQ(doc.runFlags[1], RUN_EQUATION);
    EXPECT_EQ(doc.runFlags[2], RUN_VARIABLE);
    EXPECT_EQ(doc.runValues[4], 1);
    EXPECT_EQ(state.occCount, 2);
}

TEST_F(TemplateLoad, OpenReferencesAndUndeclaredNames) {
    ASSERT_TRUE(loadBody("a |X| |NEW| tail |OPEN", {"X"}));
    EXPECT_EQ(state.varNames, (std::vector<std::string>{"X", "NEW"}));
    EXPECT_EQ(state.varPrompts, (std::vector<std::string>{"Enter X.\n", ""}));
    EXPECT_EQ(state.occCount, 2);
    EXPECT_EQ(state.occVars, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(state.runTexts[state.runTexts.size() - 2], " ");

    ASSERT_TRUE(loadBody("x \xF1"
                         "CAB=AA+AC",
                         {"X"}));
    EXPECT_TRUE(state.equations.empty());
    EXPECT_EQ(texts(), (std::vector<std::string>{"", "x", " ", ""}));
}

TEST_F(TemplateLoad, PendingTextAtTheEndBecomesALastRun) {
    ASSERT_TRUE(loadBody("Signed\xAE"
                         "end"));
    EXPECT_EQ(texts(), (std::vector<std::string>{"", "Signed", "", "end", ""}));
}

TEST_F(TemplateLoad, SameNameTwiceGivesTwoOccurrences) {
    ASSERT_TRUE(loadBody("|X| and |X|", {"X"}));
    EXPECT_EQ(state.occCount, 2);
    EXPECT_NE(state.occRuns[0], state.occRuns[1]);
    EXPECT_EQ(state.occVars, (std::vector<std::int32_t>{0, 0}));
}

TEST_F(TemplateLoad, DeclarationsAndPrompts) {
    auto bytes = TemplateBuilder()
                     .freeLine("A description")
                     .freeLine("with notes")
                     .declare("TWO", "First line\r\nsecond line")
                     .declare("EMPTY")
                     .declare("X", "x")
                     .body("|TWO||EMPTY||X|")
                     .bytes();
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_EQ(state.varNames, (std::vector<std::string>{"TWO", "EMPTY", "X"}));
    EXPECT_EQ(state.varPrompts, (std::vector<std::string>{"First line\nsecond line\n", "", "x\n"}));

    // A name line cut by the 254-character read has no line end and loses its last
    // character all the same; the rest of the line reads as the prompt.
    std::string longName(300, 'N');
    ASSERT_TRUE(loadTemplate("Form\n:" + longName + "\n\x15\nbody"));
    EXPECT_EQ(state.varNames[0], std::string(252, 'N'));
    EXPECT_EQ(state.varPrompts[0], std::string(47, 'N') + "\n");
}

TEST_F(TemplateLoad, LongLinesAreReadInPiecesOf254) {
    std::string longPrompt(300, 'p');
    ASSERT_TRUE(loadTemplate(TemplateBuilder().declare("X", longPrompt).body("|X|").bytes()));
    EXPECT_EQ(state.varPrompts[0], longPrompt + "\n");
    // A 254-character piece of a free line that happens to start with ":" is a declaration.
    std::string free(254, 'f');
    ASSERT_TRUE(loadTemplate("Form\r\n" + free + ":Y\r\n\x15\r\n|Y|"));
    EXPECT_EQ(state.varNames, std::vector<std::string>{"Y"});
}

TEST_F(TemplateLoad, BodyStopsAtNulAndAt60000Bytes) {
    ASSERT_TRUE(loadBody(std::string("ab\0cd", 5)));
    EXPECT_EQ(texts(), (std::vector<std::string>{"", "ab", ""}));

    std::string huge(60000, 'a');
    huge += "|NAME|";
    huge += std::string(1 << 20, 'b');
    ASSERT_TRUE(loadBody(huge));
    EXPECT_EQ(state.occCount, 0);
    EXPECT_EQ(state.runTexts[1].size(), 60000u);
}

TEST_F(TemplateLoad, DateVariablesUseOneReadingOfTheClock) {
    const std::vector<std::string> names = {"MONTH", "YEAR",  "NDAY",   "DATE",
                                            "BDATE", "NDATE", "NBDATE", "month"};
    std::string body;
    for (const auto& n : names)
        body += "|" + n + "| ";
    ASSERT_TRUE(loadBody(body, names));
    std::vector<std::string> got;
    for (int k = 0; k < state.occCount; ++k)
        got.push_back(answer(k));
    EXPECT_EQ(got, (std::vector<std::string>{"April", "97", "2nd", "April 2, 1997", "2 April 1997",
                                             "04-02-97", "02-04-97", std::string(BLANK_TEXT)}));
}

TEST_F(TemplateLoad, OrdinalDays) {
    const std::pair<int, const char*> cases[] = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},
                                                 {11, "11th"}, {12, "12th"}, {13, "13th"}, {21, "21st"},
                                                 {22, "22nd"}, {23, "23rd"}, {30, "30th"}, {31, "31st"}};
    for (auto [day, text] : cases) {
        clock.set({2009, 1, day});
        ASSERT_TRUE(loadBody("|NDAY|", {"NDAY"}));
        EXPECT_EQ(answer(0), text);
    }
    clock.set({2000, 12, 31});
    ASSERT_TRUE(loadBody("|YEAR| |NBDATE|", {"YEAR", "NBDATE"}));
    EXPECT_EQ(answer(0), "00");
    EXPECT_EQ(answer(1), "31-12-00");
}

TEST_F(TemplateLoad, DefaultVariableSetFillsStandardVariables) {
    state.variableSets[1][0] = "Jane Roe";
    state.variableSets[1][1] = "Roe & Co";
    profile.WriteProfileInt("Variable Sets", "Default", 1);
    ASSERT_TRUE(loadBody("|NAME| |COMPANY| |CORP| \xB5|ZIP|\xB5 |OTHER|",
                         {"NAME", "COMPANY", "CORP", "ZIP", "OTHER"}));
    EXPECT_EQ(answer(0), "Jane Roe");
    EXPECT_EQ(answer(1), "Roe & Co");
    EXPECT_EQ(answer(2), "Roe & Co");
    EXPECT_EQ(answer(3), BLANK_TEXT); // an empty entry, even inside underlined text
    EXPECT_EQ(answer(4), BLANK_TEXT);

    for (const char* bad : {"7", "-1", "three"}) {
        profile.WriteProfileString("Variable Sets", "Default", bad);
        state.variableSets[0][0] = "Set Zero";
        ASSERT_TRUE(loadBody("|NAME|"));
        EXPECT_EQ(answer(0), "Set Zero") << bad;
    }
}

TEST_F(TemplateLoad, LoadClearsCellsAndResetsTheInterview) {
    state.cellTable.set('A', 'B', 5);
    state.currentOcc = 3;
    ASSERT_TRUE(loadBody("|NAME|"));
    EXPECT_EQ(state.cellTable.get('A', 'B'), 0.0);
    EXPECT_EQ(state.currentOcc, 0);
}

TEST_F(TemplateLoad, NewDocumentIsEmpty) {
    ASSERT_TRUE(loadBody("|NAME|"));
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetTitle(), "(No template loaded)");
    EXPECT_EQ(texts(), std::vector<std::string>{""});
    EXPECT_EQ(doc.runFlags, std::vector<std::uint32_t>{0});
    EXPECT_EQ(doc.formLines, std::vector<std::string>{""});
    EXPECT_EQ(state.occCount, 0);
    EXPECT_TRUE(state.varNames.empty());
}

TEST_F(TemplateLoad, ClassifiesEveryByte) {
    std::map<int, int> special = {{0x0A, 0x200},  {0x0D, 0x200},  {0x20, 0x100}, {0x5F, 0x100}, {0x7C, 4},
                                  {0xAE, 0x10},   {0xB5, 2},      {0xE6, 2},     {0xE1, 1},     {0xC3, 5},
                                  {0xC6, 0x80},   {0xD7, 0x1000}, {0xE4, 0x40},  {0xF0, 0x40},  {0xE8, 0x20},
                                  {0xEE, 0x2000}, {0xF1, 8}};
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(doc.ClassifyByte(static_cast<unsigned char>(b)), special.count(b) ? special[b] : 0) << b;
}

TEST_F(TemplateLoad, AnyBodyBytesLoadWithConsistentLists) {
    // Bodies of every byte value in many arrangements: the lists must stay parallel and
    // every occurrence must point at a variable run with a declared name.
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; ++round) {
        std::string body(1 + rng() % 400, '\0');
        for (char& c : body) {
            static const char marks[] = "|| \xAE\xB5\xE6\xE1\xC3\xC6\xD7\xE4\xE8\xEE\xF1\r\nAB09";
            c = (rng() % 3) ? marks[rng() % (sizeof marks - 1)] : static_cast<char>(1 + rng() % 255);
        }
        ASSERT_TRUE(loadBody(body, {"A", "B"}));
        ASSERT_EQ(state.runTexts.size(), doc.runFlags.size());
        ASSERT_EQ(doc.runFlags.size(), doc.runValues.size());
        ASSERT_EQ(state.occRuns.size(), static_cast<std::size_t>(state.occCount));
        ASSERT_EQ(state.occVars.size(), static_cast<std::size_t>(state.occCount));
        ASSERT_EQ(state.varNames.size(), state.varPrompts.size());
        for (int k = 0; k < state.occCount; ++k) {
            ASSERT_GE(state.occRuns[k], 1);
            ASSERT_TRUE(doc.runFlags[state.occRuns[k]] & RUN_VARIABLE);
            ASSERT_LT(static_cast<std::size_t>(state.occVars[k]), state.varNames.size());
        }
        EXPECT_EQ(doc.runFlags.back(), 0u);
    }
}

TEST_F(TemplateLoad, LoadsFromAStream) {
    std::istringstream in(TemplateBuilder::simple({"X"}, "|X|"));
    ASSERT_TRUE(doc.OpenTemplate(in));
    EXPECT_EQ(state.occCount, 1);
}
