#include "formengine/WorksheetFile.h"
#include "platform/IniProfile.h"
#include "setup/FormsArchive.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"
#include "support/TemplateBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

using nlohmann::json;
using qv::test::ProcessRunner;
using qv::test::TempDir;
using qv::test::TemplateBuilder;

namespace {

class Qvform : public ::testing::Test {
protected:
    ProcessRunner::Result run(const std::vector<std::string>& args) {
        return ProcessRunner::run(QVFORM_EXE, args,
                                  {{"HOME", home.path().string()},
                                   {"XDG_CONFIG_HOME", (home / ".config").string()},
                                   {"LC_ALL", "C"}});
    }
    json inspect(const std::string& file, const std::string& today = "1997-04-02") {
        auto r = run({"inspect", file, "--today", today});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out.back(), '\n');
        return json::parse(r.out);
    }
    qv::platform::IniProfile settings() {
        return qv::platform::IniProfile(home / ".config" / "Q-V Davov Software" / "QVLegal.ini");
    }

    TempDir home;
    TempDir files;
};

} // namespace

TEST_F(Qvform, InspectsTheBundledSample) {
    json j = inspect(std::string(QV_SAMPLES_DIR) + "/promissory.qvf");
    EXPECT_EQ(j["kind"], "template");
    EXPECT_EQ(j["orientation"], 1);
    EXPECT_EQ(j["margins"], json({100, 100, 100, 100}));
    EXPECT_EQ(j["varNames"], json({"NAME", "AMOUNT", "DATE"}));
    EXPECT_EQ(j["equations"], json({"DAA0010"}));
    EXPECT_EQ(j["occCount"], 3);
    EXPECT_EQ(j["currentOcc"], 0);
    EXPECT_EQ(j["runTexts"][j["occRuns"][2].get<int>()], "April 2, 1997");
    ASSERT_EQ(j["cells"].size(), 26u);
    EXPECT_EQ(j["cells"][25].size(), 26u);
    EXPECT_EQ(j["runTexts"].size(), j["runFlags"].size());
    EXPECT_EQ(j["runTexts"].size(), j["runValues"].size());
    for (const char* key : {"varPrompts", "occVars"})
        EXPECT_TRUE(j.contains(key)) << key;
}

