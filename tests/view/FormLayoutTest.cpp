#include "view/FormLayout.h"
#include "formengine/RunFlags.h"
#include "support/RunFixture.h"
#include "view/NumericFields.h"

using namespace qv;

namespace {

using qv::test::RunSpec;

class Layout : public qv::test::RunFixture {
protected:
    // Replaces the document's runs (sentinel and terminator added) and lays them out.
    std::vector<std::string> lay(std::vector<RunSpec> runs, int cpl = 65, std::vector<int> occurrences = {}) {
        setRuns(runs, occurrences);
        NumericFields numeric(doc, LocaleFormat{});
        result = FormLayout::Layout(doc, numeric, cpl);
        return doc.formLines;
    }
    static std::string words(std::initializer_list<std::string> w) {
        std::string s;
        for (const auto& x : w)
            s += x;
        return s;
    }
    FormLayout::Result result;
};

const RunSpec kSpace{" ", RUN_SPACE};
const RunSpec kPara{"", RUN_PARAGRAPH};
const RunSpec kDouble{"", RUN_DOUBLESPACE};

} // namespace

TEST_F(Layout, DoubleSpacingByDefaultAndLastLineAlwaysAdded) {
    EXPECT_EQ(lay({{"One"}, kPara, {"Two"}}), (std::vector<std::string>{"One", "", "Two"}));
    EXPECT_EQ(lay({kDouble, {"One"}, kPara, {"Two"}, kPara, kDouble, {"Three"}, kPara}),
              (std::vector<std::string>{"One", "Two", "Three", "", ""}));
}

TEST_F(Layout, WrapsAtTheCharactersPerLineWithoutParagraphs) {
    std::vector<RunSpec> runs;
    for (int i = 0; i < 30; ++i) {
        runs.push_back({"word" + std::to_string(i % 10)});
        runs.push_back(kSpace);
    }
    auto lines = lay(runs);
    // 11 words of 5 letters fit in 65 with the spaces between them; a space never wraps,
    // so a full line may end in one more.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "");
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        std::string text = lines[i];
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        EXPECT_LE(FormLayout::PrintableLength(text), 65u) << lines[i];
    }
    EXPECT_EQ(FormLayout::PrintableLength(lines[0]), 66u);
    EXPECT_EQ(lines[0].substr(0, 12), "word0 word1 ");
}

TEST_F(Layout, BlankLineIsPaddedWhenUnderlineEnds) {
    auto lines = lay({{"", RUN_BLANKLINE, 15}, {"abc", RUN_UNDERLINE}, {"tail"}});
    EXPECT_EQ(lines, std::vector<std::string>{"\xE6"
                                              "abc" +
                                              std::string(12, '\xA0') +
                                              "\xE6"
                                              "tail"});
}

TEST_F(Layout, PadFieldsChangeTheNextRun) {
    lay({{"", RUN_PADFIELD, 5}, {"Landlord"}, kSpace, {"", RUN_PADFIELD, 5}, {"No"}});
    EXPECT_EQ(state.runTexts[2], "Landl");
    EXPECT_EQ(state.runTexts[5], "No   ");
    auto lines = lay({{"", RUN_PADUNDERLINE, 6}, {"ab"}, {"x"}});
    EXPECT_EQ(state.runTexts[2], "  ab  ");
    EXPECT_TRUE(doc.runFlags[2] & RUN_UNDERLINE);
    EXPECT_EQ(lines[0], "\xE6  ab  \xE6x");
    EXPECT_EQ(FormLayout::PadUnderline("abc", 6, '.'), "..abc.");
    EXPECT_EQ(FormLayout::PadField("x", -3), "");
    EXPECT_EQ(FormLayout::PadField("x", 1 << 30).size(), static_cast<std::size_t>(FormLayout::kMaxPad));
}

TEST_F(Layout, CentredLinesAndUnderscoreBlanks) {
    auto lines = lay({{"", RUN_CENTER},
                      {"TITLE"},
                      kPara,
                      {"Sign"},
                      kSpace,
                      {"_", RUN_SPACE},
                      {"_", RUN_SPACE},
                      {"_", RUN_SPACE},
                      kSpace,
                      {"here"}});
    EXPECT_EQ(lines[0], "\xE8TITLE");
    EXPECT_EQ(lines[2], "Sign \xE6   \xE6 here");
}

