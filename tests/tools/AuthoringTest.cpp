#include "formengine/RunFlags.h"
#include "support/DocFixture.h"
#include "support/TempDir.h"
#include "tools/qvform/CsvReader.h"
#include "tools/qvform/QvformApp.h"
#include "tools/qvform/TemplateChecker.h"
#include "tools/qvform/TemplateCompiler.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace qv;
using qv::tools::CsvReader;
using qv::tools::TemplateChecker;
using qv::tools::TemplateCompiler;

namespace {

std::string compile(const std::string& source) {
    const auto r = TemplateCompiler::Compile(source);
    EXPECT_TRUE(r.problems.empty()) << (r.problems.empty() ? "" : r.problems[0].message);
    return r.bytes;
}

std::vector<std::string> messages(const TemplateChecker::Report& report) {
    std::vector<std::string> out;
    for (const auto& p : report.problems)
        out.push_back(std::to_string(p.line) + ":" + std::to_string(p.column) + " " + p.message);
    return out;
}

bool mentions(const std::vector<std::string>& list, const std::string& part) {
    for (const auto& m : list)
        if (m.find(part) != std::string::npos)
            return true;
    return false;
}

class Compiled : public qv::test::DocFixture {};

} // namespace

TEST_F(Compiled, SourceTokensBecomeTheRunsTheProgramReads) {
    const std::string bytes = compile("# a comment\n"
                                      "@form Landscape\n"
                                      "@about A test form.\n"
                                      "@var NAME\n"
                                      "Enter the name, for example: Jane\n"
                                      "second line\n"
                                      "\n"
                                      "@var AMOUNT\n"
                                      "@body\n"
                                      "{center}{double}TITLE{double}{para}\n"
                                      "I, {u}|NAME|{u}, owe {=DAA0311}|AMOUNT| {{sic}.{para}\n"
                                      "{blank}{blank 12}{pad 20}|NAME|{fixed 5}|NAME|{mark}x {mark}{para}\n");
    EXPECT_EQ(bytes.substr(0, 21), "Form      Landscape\r\n");
    state.page.hasPrinterSettings = true;
    ASSERT_TRUE(loadTemplate(bytes));
    EXPECT_EQ(state.varNames, (std::vector<std::string>{"NAME", "AMOUNT"}));
    EXPECT_EQ(state.varPrompts[0], "Enter the name, for example: Jane\nsecond line\n");
    EXPECT_EQ(state.varPrompts[1], "");
    EXPECT_EQ(state.equations, std::vector<std::string>{"DAA0311"});
    EXPECT_EQ(state.occCount, 4);
    EXPECT_EQ(state.page.orientation, 2);
    const auto& f = doc.runFlags;
    EXPECT_EQ(f[1], RUN_CENTER);
    EXPECT_EQ(f[2], RUN_DOUBLESPACE);
    EXPECT_EQ(state.runTexts[3], "TITLE");
    EXPECT_EQ(f[state.occRuns[0]], RUN_VARIABLE | RUN_UNDERLINE);
    // "{{" is a literal brace.
    EXPECT_NE(std::find(state.runTexts.begin(), state.runTexts.end(), "{sic}."), state.runTexts.end());
    std::vector<std::uint32_t> marks;
    for (std::size_t i = 0; i < f.size(); ++i)
        if (f[i] == RUN_BLANKLINE || f[i] == RUN_PADUNDERLINE || f[i] == RUN_PADFIELD)
            marks.push_back(f[i] << 8 | static_cast<std::uint32_t>(doc.runValues[i]));
    EXPECT_EQ(marks, (std::vector<std::uint32_t>{RUN_BLANKLINE << 8 | 30, RUN_BLANKLINE << 8 | 12,
                                                 RUN_PADUNDERLINE << 8 | 20, RUN_PADFIELD << 8 | 5}));
    EXPECT_EQ(f[state.occRuns[3] + 1], RUN_MARK1 | RUN_UNDERLINE) << "the blanks turned underline on";
}