TEST_F(Qvform, WritesEveryByteAsTheCodePointOfTheSameValue) {
    auto file = files.write("bytes.qvf", TemplateBuilder()
                                             .header("Form      LANDSCAPE")
                                             .declare("X\xE9", "Caf\xE9 \x80")
                                             .body("\xB5|X\xE9|\xB5 na\xEFve")
                                             .bytes());
    auto r = run({"inspect", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Escaped, ASCII-only output.
    EXPECT_NE(r.out.find("\"\\u00a0\""), std::string::npos);
    EXPECT_NE(r.out.find("Caf\\u00e9 \\u0080"), std::string::npos);
    for (unsigned char c : r.out)
        ASSERT_LT(c, 0x80);
    json j = json::parse(r.out);
    EXPECT_EQ(j["orientation"], 2);
    EXPECT_EQ(j["varNames"][0], "X\u00e9");
}

TEST_F(Qvform, AppliesTheDefaultVariableSetFromTheUserSettings) {
    auto p = settings();
    p.WriteProfileString("VarSection 2", "Var 0", "Zoë Müller");
    p.WriteProfileInt("Variable Sets", "Default", 2);
    auto file = files.write("f.qvf", TemplateBuilder::simple({"NAME"}, "|NAME|"));
    json j = inspect(file.string());
    EXPECT_EQ(j["runTexts"][1], "Zo\u00eb M\u00fcller");
}

TEST_F(Qvform, InspectsAWorksheetWithItsPageSettings) {
    qv::WorksheetData d;
    d.version = 1023;
    d.runTexts = {"", "\xA0", ""};
    d.runFlags = {0, 6, 0};
    d.runValues = {0, 0, 0};
    d.varNames = {"NAME"};
    d.varPrompts = {""};
    d.occCount = 1;
    d.occRuns = {1};
    d.occVars = {0};
    d.orientation = 2;
    d.margins = {50, 60, 70, 80};
    d.cells.set('C', 'D', 2.5);
    auto file = files.write("w.qvw", qv::WorksheetFile::encode(d));
    json j = inspect(file.string());
    EXPECT_EQ(j["kind"], "worksheet");
    EXPECT_EQ(j["orientation"], 2);
    EXPECT_EQ(j["margins"], json({50, 60, 70, 80}));
    EXPECT_EQ(j["cells"][2][3], 2.5);
    EXPECT_EQ(j["runTexts"][1], "\u00a0");
}

TEST_F(Qvform, RefusedFilesExitOneWithTheSuiteMessage) {
    struct {
        std::string name, bytes, message;
    } cases[] = {
        {"a.qvf", "form\r\n", "I'm sorry, but the file you are trying to load is not an Q-V Davov Form"},
        {"b.qvf", "Form\r\n:X\r\n",
         "I'm sorry, but the file you are trying to load is not an Q-V Davov Form"},
        {"c.qvw", "\x04QVWS", "I'm sorry, but this file is not an Q-V Davov Worksheet"},
        {"d.qvw", std::string("\x04QVWS\x01\x04\x00\x00", 9),
         "I'm sorry, but this is an Q-V Davov Worksheet made for a new version of Q-V Davov Forms"},
    };
    for (const auto& c : cases) {
        auto r = run({"inspect", files.write(c.name, c.bytes).string()});
        EXPECT_EQ(r.exitCode, 1) << c.name;
        EXPECT_EQ(r.err, c.message + "\n") << c.name;
        EXPECT_EQ(r.out, "") << c.name;
    }
    auto missing = run({"inspect", (files / "none.qvf").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "There was an error opening the file.\n");
}

TEST_F(Qvform, BadUsageExitsTwoWithOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"inspect"},
        {"inspect", "a.qvf", "b.qvf"},
        {"inspect", "a.qvf", "--today"},
        {"inspect", "a.qvf", "--today", "1997-02-30"},
        {"inspect", "a.qvf", "--today", "yesterday"},
        {"inspect", "a.qvf", "--colour", "red"},
    };
    for (const auto& args : cases) {
        auto r = run(args);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(Qvform, HelpExplainsEveryCommand) {
    auto r = run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("inspect FILE"), std::string::npos);
    EXPECT_NE(r.out.find("--today"), std::string::npos);
    for (const char* command :
         {"archive ARCHIVE --list", "archive ARCHIVE --extract DIR", "expand SOURCE DEST"})
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    EXPECT_EQ(run({"inspect", "--help"}).exitCode, 0);
}

namespace {

/// An SZDD file as the platform's compression tool writes it, every byte a literal (a flag
/// byte of eight ones before each eight bytes), which the expander must take like any other.
std::string szdd(const std::string& plain) {
    std::string out("SZDD\x88\xF0\x27\x33"
                    "A_",
                    10);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(plain.size() >> (8 * i) & 0xFF);
    for (std::size_t at = 0; at < plain.size(); at += 8) {
        out += '\xFF';
        out += plain.substr(at, 8);
    }
    return out;
}

} // namespace

TEST_F(Qvform, ArchiveListsAndExtractsTheFormsAsTheSetupDoes) {
    const std::string archive =
        qv::setup::FormsArchive::Write({{"A101", "Form\r\n:one\r\n"}, {"AB", std::string("two\0bytes", 9)}});
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"FORMS.WA_", szdd(archive)},
                                      std::pair<std::string, std::string>{"plain.arc", archive}}) {
        const std::string path = files.write(name, bytes).string();
        auto listed = run({"archive", path, "--list"});
        ASSERT_EQ(listed.exitCode, 0) << name << listed.err;
        EXPECT_EQ(json::parse(listed.out)["records"],
                  json::parse(R"([{"name": "A101", "length": 12}, {"name": "AB", "length": 9}])"))
            << name;
        const auto dir = files / (name + ".out");
        auto extracted = run({"archive", path, "--extract", dir.string()});
        ASSERT_EQ(extracted.exitCode, 0) << name << extracted.err;
        EXPECT_EQ(json::parse(extracted.out)["written"].size(), 2u);
        EXPECT_EQ(TempDir::read(dir / "A101.QVF"), "Form\r\n:one\r\n") << name;
        EXPECT_EQ(TempDir::read(dir / "AB.QVF"), std::string("two\0bytes", 9)) << name;
    }
}

