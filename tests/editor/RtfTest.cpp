#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "support/DocFixture.h"
#include "support/QtPrinters.h"
#include "support/TemplateBuilder.h"
#include "view/PrintFileWriter.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <gtest/gtest.h>

using qv::editor::RtfReader;
using qv::editor::RtfWriter;

namespace {

QString read(const QByteArray& rtf, QTextDocument& doc) {
    QString error;
    EXPECT_TRUE(RtfReader::Read(rtf, doc, &error)) << error.toStdString();
    return doc.toPlainText();
}

QString text(const QByteArray& rtf) {
    QTextDocument doc;
    return read(rtf, doc);
}

/// Underlined stretches of a document, as text.
QStringList underlined(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().fontUnderline())
                out << it.fragment().text();
    return out;
}

/// Everything a round trip must keep: text and each fragment's look.
QString signature(const QTextDocument& doc) {
    QString s;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        s += QStringLiteral("[%1]").arg(int(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            s += QStringLiteral("<%1%2%3%4 %5 %6>")
                     .arg(f.fontWeight() >= QFont::Bold ? "b" : "")
                     .arg(f.fontItalic() ? "i" : "")
                     .arg(f.fontUnderline() ? "u" : "")
                     .arg(f.fontStrikeOut() ? "s" : "")
                     .arg(f.fontPointSize())
                     .arg(f.fontFamilies().toStringList().value(0));
            s += it.fragment().text();
        }
        s += QLatin1Char('\n');
    }
    return s;
}

class PrintFiles : public qv::test::DocFixture {};

} // namespace

TEST_F(PrintFiles, BothVariantsOfQvLegalsPrintFilesReadAndRoundTrip) {
    ASSERT_TRUE(loadTemplate(qv::test::TemplateBuilder()
                                 .declare("NAME", "Who?")
                                 .declare("NOTE", "Note?")
                                 .body("\xE4\xE8TITLE\xE8\xAEI, \xB5|NAME|\xB5, note |NOTE| here.\xAE"
                                       "Second paragraph with enough words to wrap the line at the width of "
                                       "the printed page, once or twice.\xAE")
                                 .bytes()));
    doc.StoreAnswer(0, "Ren\xE9\x65 M\xFCller \x80");
    doc.StoreAnswer(1, "a\\b {c}");
    qv::PrintFilePage page;
    page.charsPerLine = 40;
    for (const std::string& file :
         {qv::PrintFileWriter::EditorRtf(doc, page), qv::PrintFileWriter::WordProcessorRtf(doc)}) {
        QTextDocument loaded;
        const QString t = read(QByteArray::fromStdString(file), loaded);
        EXPECT_TRUE(t.contains(QStringLiteral("Ren\u00e9e M\u00fcller \u20ac"))) << t.toStdString();
        EXPECT_TRUE(t.contains(QStringLiteral("note a\\b {c} here."))) << t.toStdString();
        EXPECT_FALSE(t.contains(QStringLiteral("mymargl"))) << "the margin block is not text";
        EXPECT_TRUE(underlined(loaded).join(QString()).contains(QStringLiteral("Ren\u00e9e")))
            << underlined(loaded).join("|").toStdString();
        EXPECT_GT(loaded.blockCount(), 2);

        const QByteArray saved = RtfWriter::Write(loaded);
        QTextDocument again;
        read(saved, again);
        EXPECT_EQ(signature(again), signature(loaded));
        EXPECT_EQ(again.toPlainText(), loaded.toPlainText());
        // Characters outside Windows-1252 are written as \uN?.
    }
    // The editor variant breaks lines as printed; those breaks survive.
    QTextDocument editorDoc;
    read(QByteArray::fromStdString(qv::PrintFileWriter::EditorRtf(doc, page)), editorDoc);
    EXPECT_GE(editorDoc.toPlainText().count(QChar(0x2028)) + editorDoc.blockCount(), 5);
}

