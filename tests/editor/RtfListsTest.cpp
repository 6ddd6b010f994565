// RTF lists read into QTextLists and written back: styles, levels, first numbers, the
// kept list table, and the items' generated text never shown as text.
#include "editor/rtf/RtfListWriter.h"
#include "editor/rtf/RtfLists.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QSet>
#include <QVariant>
#include <gtest/gtest.h>

using qv::editor::RtfLists;
using qv::editor::RtfReader;
using qv::editor::RtfWriter;

namespace {

QByteArray level(int nfc, const QByteArray& text, int li, int start = 1) {
    return "{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\leveljc0\\levelstartat" + QByteArray::number(start) +
           "\\levelfollow0{\\leveltext " + text + ";}{\\levelnumbers\\'01;}\\fi-283\\li" + QByteArray::number(li) + "}";
}

/// The list tables as LibreOffice writes them: a bullet list (disc, then circle and square
/// as LibreOffice's own symbol font has them), a numbered one starting at 3 with lower
/// letters below, upper roman, and one numbered "(1)".
QByteArray header() {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f4 OpenSymbol;}}\n{\\*\\listtable\n{\\list\\listtemplateid1" +
           level(23, "\\'01\\u8226 ?", 709) + level(23, "\\'01\\u57353 ?", 1418) + level(23, "\\'01\\u57355 ?", 2127) +
           "\\listid1}\n{\\list\\listtemplateid2" + level(0, "\\'02\\'00.", 709, 3) + level(4, "\\'02\\'01.", 1418) +
           "\\listid2}\n{\\list\\listtemplateid3" + level(1, "\\'02\\'00.", 709) + "\\listid3}\n{\\list\\listtemplateid4" +
           level(0, "\\'03(\\'00)", 709) + "\\listid4}\n{\\list\\listtemplateid5" + level(22, "\\'02\\'00.", 709) +
           "\\listid5}}\n{\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}"
           "{\\listoverride\\listid2\\listoverridecount0\\ls2}{\\listoverride\\listid3\\listoverridecount0\\ls3}"
           "{\\listoverride\\listid4\\listoverridecount0\\ls4}{\\listoverride\\listid5\\listoverridecount0"
           "{\\lfolevel\\listoverridestartat\\levelstartat7}\\ls5}}\n";
}

QByteArray item(int ls, int ilvl, const QByteArray& listtext, const QByteArray& text, int li = 709) {
    return "\\pard\\plain \\s29\\sb0\\sa283{\\listtext\\pard\\plain " + listtext + "\\tab}\\ilvl" +
           QByteArray::number(ilvl) + "\\ls" + QByteArray::number(ls) + " \\li0\\fi-283\\ql\\li" +
           QByteArray::number(li) + "\\fi-283{\\loch\n" + text + "}\n\\par ";
}

/// Each paragraph: its text, and for a list item "style/indent/start/level".
QStringList describe(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString s = b.text();
        if (const QTextList* l = b.textList()) {
            const QTextListFormat f = l->format();
            s += QStringLiteral(" [%1/%2/%3/%4%5%6]")
                     .arg(int(f.style()))
                     .arg(f.indent())
                     .arg(f.property(RtfLists::kStartProperty).toInt())
                     .arg(f.numberPrefix(), QLatin1String("#"), f.numberSuffix());
            s += QStringLiteral(" @%1").arg(l->itemNumber(b));
        }
        out << s;
    }
    return out;
}