TEST_F(Qvform, ArchiveAndExpandRefuseBadInputWithTheSetupMessagesAndWriteNothing) {
    const std::string good = qv::setup::FormsArchive::Write({{"A101", "x"}});
    std::string cut = szdd(good);
    cut.resize(cut.size() - 5);
    std::string hostile = qv::setup::FormsArchive::Write({{"ok", "fine"}});
    hostile.insert(hostile.size() - 8, std::string("../x", 4) + std::string("\x03\0\0\0", 4) + "bad");
    struct Case {
        std::string name, bytes, message;
    };
    const std::string damaged = " on the disk is damaged.  Setup was halted\n";
    for (const Case& c :
         {Case{"NOEND.WA_", good.substr(0, good.size() - 8), "The forms archive NOEND.WA_" + damaged},
          Case{"BIG.WA_", qv::setup::FormsArchive::Write({{"BIG", std::string(30001, 'x')}}),
               "The forms archive BIG.WA_" + damaged},
          Case{"HOSTILE.WA_", hostile, "The forms archive HOSTILE.WA_" + damaged},
          Case{"CUT.WA_", cut, "The forms archive CUT.WA_" + damaged}}) {
        const auto dir = files / (c.name + ".out");
        auto r = run({"archive", files.write(c.name, c.bytes).string(), "--extract", dir.string()});
        EXPECT_EQ(r.exitCode, 1) << c.name;
        EXPECT_EQ(r.err, c.message) << c.name;
        EXPECT_TRUE(r.out.empty()) << c.name;
        EXPECT_TRUE(!std::filesystem::exists(dir) || std::filesystem::is_empty(dir)) << c.name;
    }
    const std::string missing = (files / "FORMS.WA_").string();
    auto none = run({"archive", missing, "--list"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, missing + " could not be found.  Setup was halted\nErrorCode -1\n");

    // expand: one compressed file, or a plain one copied; a damaged one leaves no DEST.
    const std::string text = "Tolvad data, longer than one flag group\r\n";
    auto expanded = run({"expand", files.write("T.DA_", szdd(text)).string(), (files / "T.DAT").string()});
    ASSERT_EQ(expanded.exitCode, 0) << expanded.err;
    EXPECT_EQ(TempDir::read(files / "T.DAT"), text);
    EXPECT_EQ(run({"expand", files.write("P.DAT", text).string(), (files / "P2.DAT").string()}).exitCode, 0);
    EXPECT_EQ(TempDir::read(files / "P2.DAT"), text);
    std::string spoilt = szdd(text);
    spoilt.resize(spoilt.size() / 2);
    const std::string source = files.write("S.DA_", spoilt).string();
    auto bad = run({"expand", source, (files / "S.DAT").string()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "I could not copy " + source +
                           ".  The disk may be damaged your hard drive may be full.  Setup "
                           "was halted\n");
    EXPECT_FALSE(std::filesystem::exists(files / "S.DAT"));
    auto gone = run({"expand", (files / "gone.DA_").string(), (files / "G.DAT").string()});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_EQ(gone.err, (files / "gone.DA_").string() + " could not be found.  Setup was halted\n");
    for (const std::vector<std::string>& usage : {std::vector<std::string>{"archive", missing},
                                                  {"archive", missing, "--list", "--extract", "d"},
                                                  {"expand", missing}})
        EXPECT_EQ(run(usage).exitCode, 2) << ::testing::PrintToString(usage);
}

namespace {

class QvformFill : public Qvform {
protected:
    std::string form() { return std::string(QV_SAMPLES_DIR) + "/promissory.qvf"; }
    std::string answers(const json& pairs) { return files.write("answers.json", pairs.dump()).string(); }
};

} // namespace

TEST_F(QvformFill, LayoutStoresAnswersAndMarksTheCurrentOccurrence) {
    auto r = run({"layout", form(), "--today", "1997-04-02", "--current", "1", "--cpl", "40", "--answers",
                  answers(json::array({json::array({"NAME", "Jane Roe"}), json::array({"1", "$2,000"})}))});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["runTexts"][10], "Jane Roe");
    EXPECT_EQ(j["cells"][0][0], 2000.0);
    EXPECT_EQ(j["currentLine"], 2);
    bool found = false;
    for (const auto& line : j["formLines"]) {
        const std::string s = line.get<std::string>();
        found = found || s.find("\u00a1") != std::string::npos; // the current-variable marker
    }
    EXPECT_TRUE(found);
}

TEST_F(QvformFill, WritesEveryOutputAskedFor) {
    const auto ws = files / "out.qvw", qvp = files / "out.qvp", rtf = files / "out.rtf";
    auto r = run({"fill", form(), "--answers", answers(json::array({json::array({"AMOUNT", "12"})})),
                  "--margins", "75,100,125,50", "--orientation", "2", "--worksheet", ws.string(),
                  "--print-file", qvp.string(), "--rtf", rtf.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(json::parse(r.out)["written"], json({ws.string(), qvp.string(), rtf.string()}));
    const std::string editor = TempDir::read(qvp);
    EXPECT_EQ(editor.substr(editor.rfind("}{")),
              "}{\r\n\\mymargl1080\r\n\\mymargr1800\r\n\\mymargt1440\r\n\\mymargb720\r\n\\orient2\r\n};");
    EXPECT_EQ(TempDir::read(rtf).back(), '}');
    json back = json::parse(run({"inspect", ws.string()}).out);
    EXPECT_EQ(back["orientation"], 2);
    EXPECT_EQ(back["margins"], json({75, 100, 125, 50}));
    EXPECT_EQ(back["cells"][0][0], 12.0);
}

TEST_F(QvformFill, BadAnswersFilesAreRefusedWithAReason) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"not json", "not an array"},
        {"{\"NAME\": \"x\"}", "not a JSON array"},
        {"[[\"NAME\"]]", "not a [key, value] pair"},
        {"[[\"NOSUCH\", \"x\"]]", "no variable named NOSUCH"},
        {"[[\"99\", \"x\"]]", "no occurrence 99"},
        {"[[\"NAME\", \"x\"], 5]", "answer 2 of"},
        {"[[\"NAME\", \"x\"], [\"NAME\", \"y\", \"z\"]]", "answer 2 of"},
        {"[[\"NAME\", \"x\"], [\"NAME\", [\"y\"]]]", "answer 2 of"},
        {"[[\"NAME\", \"x\"], {}]", "answer 2 of"},
        // Nested a million deep: refused, without a tree of the file in memory.
        {"[[" + std::string(1000000, '[') + std::string(1000000, ']') + "]]", "answer 1 of"},
        {"[[\"NAME\", \"x\"]", "not a JSON array"},
    };
    for (const auto& [content, reason] : cases) {
        auto r = run({"layout", form(), "--answers", files.write("bad.json", content).string()});
        EXPECT_EQ(r.exitCode, 1) << content;
        EXPECT_NE(r.err.find(reason == "not an array" ? "not a JSON array" : reason), std::string::npos)
            << r.err;
    }
    auto missing = run({"layout", form(), "--answers", (files / "none.json").string()});
    EXPECT_EQ(missing.exitCode, 1);
}