TEST(TemplateCompiler, ProblemsNameTheirLineAndColumnAndNothingIsWritten) {
    const auto r =
        TemplateCompiler::Compile("@form Portrait\n"
                                  "@var NAME\n"
                                  "@var NAME\n"
                                  "@var lower\n"
                                  "@body\n"
                                  "Hi |WHO| and {bold} and {pad 0}|NAME| and \xC2\xAE and \xE2\x82\xAC ok\n"
                                  "\xE2\x98\x83 {=DAA0311} |NAME|\n"
                                  "|NAME\n");
    EXPECT_TRUE(r.bytes.empty());
    std::vector<std::string> got;
    for (const auto& p : r.problems)
        got.push_back(std::to_string(p.line) + ":" + std::to_string(p.column));
    EXPECT_EQ(got,
              (std::vector<std::string>{"3:6", "4:6", "6:5", "6:14", "6:25", "6:43", "7:1", "7:3", "8:1"}));
    EXPECT_NE(r.problems[0].message.find("declared twice"), std::string::npos);
    EXPECT_NE(r.problems[3].message.find("unknown token {bold}"), std::string::npos);
    EXPECT_NE(r.problems[5].message.find("layout mark"), std::string::npos) << "the registered sign is 0xAE";
    EXPECT_NE(r.problems[6].message.find("Windows-1252"), std::string::npos);
    EXPECT_NE(r.problems[7].message.find("followed at once"), std::string::npos);
    // The euro sign has a Windows-1252 form (0x80) and is plain text.
    const std::string euro =
        TemplateCompiler::Compile("@form Portrait\n@var X\n@body\n\xE2\x82\xAC 5{para}\n").bytes;
    EXPECT_NE(euro.find("\x15\r\n\x80 5\xAE"), std::string::npos);
}

