#include "editor/rtf/RtfDocumentCounts.h"
#include "editor/rtf/RtfKept.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using qv::editor::RtfDocumentCounts;
namespace RtfKept = qv::editor::RtfKept;

TEST(RtfDocumentCounts, CountsWhatTheEditorsDocumentHolds) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Title"));

    // A 3 x 3 table whose first row is one merged cell, and a 1 x 2 table inside a cell.
    QTextTable* table = c.insertTable(3, 3);
    table->mergeCells(0, 0, 1, 3);
    QTextCursor inner = table->cellAt(2, 2).firstCursorPosition();
    inner.insertTable(1, 2);
    c = QTextCursor(doc.rootFrame()->lastCursorPosition());

    // A list of two items and a paragraph after it.
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    c.insertList(bullets);
    c.insertText(QStringLiteral("one"));
    c.insertBlock();
    c.insertText(QStringLiteral("two"));
    c.insertBlock(QTextBlockFormat());

    // One link in two formats, then a second link to another place: two links.
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.com/a"));
    c.insertText(QStringLiteral("plain "), link);
    link.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("bold"), link);
    link.setAnchorHref(QStringLiteral("https://example.com/b"));
    link.setProperty(RtfKept::kFieldInstructionProperty, QByteArray(" HYPERLINK \"https://example.com/b\" "));
    c.insertText(QStringLiteral("other"), link);
    c.insertText(QStringLiteral(" "), QTextCharFormat());

    // A field result (page number) and two pictures side by side.
    QTextCharFormat field;
    field.setProperty(RtfKept::kFieldInstructionProperty, QByteArray(" PAGE "));
    c.insertText(QStringLiteral("7"), field);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("pic"));
    c.insertImage(picture);
    c.insertImage(picture);

    // Two kept groups in the text (a footnote and a WMF picture) and three in the header.
    QTextCharFormat kept;
    kept.setObjectType(RtfKept::kObjectType);
    kept.setProperty(RtfKept::kGroupProperty, QByteArray("{\\footnote x}"));
    c.insertText(QString(QChar::ObjectReplacementCharacter), kept);
    kept.setProperty(RtfKept::kGroupProperty, QByteArray("{\\pict\\wmetafile8 00}"));
    c.insertText(QString(QChar::ObjectReplacementCharacter), kept);
    doc.setProperty(RtfKept::kDocumentGroups,
                    QVariant::fromValue(QList<QByteArray>{"{\\stylesheet}", "{\\header x}", "\\paperw12240"}));

    const RtfDocumentCounts counts = RtfDocumentCounts::Count(doc);
    EXPECT_EQ(counts.tables, 2);
    EXPECT_EQ(counts.cells, 1 + 3 + 3 + 2);
    EXPECT_EQ(counts.listItems, 2);
    EXPECT_EQ(counts.pictures, 2);
    EXPECT_EQ(counts.links, 2);
    EXPECT_EQ(counts.fields, 3) << "the page number and the two links, a link with its instruction once";
    EXPECT_EQ(counts.kept, 5);
    EXPECT_EQ(counts.paragraphs, doc.blockCount());

    QTextDocument empty;
    EXPECT_EQ(RtfDocumentCounts::Count(empty), (RtfDocumentCounts{1, 0, 0, 0, 0, 0, 0, 0}));
}
