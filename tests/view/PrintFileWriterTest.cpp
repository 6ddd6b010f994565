#include "view/PrintFileWriter.h"
#include "formengine/RunFlags.h"
#include "support/RunFixture.h"
#include "view/MarginBlockReader.h"

#include <climits>

using namespace qv;
using qv::test::RunSpec;

namespace {

const std::string kHeader =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\fnil\\fcharset2 Symbol;}"
    "{\\f2\\fswiss\\fprq2 System;}{\\f3\\fnil Times New Roman;}{\\f4\\fmodern\\fprq1 Courier 10 Pitch;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;}\\margl1440\\margr1440\r\n"
    "\\pard\\deflang1033\\plain\\f4\\fs24 \r\n";
const std::string kDefaultBlock =
    "{\r\n\\mymargl1440\r\n\\mymargr1440\r\n\\mymargt1440\r\n\\mymargb1440\r\n\\orient1\r\n};";
const RunSpec kSpace{" ", RUN_SPACE};
const RunSpec kPara{"", RUN_PARAGRAPH};
const RunSpec kUnderscore{"_", RUN_SPACE};

class PrintFiles : public qv::test::RunFixture {
protected:
    std::string editor(PrintFilePage page = {}) { return PrintFileWriter::EditorRtf(doc, page); }
    std::string wordProcessor() { return PrintFileWriter::WordProcessorRtf(doc); }
    // What follows the header, for short expectations.
    static std::string body(const std::string& rtf) {
        EXPECT_EQ(rtf.substr(0, kHeader.size()), kHeader);
        return rtf.substr(kHeader.size());
    }
    void soldTo() {
        setRuns({{"Sold to"}, kSpace, {"Lot 12", RUN_VARIABLE | RUN_UNDERLINE}, {"."}, kPara}, {3});
    }
};

} // namespace

TEST_F(PrintFiles, SoldToInBothVariants) {
    soldTo();
    EXPECT_EQ(body(editor()), "Sold to \\plain\\f4\\fs24\\ul Lot 12\\plain\\f4\\fs24 .\\par \\par \r\n"
                              "\\pard \r\n}" +
                                  kDefaultBlock);
    soldTo();
    EXPECT_EQ(body(wordProcessor()),
              "\\sl480\\slmult1 Sold to \\plain\\f4\\fs24\\ul Lot 12\\plain\\f4\\fs24 .\r\n"
              "\\par \\pard \r\n}");
}

TEST_F(PrintFiles, EmptyForm) {
    setRuns({});
    EXPECT_EQ(body(editor()), "\r\n}" + kDefaultBlock);
    EXPECT_EQ(body(wordProcessor()), "\\par \r\n}");
}

TEST_F(PrintFiles, SingleSpacingAfterADoubleSpaceToggle) {
    setRuns({{"", RUN_DOUBLESPACE}, {"One"}, kPara, {"Two"}, kPara});
    EXPECT_EQ(body(editor()), "One\\par \r\n\\pard Two\\par \r\n\\pard \r\n}" + kDefaultBlock);
    EXPECT_EQ(body(wordProcessor()), "\\sl One\r\n\\sl \\par \\pard Two\r\n\\par \\pard \r\n}");
}

TEST_F(PrintFiles, EditorBreaksLinesNotCountingControlWords) {
    // 62 characters, then a 5-character word: 67 > 65, so the word starts a new line.
    const std::string first(62, 'x');
    setRuns({{"", RUN_DOUBLESPACE}, {"a", RUN_UNDERLINE}, {"", 0}, {first.substr(1)}, kSpace, {"words"}});
    const std::string out = body(editor());
    EXPECT_EQ(out, "\\plain\\f4\\fs24\\ul a\\plain\\f4\\fs24 " + first.substr(1) +
                       " \\par \r\n\\pard words\r\n}" + kDefaultBlock);
    // 61 characters, a space and a 3-letter word fill the 65 exactly.
    setRuns({{"", RUN_DOUBLESPACE}, {first.substr(1)}, kSpace, {"abc"}});
    EXPECT_EQ(body(editor()), first.substr(1) + " abc\r\n}" + kDefaultBlock);
}

TEST_F(PrintFiles, AFieldsLeadingBlanksEndTheLineAndItsDigitsStartTheNextAsOnThePage) {
    // 58 characters, then a right-justified field "     6.50": the layout appends the blanks
    // (a blank never wraps) and breaks before the digits. The equation run in front of the
    // field is not measured as a word of its own, which would break before the blanks.
    const std::string text(57, 'x');
    setRuns({{"", RUN_DOUBLESPACE},
             {text},
             kSpace,
             {"", RUN_EQUATION, 0},
             {"     6.50", RUN_VARIABLE},
             kSpace,
             {"percent."},
             kPara});
    EXPECT_EQ(body(editor()),
              text + "      \\par \r\n\\pard 6.50 percent.\\par \r\n\\pard \r\n}" + kDefaultBlock);
}