TEST_F(Compiled, SourcesWhoseTemplateTheProgramWouldReadOtherwiseAreRefused) {
    // Each compiled once to a template that did not load, or loaded other variables than
    // the source declares, or fewer occurrences than it names.
    const std::string longName(252, 'N');
    struct Case {
        const char* name;
        std::string source;
        const char* message;
    } cases[] = {
        {"no variable", "@form Portrait\n@body\nText.{para}\n", "at least one variable"},
        {"an @about line that reads as a declaration", "@form Portrait\n@about :NAME\n@var X\n@body\n|X|\n",
         "cannot start with \":\""},
        {"a name too long for one line read",
         "@form Portrait\n@var " + longName + "\n@body\n|" + longName + "|\n", "1 to 251"},
        {"a NUL in an equation entry",
         std::string("@form Portrait\n@var X\n@body\n{=DAA03\0 11}|X| |X|\n", 48), "equation entry"},
        {"a tab in an equation entry", "@form Portrait\n@var X\n@body\n{=DAA03\t11}|X|\n", "equation entry"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = TemplateCompiler::Compile(c.source);
        EXPECT_TRUE(r.bytes.empty());
        ASSERT_EQ(r.problems.size(), 1u);
        EXPECT_NE(r.problems[0].message.find(c.message), std::string::npos) << r.problems[0].message;
    }
    // The longest name that still reads whole.
    const std::string name(251, 'N');
    ASSERT_TRUE(loadTemplate(compile("@form Portrait\n@var " + name + "\nWho?\n@body\n|" + name + "|\n")));
    EXPECT_EQ(state.varNames, std::vector<std::string>{name});
    EXPECT_EQ(state.varPrompts, std::vector<std::string>{"Who?\n"});
    EXPECT_EQ(state.occCount, 1);
}

TEST(TemplateChecker, FindsEachKindOfFault) {
    const std::string good = compile("@form Portrait\n@var A\n@var B\n@var C\n@body\n"
                                     "{=DAA0311}|A| {=CAB0311[AA*2]}|B| {=T#B0311}|C|{para}\n");
    EXPECT_TRUE(TemplateChecker::Check(good).problems.empty()) << messages(TemplateChecker::Check(good))[0];

    const auto bad = messages(
        TemplateChecker::Check("Form      Portrait\r\n:A\r\n:UNUSED\r\n:B\r\n:C\r\n:D\r\n:E\r\n:F\r\n\x15\r\n"
                               "|A| |GHOST| \xF1"
                               "CAB0311[AC*2]|B| \xF1"
                               "DAC0311|C| \xF1"
                               "CAD0311[AA + 1]|D| \xF1"
                               "DA10311|E| \xF1"
                               "DAF0005|F| trailing"));
    EXPECT_TRUE(mentions(bad, "10:6 the variable GHOST is used but not declared")) << bad[0];
    EXPECT_TRUE(mentions(bad, "3:2 the variable UNUSED is declared but never used"));
    EXPECT_TRUE(mentions(bad, "equation CAB0311[AC*2] reads AC before the field that fills it"));
    EXPECT_TRUE(mentions(bad, "equation CAD0311[AA + 1] would be refused: bad character at char 2"));
    EXPECT_TRUE(mentions(bad, "equation DA10311 addresses no cell"));
    EXPECT_TRUE(mentions(bad, "equation DAF0005 has width 5; numbers up to 99,999.99 need 7"));
    EXPECT_TRUE(mentions(bad, "text after the last mark"));
    EXPECT_TRUE(mentions(messages(TemplateChecker::Check("Form\r\n\x15\r\n\xB5word\xB5 \xAE")),
                         "3:6 the text before this underline"));

    const auto open = messages(TemplateChecker::Check("Form\r\n:A\r\n\x15\r\n|A| \xF1"
                                                      "DAA0011"));
    EXPECT_TRUE(mentions(open, "an equation without the closing"));
    EXPECT_TRUE(mentions(messages(TemplateChecker::Check("Form\r\n:A\r\n\x15\r\nx |A")),
                         "4:3 a variable reference without"));
    EXPECT_TRUE(mentions(messages(TemplateChecker::Check("Form\r\n:A\r\n")), "no separator line"));
    EXPECT_TRUE(mentions(messages(TemplateChecker::Check("form\r\n")), "does not start with \"Form\""));
    const std::string big = "Form\r\n\x15\r\n" + std::string(56000, 'x') + "\xAE";
    EXPECT_TRUE(mentions(messages(TemplateChecker::Check(big)), "near the program's limit"));
    EXPECT_TRUE(mentions(messages(TemplateChecker::Check(big + std::string(5000, 'y') + "\xAE")),
                         "reads only the first 60000"));
}

TEST(TemplateChecker, MoneyFieldsMustHoldNearlyAMillion) {
    EXPECT_EQ(TemplateChecker::PlausibleWidth(3), 11u); // $999,999.99
    EXPECT_EQ(TemplateChecker::PlausibleWidth(2), 10u); // $1,000,000
    EXPECT_EQ(TemplateChecker::PlausibleWidth(1), 9u);  // 99,999.99
    EXPECT_EQ(TemplateChecker::PlausibleWidth(0), 7u);  // 100,000
}

TEST(CsvReader, QuotedFieldsLineBreaksAndBadRows) {
    const auto records = CsvReader::Parse("\xEF\xBB\xBFNAME,ADDRESS\r\n"
                                          "\"Roe, Jane\",\"12 Elm Court\nApartment 2\"\r\n"
                                          "\n"
                                          "\"He said \"\"hi\"\"\",x\n"
                                          "Plain,\"unclosed\n");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"NAME", "ADDRESS"}));
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"Roe, Jane", "12 Elm Court\nApartment 2"}));
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[2].fields, (std::vector<std::string>{"He said \"hi\"", "x"}));
    EXPECT_EQ(records[2].line, 5);
    EXPECT_EQ(records[3].line, 6);
    EXPECT_FALSE(records[3].error.empty());
    EXPECT_FALSE(CsvReader::Parse("a\"b,c\n")[0].error.empty());
    EXPECT_FALSE(CsvReader::Parse("\"a\"b,c\n")[0].error.empty());
    EXPECT_EQ(CsvReader::Parse("a,,\n")[0].fields, (std::vector<std::string>{"a", "", ""}));
    // A record of more fields than any form has variables keeps the first ones, is refused,
    // and the next record is read as usual.
    const auto wide = CsvReader::Parse(std::string(CsvReader::kMaxFields, ',') + "\nnext,row\n");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[0].fields.size(), CsvReader::kMaxFields);
    EXPECT_EQ(wide[0].error, "it has more than 1000 fields");
    EXPECT_EQ(wide[1].fields, (std::vector<std::string>{"next", "row"}));
    EXPECT_EQ(wide[1].line, 2);
}