QStringList read(const QByteArray& in, QTextDocument& doc) {
    QString error;
    EXPECT_TRUE(RtfReader::Read(in, doc, &error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return describe(doc);
}

} // namespace

TEST(RtfLists, LibreOfficeListsBecomeQtListsWithTheirStylesLevelsAndStarts) {
    const QByteArray in = header() + "\\pard Intro\\par " + item(1, 0, "\\u8226\\'95", "Bullet one") +
                          item(1, 1, "\\u8226\\'95", "Sub circle", 1418) + item(1, 2, "\\u8226\\'95", "Sub square", 2127) +
                          item(1, 0, "\\u8226\\'95", "Bullet two") + item(2, 0, "3.", "Three") +
                          item(2, 1, "a.", "alpha", 1418) + item(2, 0, "4.", "Four") + item(3, 0, "I.", "Roman") +
                          item(4, 0, "(1)", "Paren") + item(5, 0, "07.", "Seven") + "\\pard End}";
    QTextDocument doc;
    const QStringList got = read(in, doc);
    const QStringList want = {
        "Intro",
        "Bullet one [-1/1/1/#] @0",
        "Sub circle [-2/2/1/#] @0",
        "Sub square [-3/3/1/#] @0",
        "Bullet two [-1/1/1/#] @1",
        "Three [-4/1/3/#.] @0",
        "alpha [-5/2/1/#.] @0",
        "Four [-4/1/3/#.] @1",
        "Roman [-8/1/1/#.] @0",
        "Paren [-4/1/1/(#)] @0",
        "Seven [-4/1/7/#.] @0",
        "End",
    };
    EXPECT_EQ(got, want);
    // The generated item text is not in the document, and the text sits where \li put it.
    EXPECT_FALSE(doc.toPlainText().contains(QChar(0x2022)));
    EXPECT_FALSE(doc.toPlainText().contains(QStringLiteral("3.")));
    const QTextBlock bullet = doc.begin().next();
    EXPECT_DOUBLE_EQ(bullet.blockFormat().leftMargin() + bullet.textList()->format().indent() * doc.indentWidth(),
                     709 / 20.0);

    // Written and read again: the same lists, and the file's own tables as they were.
    const QByteArray written = RtfWriter::Write(doc);
    EXPECT_TRUE(written.contains(level(22, "\\'02\\'00.", 709))) << "a numbering Qt cannot show survives";
    EXPECT_TRUE(written.contains("\\ls2\\ilvl1\\li0{\\listtext a.\\tab}")) << written.toStdString();
    EXPECT_TRUE(written.contains("{\\listtext 4.\\tab}"));
    EXPECT_EQ(written.count("\\listtable"), 1);
    QTextDocument again;
    EXPECT_EQ(read(written, again), want) << written.toStdString();
    EXPECT_EQ(RtfWriter::Write(again).toStdString(), written.toStdString());
}

TEST(RtfLists, OlderParagraphNumberingAndUnknownListsStillMakeLists) {
    const QByteArray in = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}"
                          "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent360{\\pntxtb\\'b7}}\\fi-360\\li720 "
                          "dot\\par"
                          "\\pard{\\pntext 1)\\tab}{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart2{\\pntxta )}}\\fi-360\\li720 letter\\par"
                          "\\pard{\\listtext 9.\\tab}\\ls9\\ilvl3 nowhere\\par\\pard plain}";
    QTextDocument doc;
    EXPECT_EQ(read(in, doc), (QStringList{"dot [-1/1/1/#] @0", "letter [-5/1/2/#)] @0", "nowhere [-1/4/1/#] @0",
                                          "plain"}));
    // A list the file had no table for gets an entry of its own when written.
    const QByteArray written = RtfWriter::Write(doc);
    EXPECT_EQ(written.count("{\\listoverride\\listid"), 3) << written.toStdString();
    QTextDocument again;
    EXPECT_EQ(read(written, again).value(1), QStringLiteral("letter [-5/1/2/#)] @0"));
}

TEST(RtfLists, AnItemThatSaysNothingOfItsIndentHasItsLevels) {
    QTextDocument doc;
    read(header() + "\\pard\\ls2\\ilvl1 bare\\par\\pard\\ls2\\ilvl1\\li100 own\\par}", doc);
    const QTextBlock bare = doc.begin(), own = bare.next();
    ASSERT_TRUE(bare.textList() && own.textList());
    EXPECT_DOUBLE_EQ(bare.blockFormat().leftMargin() + 2 * doc.indentWidth(), 1418 / 20.0);
    EXPECT_DOUBLE_EQ(bare.blockFormat().textIndent(), -283 / 20.0);
    EXPECT_DOUBLE_EQ(own.blockFormat().leftMargin() + 2 * doc.indentWidth(), 100 / 20.0);
}