TEST_F(PrintFiles, UnansweredUnderlinedVariable) {
    setRuns({{std::string(BLANK_TEXT), RUN_VARIABLE | RUN_UNDERLINE}}, {1});
    EXPECT_EQ(body(editor()),
              "\\plain\\f4\\fs24\\ul " + std::string(15, '\xA0') + "\\plain\\f4\\fs24 \r\n}" + kDefaultBlock);
    setRuns({{std::string(BLANK_TEXT), RUN_VARIABLE | RUN_UNDERLINE}}, {1});
    EXPECT_EQ(body(wordProcessor()),
              "\\par \\plain\\f4\\fs24\\ul " + std::string(BLANK_TEXT) + "\\plain\\f4\\fs24 \r\n}");
}

TEST_F(PrintFiles, UnderscoreBlankBecomesOneUnderlinedStretch) {
    setRuns({kUnderscore, kUnderscore, kUnderscore});
    EXPECT_EQ(body(wordProcessor()), "\\par \\ul \xA0\xA0\xA0\\plain\\f4\\fs24 \r\n}");
}

TEST_F(PrintFiles, BlankLinePadsWithNoBreakSpaces) {
    setRuns({{"", RUN_BLANKLINE, 10}, {"abc", RUN_UNDERLINE}, {"x"}});
    EXPECT_EQ(body(wordProcessor()),
              "\\par \\plain\\f4\\fs24\\ul abc" + std::string(7, '\xA0') + "\\plain\\f4\\fs24 x\r\n}");
}

TEST_F(PrintFiles, PadUnderlineUsesNoBreakSpacesInTheEditorVariant) {
    setRuns({{"", RUN_PADUNDERLINE, 4}, {"ab"}});
    const std::string out = body(editor());
    EXPECT_EQ(state.runTexts[2], "\xA0"
                                 "ab\xA0");
    EXPECT_NE(out.find("\\ul \xA0"
                       "ab\xA0"),
              std::string::npos);
    setRuns({{"", RUN_PADUNDERLINE, 4}, {"ab"}});
    wordProcessor();
    EXPECT_EQ(state.runTexts[2], " ab ");
}

TEST_F(PrintFiles, CentredParagraph) {
    setRuns({{"", RUN_CENTER}, {"TITLE"}, kPara});
    EXPECT_EQ(body(wordProcessor()), "\\sl480\\slmult1 \\qc TITLE\r\n\\par \\pard \r\n}");
}

TEST_F(PrintFiles, BracesAndBackslashesAreEscaped) {
    setRuns({{"a\\b{c}", RUN_VARIABLE}}, {1});
    EXPECT_EQ(body(wordProcessor()), "\\par a\\\\b\\{c\\}\r\n}");
    EXPECT_EQ(PrintFileWriter::VisibleLength("\\plain\\f4\\fs24\\ul a\\\\b\\{"), 4u);
}

TEST_F(PrintFiles, MarginBlockInTwipsAndOrientation) {
    setRuns({});
    PrintFilePage page;
    page.margins = {75, 50, 125, 100};
    page.orientation = 2;
    const std::string out = editor(page);
    EXPECT_EQ(out.substr(out.rfind("}{")),
              "}{\r\n\\mymargl1080\r\n\\mymargr1800\r\n\\mymargt720\r\n\\mymargb1440\r\n"
              "\\orient2\r\n};");
    EXPECT_EQ(PrintFileWriter::Twips(75), 1080);
    EXPECT_EQ(PrintFileWriter::Twips(33), 475); // 475.2, the remainder dropped

    const PrintFileMargins read = MarginBlockReader::Read(out);
    EXPECT_EQ(read, (PrintFileMargins{1080, 1800, 720, 1440, 2, true}));
}

TEST(MarginBlockReader, DefaultsAndOddFiles) {
    EXPECT_EQ(MarginBlockReader::Read("{\\rtf1 plain}"), PrintFileMargins{});
    EXPECT_EQ(MarginBlockReader::Read(""), PrintFileMargins{});
    // Later lines are read by position, numbers as atoi reads them.
    auto m = MarginBlockReader::Read(
        "{\\rtf1}{\n\\mymargl100x\n\\margrXX200\n\\mymargt 300\n\\mymargb\n\\orient2\n};");
    EXPECT_EQ(m, (PrintFileMargins{100, 200, 300, 0, 2, true}));
    // A block cut short keeps the defaults for what is missing.
    m = MarginBlockReader::Read("}{\r\n\\mymargl720\r\n\\mymargr720");
    EXPECT_EQ(m, (PrintFileMargins{720, 720, 1440, 1440, 1, true}));
    // "\mymargl" only counts at the start of a line.
    EXPECT_FALSE(MarginBlockReader::Read("x\\mymargl5\n").found);
    // Numbers beyond int are held at its ends, not wrapped round.
    m = MarginBlockReader::Read("\\mymargl99999999999\n\\mymargr-99999999999\n\\mymargt2147483648\n"
                                "\\mymargb-2147483648\n\\orient4294967298\n");
    EXPECT_EQ(m, (PrintFileMargins{INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, true}));
}
