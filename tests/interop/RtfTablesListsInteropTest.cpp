// LibreOffice reads the tables and lists the editor saves as it read them in the file it
// wrote itself.
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "support/LibreOffice.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

#include <QTextDocument>
#include <gtest/gtest.h>

#include <filesystem>

using qv::test::ProcessRunner;
using qv::test::TempDir;

namespace {

std::string soffice() {
    return qv::test::LibreOffice::program();
}

void convert(const TempDir& work, const std::vector<std::filesystem::path>& files, const std::string& filter) {
    std::vector<std::string> args = {"-env:UserInstallation=file://" + (work / "profile").string(), "--headless",
                                     "--convert-to", filter, "--outdir", (work / "out").string()};
    for (const auto& f : files)
        args.push_back(f.string());
    const auto r = ProcessRunner::run(soffice(), args, {{"HOME", work.path().string()}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
}

std::string content(const std::filesystem::path& odt) {
    return ProcessRunner::run("/usr/bin/unzip", {"-p", odt.string(), "content.xml"}).out;
}

std::string plainText(const std::filesystem::path& txt) {
    std::string s = TempDir::read(txt), out;
    if (s.rfind("\xEF\xBB\xBF", 0) == 0)
        s.erase(0, 3);
    for (char c : s)
        if (c != '\r')
            out += c;
    return out;
}

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(RtfTablesListsInterop, ATableAndANestedListSurviveAnUntouchedRoundTrip) {
    if (soffice().empty())
        GTEST_SKIP() << "LibreOffice is installed by the test command";
    TempDir work;
    const auto html = work.write(
        "made.html",
        "<html><body><p>Payments</p>"
        "<table border=\"1\"><tr><th>Month</th><th>Amount</th><th>Note</th></tr>"
        "<tr><td>January</td><td>100</td><td rowspan=\"2\" style=\"background:#ffff00\">paid</td></tr>"
        "<tr><td colspan=\"2\">February and March</td></tr></table>"
        "<p>Terms</p>"
        "<ol><li>First term</li><li>Second term<ul><li>a detail</li><li>another</li></ul></li>"
        "<li>Third term</li></ol><p>Signed</p></body></html>");
    convert(work, {html}, "rtf:Rich Text Format");
    const auto original = work.path() / "original.rtf";
    std::filesystem::rename(work / "out" / "made.rtf", original);

    QTextDocument doc;
    QString error;
    ASSERT_TRUE(qv::editor::RtfReader::Read(QByteArray::fromStdString(TempDir::read(original)), doc, &error));
    const QByteArray saved = qv::editor::RtfWriter::Write(doc);
    const auto savedFile = work.write("saved.rtf", std::string(saved.constData(), saved.size()));

    convert(work, {original, savedFile}, "odt");
    convert(work, {original, savedFile}, "txt:Text (encoded):UTF8");
    EXPECT_EQ(plainText(work / "out" / "saved.txt"), plainText(work / "out" / "original.txt"));
    const std::string before = content(work / "out" / "original.odt");
    const std::string after = content(work / "out" / "saved.odt");
    ASSERT_FALSE(before.empty());
    for (const char* element : {"<table:table ", "<table:table-row", "<table:table-cell ", "<table:covered-table-cell",
                                "<text:list-item", "<text:list ", "<text:list>"}) {
        SCOPED_TRACE(element);
        EXPECT_EQ(count(after, element), count(before, element));
    }
    EXPECT_EQ(count(before, "<table:table "), 1);
    EXPECT_EQ(count(before, "<text:list-item"), 5);
}
