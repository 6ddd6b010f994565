// Print files exist to be opened by word processors: LibreOffice reads both variants
// (converted to plain text here) and must show every answer and every line of the form.
#include "platform/FontAlias.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

using nlohmann::json;
using qv::test::ProcessRunner;
using qv::test::TempDir;

namespace {

std::string findSoffice() {
    for (const char* p : {"/usr/bin/soffice", "/usr/lib/libreoffice/program/soffice"})
        if (std::filesystem::exists(p))
            return p;
    return {};
}

// Whitespace of any kind (no-break spaces included) folded to single blanks.
std::string fold(const std::string& utf8) {
    std::string out;
    bool blank = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        const bool nbsp = c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xA0;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || nbsp) {
            blank = true;
            i += nbsp ? 1 : 0;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += static_cast<char>(c);
    }
    return out;
}

// A form line as text: marker bytes dropped, no-break spaces as blanks, each byte as the
// Windows-1252 character it stands for.
std::string lineText(const std::string& latin1Line) {
    std::string bytes;
    // The JSON strings hold code points 0-255; turn them back into bytes first.
    for (std::size_t i = 0; i < latin1Line.size(); ++i) {
        unsigned char c = latin1Line[i];
        if (c >= 0xC0 && i + 1 < latin1Line.size()) {
            c = static_cast<unsigned char>(((c & 0x1F) << 6) | (latin1Line[++i] & 0x3F));
        }
        bytes += static_cast<char>(c);
    }
    std::string out;
    for (unsigned char c : bytes) {
        if (c == 0xE6 || c == 0xE1 || c == 0xE8 || c == 0xE4 || c == 0xA1 || c == 0xC8)
            continue;
        if (c == 0xA0)
            out += ' ';
        else if (c == 0x80)
            out += "\u20AC";
        else if (c >= 0xA0)
            out += std::string{char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        else
            out += static_cast<char>(c);
    }
    return out;
}

class PrintFileInterop : public ::testing::Test {
protected:
    ProcessRunner::Result qvform(const std::vector<std::string>& args) {
        return ProcessRunner::run(
            QVFORM_EXE, args,
            {{"HOME", home.path().string()}, {"XDG_CONFIG_HOME", (home / "cfg").string()}, {"LC_ALL", "C"}});
    }
    TempDir home;
    TempDir work;
};

} // namespace

TEST_F(PrintFileInterop, LibreOfficeReadsEveryAnswerAndLine) {
    const std::string soffice = findSoffice();
    if (soffice.empty())
        GTEST_SKIP() << "LibreOffice is not installed (the test command installs it)";

    const std::string form = std::string(QV_SAMPLES_DIR) + "/promissory.qvf";
    const std::vector<std::string> answers = {"Jane {Roe} \\ Sons", "Caf\u00e9 M\u00fcller \u20ac"};
    work.write("answers.json",
               json::array({json::array({"NAME", answers[0]}), json::array({"AMOUNT", "$1,250.50"}),
                            json::array({"DATE", answers[1]})})
                   .dump());
    const std::string answersFile = (work / "answers.json").string();
    auto fill = qvform({"fill", form, "--answers", answersFile, "--today", "1997-04-02", "--print-file",
                        (work / "editor.rtf").string(), "--rtf", (work / "wordproc.rtf").string()});
    ASSERT_EQ(fill.exitCode, 0) << fill.err;
    auto layout = qvform({"layout", form, "--answers", answersFile, "--today", "1997-04-02"});
    ASSERT_EQ(layout.exitCode, 0) << layout.err;
    const json lines = json::parse(layout.out)["formLines"];

    const std::string profile = "file://" + (work / "profile").string();
    auto convert = ProcessRunner::run(soffice,
                                      {"-env:UserInstallation=" + profile, "--headless", "--convert-to",
                                       "txt:Text (encoded):UTF8", "--outdir", (work / "out").string(),
                                       (work / "editor.rtf").string(), (work / "wordproc.rtf").string()},
                                      {{"HOME", home.path().string()}});
    ASSERT_EQ(convert.exitCode, 0) << convert.err;

    for (const char* name : {"editor", "wordproc"}) {
        const std::string text = TempDir::read(work / "out" / (std::string(name) + ".txt"));
        ASSERT_FALSE(text.empty()) << name << ": " << convert.out << convert.err;
        const std::string folded = fold(text);
        for (const auto& a : answers)
            EXPECT_NE(folded.find(fold(a)), std::string::npos) << name << " lacks the answer " << a << "\n"
                                                               << text;
        EXPECT_NE(folded.find("1,251"), std::string::npos) << name;
        EXPECT_EQ(folded.find("mymarg"), std::string::npos) << name << ": the margin block shows as text";
        for (const auto& line : lines) {
            const std::string want = fold(lineText(line.get<std::string>()));
            if (!want.empty()) {
                EXPECT_NE(folded.find(want), std::string::npos)
                    << name << " lacks the line '" << want << "'\n"
                    << text;
            }
        }
    }
}

TEST_F(PrintFileInterop, LibreOfficeSetsPrintFilesInTheCourierMetricFaceOfTheAlias) {
    const std::string soffice = findSoffice();
    if (soffice.empty() || !std::filesystem::exists("/usr/bin/pdffonts"))
        GTEST_SKIP() << "LibreOffice and poppler-utils are installed by the test command";
    const std::string form = std::string(QV_SAMPLES_DIR) + "/promissory.qvf";
    auto fill = qvform({"fill", form, "--today", "1997-04-02", "--print-file", (work / "note.rtf").string()});
    ASSERT_EQ(fill.exitCode, 0) << fill.err;
    ASSERT_NE(TempDir::read(work / "note.rtf").find(qv::platform::FontAlias::kFaceName), std::string::npos);

    qv::test::TempHome user; // the alias as the setup places it
    ASSERT_TRUE(qv::platform::FontAlias::Install());
    auto convert = ProcessRunner::run(
        soffice,
        {"-env:UserInstallation=file://" + (work / "profile").string(), "--headless", "--convert-to", "pdf",
         "--outdir", (work / "out").string(), (work / "note.rtf").string()},
        {{"HOME", user.home().string()}, {"XDG_CONFIG_HOME", user.configHome().string()}});
    ASSERT_EQ(convert.exitCode, 0) << convert.err;
    const auto fonts = ProcessRunner::run("/usr/bin/pdffonts", {(work / "out" / "note.pdf").string()});
    ASSERT_EQ(fonts.exitCode, 0) << fonts.err;
    EXPECT_NE(fonts.out.find("LiberationMono"), std::string::npos) << fonts.out;
}
