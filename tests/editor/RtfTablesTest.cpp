// RTF tables read into QTextTables and written back: rows, cells, merged cells, nested
// tables, widths, borders and shading. Inputs are excerpts of what LibreOffice writes.
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfTables.h"
#include "editor/rtf/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using qv::editor::RtfReader;
using qv::editor::RtfWriter;

namespace {

QByteArray rtf(const QByteArray& body) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue0;}\n" +
           body + "}";
}

QString describe(QTextFrame::iterator it);

/// The document's shape: "P:text" for a paragraph, "T<rows>x<columns>[...]" for a table
/// with each cell "row,column(:rows x columns when merged)={content}".
QString describeTable(const QTextTable* t) {
    QString s = QStringLiteral("T%1x%2[").arg(t->rows()).arg(t->columns());
    for (int r = 0; r < t->rows(); ++r)
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            s += QStringLiteral(" %1,%2").arg(r).arg(c);
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                s += QStringLiteral(":%1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
            s += QStringLiteral("={") + describe(cell.begin()) + QStringLiteral("}");
        }
    return s + QStringLiteral(" ]");
}

QString describe(QTextFrame::iterator it) {
    QStringList parts;
    for (; !it.atEnd(); ++it) {
        if (const auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            parts << describeTable(t);
        else if (it.currentBlock().isValid())
            parts << QStringLiteral("P:") + it.currentBlock().text();
    }
    return parts.join(QLatin1Char('|'));
}

QString describe(const QTextDocument& doc) {
    return describe(doc.rootFrame()->begin());
}

QList<QTextTable*> tables(const QTextDocument& doc) {
    QList<QTextTable*> out;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame()))
            out << t;
    return out;
}

QList<qreal> widths(const QTextTable* t) {
    QList<qreal> out;
    for (const QTextLength& l : t->format().columnWidthConstraints())
        out << l.rawValue();
    return out;
}