TEST(Merge, AFileOfBadRowsListsTheFirstThousandAndCountsTheRest) {
    qv::test::TempDir dir;
    const auto form = dir.write("f.qvf", compile("@form Portrait\n@var NAME\n@body\n|NAME|{para}\n"));
    std::string csv = "NAME\r\n";
    for (int i = 0; i < 1005; ++i)
        csv += "a,b\r\n";
    csv += "Jo\r\n";
    const auto data = dir.write("d.csv", csv);
    std::ostringstream out, err;
    qv::tools::QvformApp app;
    EXPECT_EQ(app.run({"merge", form.string(), data.string(), "--out", (dir / "out").string()}, out, err), 1);
    const nlohmann::json j = nlohmann::json::parse(out.str());
    ASSERT_EQ(j["problems"].size(), 1001u);
    EXPECT_EQ(j["problems"][999]["line"], 1001);
    EXPECT_EQ(j["problems"][1000]["line"], 1002);
    EXPECT_EQ(j["problems"][1000]["message"], "5 more rows skipped from this line on");
    EXPECT_EQ(j["written"].size(), 1u) << "the good row after them is still merged";
}

TEST(TemplateChecker, LinesToWriteOnJoinedByUnderlinedSpacesAreReported) {
    const auto check = [](const std::string& body) {
        return messages(TemplateChecker::Check(
            compile("@form Portrait\n@var A\n@var B\n@body\n|A||B|{para}\n" + body + "\n")));
    };
    const std::string joined = "two underlined blanks separated only by spaces print as one line";
    // A blank leaves the underline on up to the paragraph end or "{u}": spaces after it are
    // drawn underlined, so whatever line comes next runs on from the blank's.
    for (const char* body :
         {"{blank 30}   {blank 30}{para}", "{blank}  {blank 10}{para}", "{u}|A|   {blank 20}{para}",
          "{blank 20} |A|{para}", "{u}|A|  |B|{u}{para}", "{blank 20}   {pad 20}|A|{para}"}) {
        SCOPED_TRACE(body);
        const auto found = check(body);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_TRUE(mentions(found, joined)) << found[0];
    }
    EXPECT_TRUE(mentions(check("{blank 30}   {blank 30}{para}"), "5:14 " + joined)) << "at the second blank";
    // A gap that is not underlined, a paragraph between, or an underlined heading.
    for (const char* body : {"{blank 30}{para}{blank 30}{para}", "{u}|A|{u}   {blank 20}{para}",
                             "{pad 30}|A|   {pad 30}|B|{para}", "{blank 20}{u}   {blank 20}{para}",
                             "{u}Name        Telephone {u}{para}", "{blank 20} and {blank 20}{para}",
                             "Signed: {blank 30}{para}Date: |A|{para}"}) {
        SCOPED_TRACE(body);
        EXPECT_TRUE(check(body).empty()) << check(body)[0];
    }
}