TEST(RtfReader, FormattingFontsColoursAndParagraphs) {
    QTextDocument doc;
    read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Mono;}{\\f1 Liberation Sans;}}"
         "{\\colortbl;\\red255\\green0\\blue0;}"
         "\\pard\\qc\\b Title\\b0\\par"
         "\\pard\\qr\\li720 {\\i it}{\\ul un}{\\strike st}{\\f1\\fs40 big}{\\cf1 red}\\par"
         "\\pard tab\\tab x\\line y\\~z\\page next}",
         doc);
    ASSERT_EQ(doc.blockCount(), 4);
    const QTextBlock title = doc.begin();
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(title.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    const QTextBlock second = title.next();
    EXPECT_EQ(second.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(second.blockFormat().leftMargin(), 36.0);
    QStringList looks;
    for (auto it = second.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        looks << it.fragment().text() + QStringLiteral(":%1%2%3 %4 %5 %6")
                                            .arg(f.fontItalic())
                                            .arg(f.fontUnderline())
                                            .arg(f.fontStrikeOut())
                                            .arg(f.fontPointSize())
                                            .arg(f.fontFamilies().toStringList().value(0))
                                            .arg(f.foreground().color().name());
    }
    EXPECT_EQ(looks, (QStringList{"it:100 12 Liberation Mono #000000", "un:010 12 Liberation Mono #000000",
                                  "st:001 12 Liberation Mono #000000", "big:000 20 Liberation Sans #000000",
                                  "red:000 12 Liberation Mono #ff0000"}));
    EXPECT_EQ(second.next().text(), QStringLiteral("tab\tx\u2028y\u00a0z"));
    EXPECT_EQ(second.next().next().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
}

TEST(RtfReader, UnicodeWithItsSkipCounts) {
    EXPECT_EQ(text("{\\rtf1\\uc1 a\\u8364?b}"), QStringLiteral("a\u20acb"));
    EXPECT_EQ(text("{\\rtf1\\uc0 a\\u8364 b}"), QStringLiteral("a\u20acb"));
    EXPECT_EQ(text("{\\rtf1\\uc2 a\\u8364\\'80\\'80b}"), QStringLiteral("a\u20acb"));
    EXPECT_EQ(text("{\\rtf1\\uc2 a\\u8364 xyb}"), QStringLiteral("a\u20acb"));
    EXPECT_EQ(text("{\\rtf1 a\\u-3980?b}"),
              QString(QStringLiteral("a") + QChar(0xF074) + QStringLiteral("b")));
    // A surrogate pair combines; a group boundary ends the skipping.
    EXPECT_EQ(text("{\\rtf1\\uc1 \\u-10179?\\u-8704?}"), QString::fromUcs4(U"\U0001F600", 1));
    EXPECT_EQ(text("{\\rtf1\\uc2 {\\u8364}xy}"), QStringLiteral("\u20acxy"));
    // The skip count belongs to the group.
    EXPECT_EQ(text("{\\rtf1\\uc1 {\\uc3 \\u8364 abc}\\u8364?d}"), QStringLiteral("\u20ac\u20acd"));
    // Raw high bytes are Windows-1252, or the font's charset.
    EXPECT_EQ(text("{\\rtf1\\ansi caf\xe9 \x80}"), QStringLiteral("caf\u00e9 \u20ac"));
    EXPECT_EQ(text("{\\rtf1{\\fonttbl{\\f1\\fcharset204 X;}}\\f1 \\'c0}"), QStringLiteral("\u0410"));
}

TEST(RtfReader, DestinationsAreSkippedAndTheMarginBlockIsNotRead) {
    EXPECT_EQ(text("{\\rtf1{\\*\\unknown {nested {deeper} text} more}{\\info{\\title T}}keep"
                   "{\\*\\generator x;}{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}}\r\n"
                   "{\r\n\\mymargl720\r\n};"),
              QStringLiteral("keeplink"));
    EXPECT_EQ(text("{\\rtf1 a\\{b\\}c\\\\d}trailing text"), QStringLiteral("a{b}c\\d"));
}

TEST(RtfReader, PicturesRoundTrip) {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(10, 120, 200));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QTextDocument doc;
    read("{\\rtf1 before{\\pict\\pngblip\\picw6\\pich4\\picwgoal1440\\pichgoal960 " + png.toHex() + "}after}",
         doc);
    QTextImageFormat found;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            found = it.fragment().charFormat().toImageFormat();
    ASSERT_TRUE(found.isValid());
    EXPECT_DOUBLE_EQ(found.width(), 96.0);
    const QImage loaded = doc.resource(QTextDocument::ImageResource, QUrl(found.name())).value<QImage>();
    EXPECT_EQ(loaded.pixelColor(2, 2), QColor(10, 120, 200));

    QTextDocument again;
    read(RtfWriter::Write(doc), again);
    EXPECT_EQ(again.toPlainText(), doc.toPlainText());
    bool picture = false;
    for (auto it = again.begin().begin(); !it.atEnd(); ++it)
        picture = picture || it.fragment().charFormat().isImageFormat();
    EXPECT_TRUE(picture);
    // \bin data works as well as hex.
    QTextDocument bin;
    read("{\\rtf1 {\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}x}", bin);
    EXPECT_TRUE(bin.toPlainText().endsWith(QLatin1Char('x')));
}

TEST(RtfReader, HostileInputLoadsWhatItCan) {
    EXPECT_FALSE(RtfReader::Read("plain text", *std::make_unique<QTextDocument>()));
    EXPECT_EQ(text("{\\rtf1 open {{{ text"), QStringLiteral("open  text"));
    EXPECT_EQ(text("{\\rtf1 a}}}} b"), QStringLiteral("a"));
    QByteArray deep = "{\\rtf1 x";
    deep += QByteArray(100000, '{') + "y" + QByteArray(100000, '}') + "}";
    EXPECT_EQ(text(deep), QStringLiteral("xy"));
    EXPECT_EQ(text("{\\rtf1 a{\\pict\\pngblip\\bin999999999 zz}b}"), QStringLiteral("a"));
    QTextDocument big;
    read("{\\rtf1\\fs2000000000 big\\f2000000000 x\\u99999999 y}", big);
    EXPECT_TRUE(big.toPlainText().startsWith(QStringLiteral("bigx")));
    QString error;
    QTextDocument word;
    EXPECT_TRUE(RtfReader::Read("{\\rtf1 a\\" + QByteArray(40, 'x') + " b}", word, &error));
    EXPECT_FALSE(error.isEmpty()) << "a control word longer than 32 letters is an error";
    EXPECT_EQ(text("{\\rtf1 \\'"), QString());
}

TEST(RtfWriter, EscapesAndWritesCharactersOutsideTheCodePageAsUnicode) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("a\\b {c} \u00e9 \u20ac \u0410\t"));
    const QByteArray rtf = RtfWriter::Write(doc);
    EXPECT_TRUE(rtf.contains("a\\\\b \\{c\\} \\'e9 \\'80 \\u1040?\\tab")) << rtf.toStdString();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    QTextDocument again;
    EXPECT_EQ(read(rtf, again), doc.toPlainText());
}
