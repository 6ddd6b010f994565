// The print file editor and LibreOffice read each other's RTF.
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "support/LibreOffice.h"
#include "support/ProcessRunner.h"
#include "support/TempDir.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

#include <filesystem>

using qv::test::ProcessRunner;
using qv::test::TempDir;

namespace {

std::string soffice() {
    return qv::test::LibreOffice::program();
}

/// Converts `file` with LibreOffice into `filter` in `out`; the converted file's path.
std::filesystem::path convert(const TempDir& work, const std::filesystem::path& file,
                              const std::string& filter, const std::string& extension) {
    const auto r =
        ProcessRunner::run(soffice(),
                           {"-env:UserInstallation=file://" + (work / "profile").string(), "--headless",
                            "--convert-to", filter, "--outdir", (work / "out").string(), file.string()},
                           {{"HOME", work.path().string()}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return work / "out" / (file.stem().string() + "." + extension);
}

} // namespace

TEST(EditorInterop, RtfFromLibreOfficeLoadsWithItsFormatting) {
    if (soffice().empty())
        GTEST_SKIP() << "LibreOffice is installed by the test command";
    TempDir work;
    const auto html = work.write(
        "made.html", "<html><body>"
                     "<p style=\"text-align:center\"><b>Bold title</b></p>"
                     "<p><i>italic</i> <u>underlined</u> "
                     "<span style=\"font-family:'Liberation Serif'; font-size:20pt\">big serif</span></p>"
                     "<p style=\"text-align:right\">right</p>"
                     "</body></html>");
    const auto rtf = convert(work, html, "rtf:Rich Text Format", "rtf");
    ASSERT_TRUE(std::filesystem::exists(rtf));
    QTextDocument doc;
    ASSERT_TRUE(qv::editor::RtfReader::Read(QByteArray::fromStdString(TempDir::read(rtf)), doc));
    QMap<QString, QTextCharFormat> formats;
    QMap<QString, Qt::Alignment> aligns;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            formats[it.fragment().text().trimmed()] = it.fragment().charFormat();
            aligns[it.fragment().text().trimmed()] = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        }
    ASSERT_TRUE(formats.contains(QStringLiteral("Bold title"))) << doc.toPlainText().toStdString();
    EXPECT_EQ(formats[QStringLiteral("Bold title")].fontWeight(), QFont::Bold);
    EXPECT_EQ(aligns[QStringLiteral("Bold title")], Qt::AlignHCenter);
    EXPECT_TRUE(formats[QStringLiteral("italic")].fontItalic());
    EXPECT_TRUE(formats[QStringLiteral("underlined")].fontUnderline());
    EXPECT_EQ(formats[QStringLiteral("big serif")].fontPointSize(), 20);
    EXPECT_EQ(formats[QStringLiteral("big serif")].fontFamilies().toStringList().value(0),
              QStringLiteral("Liberation Serif"));
    EXPECT_EQ(aligns[QStringLiteral("right")], Qt::AlignRight);
}

TEST(EditorInterop, LibreOfficeReadsTheEditorsFilesAsTheEditorHoldsThem) {
    if (soffice().empty())
        GTEST_SKIP() << "LibreOffice is installed by the test command";
    TempDir work;
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Ren\u00e9e M\u00fcller owes \u20ac 12 {in full} \\ now."));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertBlock();
    c.insertText(QStringLiteral("Signed: \u0410\u0411"), bold);
    const QByteArray rtf =
        qv::editor::RtfWriter::Write(doc) +
        "{\r\n\\mymargl1440\r\n\\mymargr1440\r\n\\mymargt1440\r\n\\mymargb1440\r\n\\orient1\r\n};";
    const auto file = work.write("saved.rtf", std::string(rtf.constData(), rtf.size()));
    const auto txt = convert(work, file, "txt:Text (encoded):UTF8", "txt");
    std::string text = TempDir::read(txt);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::string expected = doc.toPlainText().toStdString();
    std::string normalized;
    for (char ch : text)
        if (ch != '\r')
            normalized += ch;
    EXPECT_EQ(normalized, expected);
}