TEST_F(QvformFill, UsageErrorsAndWriteFailures) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"layout", form(), "--cpl", "0"},
                                                                  {"layout", form(), "--current", "3"},
                                                                  {"fill", form(), "--margins", "1,2,3"},
                                                                  {"fill", form(), "--orientation", "3"},
                                                                  {"fill", form(), "--pdf"}}) {
        auto r = run(args);
        EXPECT_EQ(r.exitCode, 2) << ::testing::PrintToString(args) << r.err;
    }
    auto r = run({"fill", form(), "--print-file", (files / "no" / "dir" / "x.qvp").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("could not be written"), std::string::npos) << r.err;
}

TEST_F(QvformFill, PdfPagesCarryNumbersOnlyWhenThereIsMoreThanOne) {
    if (!std::filesystem::exists("/usr/bin/pdftotext"))
        GTEST_SKIP() << "pdftotext is not installed (the test command installs poppler-utils)";
    auto pagesOf = [&](const std::string& body, const std::string& name) {
        const auto pdf = files / (name + ".pdf");
        auto r = run({"fill", files.write(name + ".qvf", TemplateBuilder::simple({"X"}, body)).string(),
                      "--pdf", pdf.string()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");
        auto text = ProcessRunner::run("/usr/bin/pdftotext", {"-layout", pdf.string(), "-"});
        return text.out;
    };
    std::string shortBody = "One short paragraph |X|.\xAE";
    const std::string one = pagesOf(shortBody, "one");
    EXPECT_NE(one.find("One short paragraph"), std::string::npos) << one;
    EXPECT_EQ(one.find("- 1 -"), std::string::npos);
    EXPECT_EQ(std::count(one.begin(), one.end(), '\f'), 1);

    // 30 double-spaced paragraphs take 60 lines: more than one Letter page.
    std::string longBody;
    for (int i = 0; i < 30; ++i)
        longBody += "Paragraph " + std::to_string(i) + " of the agreement.\xAE";
    const std::string two = pagesOf(longBody, "two");
    EXPECT_EQ(std::count(two.begin(), two.end(), '\f'), 2);
    EXPECT_NE(two.find("- 1 -"), std::string::npos) << two;
    EXPECT_NE(two.find("- 2 -"), std::string::npos) << two;
    EXPECT_NE(two.find("Paragraph 29 of the agreement."), std::string::npos);
}

TEST_F(Qvform, RtfOpensAndSavesAsTheEditorDoesAndReportsWhatWasRead) {
    const std::string margins = "{\r\n\\mymargl720\r\n\\mymargr1080\r\n\\mymargt1440\r\n\\mymargb360\r\n\\orient2\r\n};";
    const auto printFile = files.write(
        "note.qvp", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs24 \\pard\\qc NOTE\\par "
                    "\\pard I, {\\ul Jane Roe}, promise.\\par}\r\n" + margins);
    auto r = run({"rtf", printFile.string(), (files / "out.qvp").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json j = json::parse(r.out);
    EXPECT_EQ(j["paragraphs"], 3);
    for (const char* key : {"tables", "cells", "listItems", "pictures", "fields", "links", "kept"})
        EXPECT_EQ(j[key], 0) << key;
    EXPECT_TRUE(j["problem"].is_null());
    const std::string saved = TempDir::read(files / "out.qvp");
    EXPECT_TRUE(saved.size() > margins.size() && saved.substr(saved.size() - margins.size()) == margins)
        << "the margin block is kept";
    EXPECT_EQ(saved.find("\\mymargl"), saved.rfind("\\mymargl"));
    EXPECT_NE(saved.find("Jane Roe"), std::string::npos);

    // Read only in part: the problem, exit 1, and OUT written with what was read.
    const auto damaged = files.write(
        "damaged.rtf", "{\\rtf1 Read part.\\par \\averylongcontrolwordthatnoreaderknowsaboutatall Lost.\\par}");
    r = run({"rtf", damaged.string(), (files / "damaged-out.rtf").string()});
    EXPECT_EQ(r.exitCode, 1);
    j = json::parse(r.out);
    ASSERT_TRUE(j["problem"].is_string()) << r.out;
    EXPECT_FALSE(j["problem"].get<std::string>().empty());
    EXPECT_NE(TempDir::read(files / "damaged-out.rtf").find("Read part."), std::string::npos);

    // Not RTF: the suite's message, nothing written.
    const auto text = files.write("plain.txt", "just text");
    r = run({"rtf", text.string(), (files / "never.rtf").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "qvform: Failed to open document.\n");
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(std::filesystem::exists(files / "never.rtf"));

    EXPECT_EQ(run({"rtf", printFile.string()}).exitCode, 2);
}