TEST(RtfLists, ListsMadeInTheEditorGetAListTable) {
    struct Case {
        QTextListFormat::Style style;
        const char* nfc;
        const char* firstText;
    };
    const Case cases[] = {
        {QTextListFormat::ListDisc, "\\levelnfc23", "\\u8226?"},
        {QTextListFormat::ListCircle, "\\levelnfc23", "\\u9702?"},
        {QTextListFormat::ListSquare, "\\levelnfc23", "\\u9642?"},
        {QTextListFormat::ListDecimal, "\\levelnfc0", "1."},
        {QTextListFormat::ListLowerAlpha, "\\levelnfc4", "a."},
        {QTextListFormat::ListUpperAlpha, "\\levelnfc3", "A."},
        {QTextListFormat::ListLowerRoman, "\\levelnfc2", "i."},
        {QTextListFormat::ListUpperRoman, "\\levelnfc1", "I."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nfc);
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("one"));
        QTextListFormat f;
        f.setStyle(c.style);
        f.setIndent(2);
        cursor.createList(f);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("two"));
        const QByteArray written = RtfWriter::Write(doc);
        EXPECT_TRUE(written.contains(c.nfc)) << written.toStdString();
        EXPECT_TRUE(written.contains(QByteArray("\\ls1\\ilvl1\\li0{\\listtext ") + c.firstText + "\\tab}"))
            << written.toStdString();
        QTextDocument again;
        const QStringList got = read(written, again);
        ASSERT_EQ(got.size(), 2);
        EXPECT_TRUE(got[1].startsWith(QStringLiteral("two [%1/2/1/").arg(int(c.style)))) << got[1].toStdString();
        EXPECT_TRUE(got[1].endsWith(QStringLiteral("@1")));
        EXPECT_DOUBLE_EQ(again.begin().blockFormat().leftMargin(), doc.begin().blockFormat().leftMargin());
    }
}

TEST(RtfLists, HostileListTablesAreBounded) {
    // Levels past the ninth, a list table cut short, a huge \ilvl: read without harm.
    QByteArray lists = "{\\*\\listtable{\\list";
    for (int i = 0; i < 50; ++i)
        lists += level(0, "\\'02\\'00.", 709);
    lists += "\\listid1}}{\\listoverridetable{\\listoverride\\listid1\\ls1}}";
    QTextDocument doc;
    const QStringList got =
        read("{\\rtf1\\ansi" + lists + "\\pard\\ls1\\ilvl999999 deep\\par\\pard\\ls1\\ilvl-5 shallow\\par}", doc);
    EXPECT_EQ(got.value(0), QStringLiteral("deep [-4/9/1/#.] @0"));
    EXPECT_EQ(got.value(1), QStringLiteral("shallow [-4/1/1/#.] @0"));
    QTextDocument cut;
    QString error;
    EXPECT_TRUE(RtfReader::Read("{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc0", cut, &error));
    // What is written of it is whole RTF: every group closed, read again without a problem.
    const QByteArray written = RtfWriter::Write(cut);
    EXPECT_EQ(written.count('{'), written.count('}')) << written.constData();
    QTextDocument again;
    QString againError;
    EXPECT_TRUE(RtfReader::Read(written, again, &againError));
    EXPECT_TRUE(againError.isEmpty()) << againError.toStdString();
}

TEST(RtfLists, AVeryLongListIsReadInPartsThatReadBackTheSame) {
    // Qt renumbers every item of a list for each one added: a damaged file of many
    // thousand items would take minutes. The list goes on as lists of the same look.
    QByteArray rtf = header();
    for (int i = 0; i < 2500; ++i)
        rtf += item(2, 0, "1.", "n");
    rtf += "}";
    QTextDocument doc;
    const QStringList got = read(rtf, doc);
    ASSERT_EQ(got.size(), 2501);
    QSet<const QTextList*> lists;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.textList())
            lists << b.textList();
    EXPECT_EQ(lists.size(), 3);
    for (const QTextList* l : lists) {
        EXPECT_LE(l->count(), RtfLists::kMaxItems);
        EXPECT_EQ(l->format().intProperty(RtfLists::kOverrideProperty), 2);
    }
    EXPECT_EQ(got[999], QStringLiteral("n [-4/1/3/#.] @999"));
    EXPECT_EQ(got[1000], QStringLiteral("n [-4/1/3/#.] @0"));
    const QByteArray written = RtfWriter::Write(doc);
    QTextDocument again;
    EXPECT_EQ(read(written, again), got);
    EXPECT_EQ(RtfWriter::Write(again), written);
}