TEST_F(Layout, VariablesAreMarkedAndTheCurrentOneIsFound) {
    auto lines = lay({{"Pay"},
                      kSpace,
                      {"John Smith", RUN_VARIABLE | RUN_UNDERLINE},
                      {"."},
                      kPara,
                      {"to"},
                      kSpace,
                      {"Bank", RUN_VARIABLE}},
                     65, {3, 8});
    // Occurrence 0 is the current one: its chunks carry the highlight marker.
    EXPECT_EQ(lines[0], "Pay \xE6\xA1John\xA1\xA1 \xA1\xA1Smith\xA1\xE6.");
    EXPECT_EQ(lines[2], "to \xC8"
                        "Bank\xC8");
    state.currentOcc = 1;
    NumericFields numeric(doc, LocaleFormat{});
    result = FormLayout::Layout(doc, numeric, 65);
    EXPECT_EQ(doc.formLines[2], "to \xA1"
                                "Bank\xA1");
    EXPECT_EQ(result.currentLine, 2);
    EXPECT_FALSE(result.currentUnderlined);
    state.currentOcc = 0;
    result = FormLayout::Layout(doc, numeric, 65);
    EXPECT_EQ(result.currentLine, 0);
    EXPECT_TRUE(result.currentUnderlined);
}

TEST_F(Layout, AWordKeepsThePunctuationThatFollowsIt) {
    // "12345678" + "." does not fit after 5 characters in a line of 13: both move on.
    auto lines = lay({kDouble, {"abcd"}, kSpace, {"12345678", RUN_VARIABLE}, {"."}}, 13, {4});
    EXPECT_EQ(lines, (std::vector<std::string>{"abcd ", "\xA1"
                                                        "12345678\xA1."}));
    // A word made of several plain runs stays together too.
    lines = lay({kDouble, {"abcd"}, kSpace, {"1234"}, {"5678"}, {"."}}, 13);
    EXPECT_EQ(lines, (std::vector<std::string>{"abcd ", "12345678."}));
}

TEST_F(Layout, UnderlineCarriesOverAWrap) {
    auto lines =
        lay({kDouble, {"aaaa", RUN_UNDERLINE}, {" ", RUN_SPACE | RUN_UNDERLINE}, {"bbbb", RUN_UNDERLINE}}, 6);
    EXPECT_EQ(lines, (std::vector<std::string>{"\xE6"
                                               "aaaa ",
                                               "\xE6"
                                               "bbbb\xE6"}));
}

TEST_F(Layout, PrintableLengthCountsTextAndNoBreakSpacesOnly) {
    EXPECT_EQ(FormLayout::PrintableLength("ab\xE6\xA0\xA1\xC8\xE8z"), 4u);
}

TEST_F(Layout, AWrappedCurrentVariableReportsTheLineOfItsLastChunk) {
    struct Case {
        const char* name;
        bool doubleSpacing;
        const char* answer;
        int cpl;
        int line;
    };
    // "Pay " + the answer; occurrence 0 is the variable, occurrence 1 the line after it.
    for (const Case& c : {Case{"fits", true, "Jo Roe", 20, 0},
                          Case{"two lines, double spaced", true, "Jonathan Roe-Smithers", 12, 2},
                          Case{"three lines, single spaced", false, "aaaaaa bbbbbb cccccc", 10, 2},
                          Case{"wraps before its first word", false, "abcdefghi", 10, 1}}) {
        std::vector<RunSpec> runs;
        if (!c.doubleSpacing)
            runs.push_back(kDouble);
        const std::size_t at = runs.size() + 3;
        runs.insert(runs.end(), {{"Pay"}, kSpace, {c.answer, RUN_VARIABLE}, kPara, {"next", RUN_VARIABLE}});
        const auto lines = lay(runs, c.cpl, {static_cast<int>(at), static_cast<int>(at + 2)});
        EXPECT_EQ(result.currentLine, c.line) << c.name;
        ASSERT_LT(static_cast<std::size_t>(result.currentLine), lines.size()) << c.name;
        EXPECT_NE(lines[result.currentLine].find('\xA1'), std::string::npos)
            << c.name << ": the highlight is there";
    }
}