void read(const QByteArray& in, QTextDocument& doc) {
    QString error;
    ASSERT_TRUE(RtfReader::Read(in, doc, &error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

struct ShapeCase {
    const char* name;
    QByteArray body;
    const char* shape;
};

const ShapeCase kShapes[] = {
    {"a plain table between two paragraphs, which stay paragraphs of their own",
     "\\pard\\plain Before\\par \\trowd\\trql\\cellx2000\\cellx4000\\pard\\plain\\intbl A\\cell\\pard\\plain\\intbl "
     "B\\cell\\row\\trowd\\trql\\cellx2000\\cellx4000\\pard\\plain\\intbl C\\cell\\pard\\plain\\intbl "
     "D\\cell\\row\\pard\\pard\\plain After\\par",
     "P:Before|T2x2[ 0,0={P:A} 0,1={P:B} 1,0={P:C} 1,1={P:D} ]|P:After|P:"},
    {"LibreOffice: a cell over two columns and one over two rows (cells as wide as two and \\clvmgf)",
     "\\pard\\plain \\s27\\sb0\\sa283\\ql{Before}\n\\par \\trowd\\trql\\clbrdrt\\brdrdb\\brdrw5\\brdrcf1"
     "\\clvertalc\\cellx557\\clcbpat2\\clvmgf\\clvertalc\\cellx873\\pard\\plain \\s20\\intbl\\ql{\nAB}\\cell\\pard\\plain "
     "\\s20\\intbl\\ql{\nC}\\cell\\row\\pard\\trowd\\trql\\clvertalc\\cellx301\\clvertalc\\cellx557\\clcbpat2\\clvmrg"
     "\\clvertalc\\cellx873\\pard\\plain \\s20\\intbl\\ql{\nD}\\cell\\pard\\plain \\s20\\intbl\\ql{\nE}\\cell\\pard\\plain "
     "\\s20\\intbl\\ql \\fs4\n\\cell\\row\\pard\\pard\\plain \\s27\\ql{\nAfter}\n\\par ",
     "P:Before|T2x3[ 0,0:1x2={P:AB} 0,2:2x1={P:C} 1,0={P:D} 1,1={P:E} ]|P:After|P:"},
    {"\\clmgf and \\clmrg join cells of one row",
     "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\pard\\intbl AB\\cell\\cell C\\cell\\row\\trowd"
     "\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl 1\\cell 2\\cell 3\\cell\\row\\pard End",
     "P:|T2x3[ 0,0:1x2={P:AB} 0,2={P:C} 1,0={P:1} 1,1={P:2} 1,2={P:3} ]|P:End"},
    {"LibreOffice: a table nested in a cell, with \\itap, \\nestcell and \\nesttableprops",
     "\\trowd\\trql\\clvertalc\\cellx853\\clvertalc\\cellx1124\\pgndec\\pard\\plain \\s20\\intbl\\ql\\sb0\\sa0{\nx}\n"
     "\\par \\pard\\plain \\s20\\intbl\\itap2\\ql{\nn1}\\nestcell\\pard\\plain \\s20\\intbl\\itap2\\ql{\nn2}\\nestcell"
     "{\\*\\nesttableprops\\trowd\\trql\\clbrdrt\\brdrdb\\brdrw5\\brdrcf1\\clvertalc\\cellx361\\clvertalc\\cellx752"
     "\\nestrow}{\\nonesttables\\par}\\pard\\plain \\s20\\intbl\\ql \\fs4\n\\cell\\trowd\\trql\\clvertalc\\cellx853"
     "\\clvertalc\\cellx1124\\pard\\plain \\s20\\intbl\\ql{\ny}\\cell\\row\\pard\\pard\\plain \\s27\\ql{\nEnd}\n\\par ",
     "P:|T1x2[ 0,0={P:x|T1x2[ 0,0={P:n1} 0,1={P:n2} ]|P:} 0,1={P:y} ]|P:End|P:"},
    {"paragraphs in a cell stay paragraphs; empty cells stay cells",
     "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl one\\par two\\cell\\cell\\pard\\intbl\\cell\\row",
     "P:|T1x3[ 0,0={P:one|P:two} 0,1={P:} 0,2={P:} ]|P:"},
    {"two tables with a paragraph between",
     "\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\pard between\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl b\\cell "
     "c\\cell\\row",
     "P:|T1x1[ 0,0={P:a} ]|P:between|T1x2[ 0,0={P:b} 0,1={P:c} ]|P:"},
    {"a row of more cells than it defines gets columns for them",
     "\\trowd\\cellx1000\\pard\\intbl a\\cell b\\cell c\\cell\\row",
     "P:|T1x3[ 0,0={P:a} 0,1={P:b} 0,2={P:c} ]|P:"},
    {"robustness: \\cell and \\row without \\intbl or \\trowd still make a table",
     "x\\cell y\\cell\\row z",
     "P:|T1x2[ 0,0={P:x} 0,1={P:y} ]|P:z"},
    {"robustness: a \\row with no cell and a \\nestrow with no table are ignored",
     "a\\row\\nestrow\\par b", "P:a|P:b"},
    {"a page break after a nested table is no new row of it",
     "\\trowd\\cellx1000\\pard\\intbl x\\par\\pard\\intbl\\itap2 n\\nestcell{\\*\\nesttableprops\\trowd\\cellx500"
     "\\nestrow}{\\nonesttables\\par}\\page\\pard\\intbl y\\cell\\row",
     "P:|T1x1[ 0,0={P:x|T1x1[ 0,0={P:n} ]|P:|P:y} ]|P:"},
    {"a table nested at the very start of a cell, and each nested table with its own widths",
     "\\trowd\\cellx2000\\cellx4000\\pard\\intbl\\itap2 a\\nestcell b\\nestcell{\\*\\nesttableprops\\trowd"
     "\\cellx500\\cellx900\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\cell\\pard\\intbl\\itap2 c\\nestcell"
     "{\\*\\nesttableprops\\trowd\\cellx700\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\cell\\row",
     "P:|T1x2[ 0,0={P:|T1x2[ 0,0={P:a} 0,1={P:b} ]|P:} 0,1={P:|T1x1[ 0,0={P:c} ]|P:} ]|P:"},
    {"cells over rows only where they have the same width",
     "\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\trowd\\clvmrg\\cellx1500"
     "\\cellx2000\\pard\\intbl\\cell c\\cell\\row",
     "P:|T2x3[ 0,0={P:a} 0,1:1x2={P:b} 1,0:1x2={P:} 1,2={P:c} ]|P:"},
    {"text in a cell \\clmrg joins to the one before stays",
     "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\pard\\intbl a\\cell b\\cell\\row",
     "P:|T1x1[ 0,0={P:a|P:b} ]|P:"},
    {"robustness: cells past the limit go into the last one",
     "\\trowd\\cellx100\\pard\\intbl " + QByteArray("x\\cell ").repeated(70) + "\\row",
     nullptr},
};

class Shapes : public ::testing::TestWithParam<ShapeCase> {};

} // namespace

TEST_P(Shapes, ReadAndRoundTrip) {
    const ShapeCase& c = GetParam();
    QTextDocument doc;
    read(rtf(c.body), doc);
    if (c.shape) {
        EXPECT_EQ(describe(doc).toStdString(), c.shape);
    }
    // Written and read again, the document is the same.
    const QByteArray written = RtfWriter::Write(doc);
    QTextDocument again;
    read(written, again);
    EXPECT_EQ(describe(again).toStdString(), describe(doc).toStdString()) << written.toStdString();
    // And written again, the same bytes: nothing read back is read differently.
    EXPECT_EQ(RtfWriter::Write(again).toStdString(), written.toStdString());
    const auto first = tables(doc), second = tables(again);
    ASSERT_EQ(first.size(), second.size());
    for (int i = 0; i < first.size(); ++i)
        EXPECT_EQ(widths(first[i]), widths(second[i]));
}

INSTANTIATE_TEST_SUITE_P(RtfTables, Shapes, ::testing::ValuesIn(kShapes),
                         [](const ::testing::TestParamInfo<ShapeCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(RtfTables, BoundedAgainstHugeDefinitions) {
    // Cells and columns a file asks for are bounded; the text is all there.
    QByteArray body = "\\trowd";
    for (int i = 1; i <= 5000; ++i)
        body += "\\cellx" + QByteArray::number(i * 10);
    body += "\\pard\\intbl a\\cell b\\cell\\row\\trowd";
    for (int i = 1; i <= 300; ++i)
        body += "\\cellx" + QByteArray::number(i * 7);
    body += "\\pard\\intbl c\\cell\\row\\pard d";
    QTextDocument doc;
    read(rtf(body), doc);
    const auto t = tables(doc);
    ASSERT_EQ(t.size(), 1);
    EXPECT_LE(t[0]->columns(), qv::editor::RtfTables::kMaxColumns);
    EXPECT_EQ(t[0]->rows(), 2);
    const QString text = doc.toPlainText();
    for (const char* s : {"a", "b", "c", "d"})
        EXPECT_TRUE(text.contains(QLatin1String(s))) << s;
}

TEST(RtfTables, AVeryLongTableIsReadInPartsThatReadBackTheSame) {
    // Qt works out a table's whole grid again for each row added: a damaged file of many
    // thousand rows would take minutes. The table goes on as tables of the same columns.
    QByteArray body;
    for (int i = 0; i < 2500; ++i)
        body += "\\trowd\\cellx1000\\cellx2000\\pard\\intbl r" + QByteArray::number(i) +
                "\\cell x\\cell\\row";
    body += "\\pard after\\par";
    QTextDocument doc;
    read(rtf(body), doc);
    const auto t = tables(doc);
    ASSERT_EQ(t.size(), 3);
    EXPECT_EQ(t[0]->rows(), qv::editor::RtfTables::kMaxRows);
    EXPECT_EQ(t[2]->rows(), 500);
    for (const QTextTable* table : t)
        EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(t[1]->cellAt(0, 0).firstCursorPosition().block().text(), QStringLiteral("r1000"));
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("after")));
    const QByteArray written = RtfWriter::Write(doc);
    QTextDocument again;
    read(written, again);
    EXPECT_EQ(describe(again), describe(doc));
    EXPECT_EQ(RtfWriter::Write(again), written);
}

TEST(RtfTables, ColumnWidthsBordersShadingAndRowSettings) {
    QTextDocument doc;
    read(rtf("\\trowd\\trqc\\trhdr\\trrh400\\trpaddl100\\trpaddr100\\clbrdrt\\brdrs\\brdrw20\\brdrcf2\\clbrdrb\\brdrdb"
             "\\brdrw10\\clcbpat2\\clvertalc\\cellx1440\\clshdng5000\\cellx4320\\pard\\intbl h1\\cell h2\\cell\\row"
             "\\trowd\\trqc\\trleft-100\\cellx1440\\cellx4320\\pard\\intbl a\\cell b\\cell\\row"),
         doc);
    const auto t = tables(doc);
    ASSERT_EQ(t.size(), 1);
    // Edges in twips become widths in points.
    EXPECT_EQ(widths(t[0]), (QList<qreal>{72, 144}));
    const QTextTableFormat tf = t[0]->format();
    EXPECT_EQ(tf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(tf.headerRowCount(), 1);
    const QTextTableCellFormat head = t[0]->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_EQ(head.topBorder(), 1.0);
    EXPECT_EQ(head.topBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
    EXPECT_EQ(head.topBorderBrush().color(), QColor(255, 255, 0));
    EXPECT_EQ(head.bottomBorderStyle(), QTextFrameFormat::BorderStyle_Double);
    EXPECT_EQ(head.leftBorder(), 0);
    EXPECT_EQ(head.background().color(), QColor(255, 255, 0));
    EXPECT_EQ(head.verticalAlignment(), QTextCharFormat::AlignMiddle);
    EXPECT_EQ(head.leftPadding(), 5.0);
    EXPECT_EQ(head.property(qv::editor::RtfTables::kRowHeightProperty).toInt(), 400);
    // Half black over white.
    EXPECT_EQ(t[0]->cellAt(0, 1).format().background().color().red(), 128);

    // All of it comes back.
    QTextDocument again;
    read(RtfWriter::Write(doc), again);
    const auto t2 = tables(again);
    ASSERT_EQ(t2.size(), 1);
    EXPECT_EQ(widths(t2[0]), widths(t[0]));
    EXPECT_EQ(t2[0]->format().headerRowCount(), 1);
    EXPECT_EQ(t2[0]->format().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextTableCellFormat head2 = t2[0]->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_EQ(head2.topBorder(), head.topBorder());
    EXPECT_EQ(head2.topBorderBrush().color(), head.topBorderBrush().color());
    EXPECT_EQ(head2.bottomBorderStyle(), head.bottomBorderStyle());
    EXPECT_EQ(head2.background().color(), head.background().color());
    EXPECT_EQ(head2.verticalAlignment(), head.verticalAlignment());
    EXPECT_EQ(head2.leftPadding(), head.leftPadding());
    EXPECT_EQ(head2.property(qv::editor::RtfTables::kRowHeightProperty).toInt(), 400);
}

TEST(RtfTables, TablesMadeInTheEditorAreWritten) {
    // A table the user inserted, with a cell typed into and two merged, after a paragraph.
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Intro"));
    QTextTableFormat f;
    f.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::VariableLength, 0),
                                 QTextLength(QTextLength::PercentageLength, 25)});
    QTextTable* t = c.insertTable(3, 3, f);
    t->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("typed"));
    t->cellAt(2, 2).firstCursorPosition().insertText(QStringLiteral("corner"));
    t->mergeCells(0, 1, 2, 2);
    QTextDocument again;
    read(RtfWriter::Write(doc), again);
    EXPECT_EQ(describe(again).toStdString(),
              "P:Intro|T3x3[ 0,0={P:typed} 0,1:2x2={P:} 1,0={P:} 2,0={P:} 2,1={P:} 2,2={P:corner} ]|P:");
    EXPECT_EQ(widths(tables(again).value(0)).value(0), 100);
}