TEST(TemplateChecker, TotalsOfUnroundedMoneyAreReportedWithTheirFields) {
    const auto check = [](const std::string& equations) {
        return messages(TemplateChecker::Check(
            compile("@form Portrait\n@var A\n@var B\n@var C\n@var D\n@var E\n@var F\n@var G\n@body\n"
                    "{=DAA0109}|A| {=DAB0311}|B| {=DBA0109}|C| {=DBB0311}|D| " +
                    equations + "{para}\n")));
    };
    const std::string hours = "{=CAC0311[AA*AB]}|E| {=CBC0311[BA*BB]}|F| ";
    for (const char* total :
         {"{=T#C0311}|G|", "{=T##0311}|G|", "{=T0311[AC+BC]}|G|", "{=CCC0311[AC+BC+50]}|G|"}) {
        SCOPED_TRACE(total);
        const auto found = check(hours + total);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_TRUE(mentions(found, "adds AC (CAC0311[AA*AB]), BC (CBC0311[BA*BB]), money worked out by "
                                    "multiplying or dividing"))
            << found[0];
    }
    EXPECT_TRUE(mentions(check("{=CAC0311[AB/3]}|E| {=CAD0311[AB/7]}|F| {=TA#0311}|G|"),
                         "adds AC (CAC0311[AB/3]), AD"))
        << "a row total; dividing";
    // Rounded or whole values, one such field, a product of them, another column, later fields.
    for (const char* fine : {"{=CAC0311[AB+BB]}|E| {=CBC0311[AB-BB]}|F| {=T#C0311}|G|",
                             "{=T#B0311}|E| {=CAC0311[AA*AB]}|F| {=T0311[AC+BB]}|G|",
                             "{=CAC0101[AA*BA]}|E| {=CBC0101[AA/BA]}|F| {=T#C0311}|G|",
                             "{=CAC0311[AA*AB]}|E| {=CBC0311[BA*BB]}|F| {=T0311[AC*BC]}|G|",
                             "{=CAC0311[AA*AB]}|E| {=CBD0311[BA*BB]}|F| {=T#C0311}|G|",
                             "{=T0311[AC+BC]}|G| {=CAC0311[AA*AB]}|E| {=CBC0311[BA*BB]}|F|"}) {
        SCOPED_TRACE(fine);
        const auto found = check(fine);
        EXPECT_FALSE(mentions(found, "money worked out by")) << found[0];
    }
}

TEST(TemplateChecker, ASourceIsCheckedWithItsOwnLinesAndColumns) {
    qv::test::TempDir dir;
    const auto check = [&](const std::string& source) {
        const auto path = dir.write("form.qvt", source);
        std::ostringstream out, err;
        qv::tools::QvformApp app;
        EXPECT_EQ(app.run({"check", path.string()}, out, err), 1);
        const nlohmann::json report = nlohmann::json::parse(out.str());
        std::vector<std::string> found;
        for (const auto& p : report["problems"])
            found.push_back(std::to_string(p["line"].get<int>()) + ":" +
                            std::to_string(p["column"].get<int>()) + " " + p["message"].get<std::string>());
        return found;
    };
    // Marks, references and text ahead of the problem on its line, and a paragraph before it.
    const auto found =
        check("# a comment\n@form Portrait\n@about Two blanks.\n@var A\nThe a, for example: x\n"
              "@var UNUSED\nNothing.\n@body\n|A|{para}\n"
              "{u}Sign {u}|A| é: {blank 30}   {blank 30}{para}\n{=DAA0311}|A| x\n");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_TRUE(mentions(found, "10:32 two underlined blanks")) << found[0];
    EXPECT_TRUE(mentions(found, "6:6 the variable UNUSED is declared but never used"));
    EXPECT_TRUE(mentions(found, "11:15 text after the last mark"));
    // A source that does not compile is told so, and not checked.
    const auto refused = check("@form Portrait\n@var A\n@body\n|A| |B|{para}\n");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0], "4:6 the variable B is not declared");
}
