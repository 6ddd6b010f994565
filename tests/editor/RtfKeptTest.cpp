// What the editor's RTF reader keeps, shows and reports, and what its writer gives back.
#include "editor/rtf/RtfKept.h"
#include "editor/rtf/RtfReader.h"
#include "editor/rtf/RtfWriter.h"
#include "editor/ui/KeptObjectPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextObjectInterface>
#include <gtest/gtest.h>

using namespace qv::editor;

namespace {

struct Reading {
    QString text;
    QString error;
};

Reading readInto(const QByteArray& rtf, QTextDocument& doc) {
    Reading r;
    EXPECT_TRUE(RtfReader::Read(rtf, doc, &r.error));
    r.text = doc.toPlainText();
    return r;
}

Reading reading(const QByteArray& rtf) {
    QTextDocument doc;
    return readInto(rtf, doc);
}

QList<QByteArray> documentGroups(const QTextDocument& doc) {
    return doc.property(RtfKept::kDocumentGroups).value<QList<QByteArray>>();
}

struct Object {
    QString label;
    QByteArray group;
    QSizeF size;
    bool operator==(const Object&) const = default;
    friend void PrintTo(const Object& o, std::ostream* os) {
        *os << o.label.toStdString() << ' ' << o.group.toStdString() << ' ' << o.size.width() << 'x'
            << o.size.height();
    }
};

QList<Object> objects(const QTextDocument& doc) {
    QList<Object> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.objectType() == RtfKept::kObjectType)
                for (int i = 0; i < it.fragment().length(); ++i)
                    out << Object{f.property(RtfKept::kLabelProperty).toString(),
                                  f.property(RtfKept::kGroupProperty).toByteArray(),
                                  f.property(RtfKept::kSizeProperty).toSizeF()};
        }
    return out;
}

/// The character format at the first occurrence of `text`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    QTextCursor c = doc.find(text);
    EXPECT_FALSE(c.isNull()) << text.toStdString();
    QTextCursor at(c.block());
    at.setPosition(c.selectionStart() + 1);
    return at.charFormat();
}

/// Whether every group in `rtf` is closed, and none closed that was not open.
bool groupsClosed(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\')
            ++i; // an escaped brace is text
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

QByteArray pngHex(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int x = 0; x < w / 2; ++x)
        for (int y = 0; y < h; ++y)
            image.setPixelColor(x, y, Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// A header as LibreOffice writes one, and a body with what it keeps inline.
const QByteArray kHeader =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif"
    "{\\*\\falt Times New Roman};}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue0;}\r\n"
    "{\\stylesheet{\\s0\\snext0\\f3\\fs24 Normal;}{\\*\\cs15\\snext15 Footnote Characters;}}"
    "{\\*\\generator LibreOffice}{\\info{\\creatim\\yr0}}\\deftab709\r\n"
    "{\\*\\pgdsctbl{\\pgdsc0\\pgwsxn11906 Default;}}\\paperh16838\\paperw11906\\margl1134\\sectd\\sbknone"
    "{\\header\\pard\\plain {\\f3 Head text}\\par}{\\footer\\pard\\plain Foot text\\par}"
    "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\f3\\fs24 ";
const QByteArray kFootnote = "{\\chftn {\\*\\footnote \\chftn\\pard\\plain The note.}}";
const QByteArray kBody =
    "Before{\\super \\chftn{\\*\\footnote \\chftn\\pard\\plain The note.}} after "
    "{\\*\\bkmkstart bm}marked{\\*\\bkmkend bm} end.\\par "
    "{\\*\\atnid JD}{\\*\\atnauthor Jane}\\chatn{\\*\\annotation{\\*\\atnref 1}\\pard Why?}"
    "{\\*\\unknownthing {deep} bytes}x\\par}";

} // namespace

TEST(RtfRobustness, ReadingProblemsAreReportedAndWhatCanBeReadIsRead) {
    const QByteArray longWord(40, 'q');
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
        QString problem; // a word of the message; empty when there is none
    } cases[] = {
        {"a long word in an unknown group", "{\\rtf1 a{\\*\\x\\" + longWord + " y}b}", "a\ufffcb", {}},
        {"a long word in a kept document group", "{\\rtf1 {\\info{\\title \\" + longWord + " t}}ab}", "ab", {}},
        {"a long destination word after \\*", "{\\rtf1 a{\\*\\" + longWord + " y {z}}b}", "a\ufffcb", {}},
        {"a long word in a skipped group", "{\\rtf1 a{\\*\\updnprop\\" + longWord + "}b}", "ab", {}},
        {"a long word in a footnote", "{\\rtf1 a{\\footnote \\" + longWord + "1 n}b}", "a\ufffcb", {}},
        {"a long word in the text", "{\\rtf1 a\\" + longWord + " b\\par c}", "ab\nc", "32 letters"},
        {"the file ends inside a group", "{\\rtf1 a {\\b b", "a b", "ends"},
        {"the file ends inside a kept group", "{\\rtf1 a {\\footnote b", "a ", "ends"},
        {"nesting past the limit", "{\\rtf1 x" + QByteArray(2000, '{') + "y" + QByteArray(2000, '}') + "}", "xy",
         "nested"},
        {"binary data past the end", "{\\rtf1 a\\bin99 zz}", "a", "past the end"},
        {"picture data cut short", "{\\rtf1 a{\\pict\\pngblip 89504e", "a", "picture"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Reading r = reading(c.rtf);
        EXPECT_EQ(r.text, c.text);
        if (c.problem.isEmpty())
            EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        else
            EXPECT_TRUE(r.error.contains(c.problem)) << r.error.toStdString();
    }
}

TEST(RtfKept, DocumentGroupsAndSettingsAreKeptInOrderAndWrittenBackInTheHeader) {
    QTextDocument doc;
    const Reading r = readInto(kHeader + kBody, doc);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    const QList<QByteArray> expected = {
        "\\adeflang1025",
        "{\\stylesheet{\\s0\\snext0\\f3\\fs24 Normal;}{\\*\\cs15\\snext15 Footnote Characters;}}",
        "{\\*\\generator LibreOffice}",
        "{\\info{\\creatim\\yr0}}",
        "\\deftab709",
        "{\\*\\pgdsctbl{\\pgdsc0\\pgwsxn11906 Default;}}",
        "\\paperh16838\\paperw11906\\margl1134\\sectd\\sbknone",
        "{\\header\\pard\\plain {\\f3 Head text}\\par}",
        "{\\footer\\pard\\plain Foot text\\par}",
        "{\\*\\ftnsep\\chftnsep}",
        "\\pgndec",
    };
    EXPECT_EQ(documentGroups(doc), expected);
    EXPECT_FALSE(r.text.contains(QStringLiteral("Head text")));

    const QByteArray saved = RtfWriter::Write(doc);
    qsizetype at = saved.indexOf("{\\colortbl");
    for (const QByteArray& group : expected) {
        const qsizetype found = saved.indexOf(group + "\r\n", at);
        EXPECT_GT(found, at) << group.toStdString();
        at = std::max(at, found);
    }
    EXPECT_LT(at, saved.indexOf("Before")) << "the header comes before the text";
    // The kept groups name fonts and colours by number: the file's own tables stay.
    EXPECT_TRUE(saved.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff3\\uc1\r\n{\\fonttbl{\\f0\\froman")) << saved.left(80).toStdString();
    EXPECT_TRUE(saved.contains("\\plain\\f3\\fs24 Before"));
    EXPECT_TRUE(saved.contains("{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue0;}"));
}

TEST(RtfKept, InlineGroupsAreObjectsAtTheirPlaceWrittenBackThereUnlessDeleted) {
    QTextDocument doc;
    const Reading r = readInto(kHeader + kBody, doc);
    EXPECT_EQ(r.text, QStringLiteral("Before\ufffc after \ufffcmarked\ufffc end.\n\ufffc\ufffcx\n"));
    const QList<Object> expected = {
        {"Footnote", kFootnote, {}},
        {"Bookmark", "{\\*\\bkmkstart bm}", {}},
        {"Bookmark", "{\\*\\bkmkend bm}", {}},
        {"Comment", "{{\\*\\atnid JD}{\\*\\atnauthor Jane}\\chatn {\\*\\annotation{\\*\\atnref 1}\\pard Why?}}", {}},
        {"Kept", "{\\*\\unknownthing {deep} bytes}", {}},
    };
    EXPECT_EQ(objects(doc), expected);
    EXPECT_EQ(formatOf(doc, QString(QChar::ObjectReplacementCharacter)).verticalAlignment(),
              QTextCharFormat::AlignSuperScript)
        << "the footnote mark keeps its look";

    const QByteArray saved = RtfWriter::Write(doc);
    const qsizetype footnote = saved.indexOf(kFootnote);
    EXPECT_GT(footnote, saved.indexOf("Before"));
    EXPECT_LT(footnote, saved.indexOf(" after"));
    for (const Object& o : expected)
        EXPECT_EQ(saved.count(o.group), 1) << o.group.toStdString();

    // Read again: the same document, and the same bytes once more.
    QTextDocument again;
    readInto(saved, again);
    EXPECT_EQ(again.toPlainText(), doc.toPlainText());
    EXPECT_EQ(objects(again), objects(doc));
    EXPECT_EQ(documentGroups(again), documentGroups(doc));
    EXPECT_EQ(RtfWriter::Write(again), saved);

    // The user deletes the footnote's mark: the footnote is gone, nothing else.
    QTextCursor c = doc.find(QString(QChar::ObjectReplacementCharacter));
    c.removeSelectedText();
    const QByteArray edited = RtfWriter::Write(doc);
    EXPECT_FALSE(edited.contains("\\footnote"));
    EXPECT_TRUE(edited.contains("{\\*\\bkmkstart bm}"));
    EXPECT_TRUE(edited.contains("{\\header"));
}

TEST(RtfKept, PrintFilesKeepTheWritersOwnHeader) {
    // A print file has no groups of its own to keep: its margins and tab width were
    // never written back, and are not now.
    QTextDocument doc;
    readInto("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f4\\fmodern\\fprq1 Courier 10 Pitch;}}\r\n"
             "{\\colortbl\\red0\\green0\\blue0;}\\margl1440\\margr1440\r\n"
             "\\pard\\deflang1033\\plain\\f4\\fs24 Text\\par }",
             doc);
    EXPECT_TRUE(documentGroups(doc).isEmpty());
    const QByteArray saved = RtfWriter::Write(doc);
    EXPECT_TRUE(saved.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl{\\f0\\fnil\\fcharset0 Courier 10 "
                                 "Pitch;}}\r\n{\\colortbl;}\r\n\\pard"))
        << saved.toStdString();
    // Reading another file into the same document forgets the last one's groups.
    readInto(kHeader + kBody, doc);
    readInto("{\\rtf1 plain}", doc);
    EXPECT_TRUE(documentGroups(doc).isEmpty());
}

TEST(RtfShown, CharacterAndParagraphFormatsShowAndRoundTrip) {
    const QByteArray rtf = "{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green255\\blue0;}\\fs24 "
                           "\\pard\\tqr\\tldot\\tx2880\\tqc\\tx4320\\tqdec\\tx5760\\tx7200\\keepn\\keep "
                           "p{\\super sup}{\\sub sub}{\\up6 raised}{\\dn4 lowered}{\\scaps caps}{\\highlight1 hl}"
                           "{\\chcbpat1 bg}{\\super\\nosupersub none}\\par"
                           "\\pard\\pagebb next\\par\\pard\\page after}";
    QTextDocument doc;
    readInto(rtf, doc);
    EXPECT_EQ(formatOf(doc, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, "sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_DOUBLE_EQ(formatOf(doc, "raised").baselineOffset(), 25.0);
    EXPECT_LT(formatOf(doc, "lowered").baselineOffset(), 0);
    EXPECT_EQ(formatOf(doc, "caps").fontCapitalization(), QFont::SmallCaps);
    EXPECT_EQ(formatOf(doc, "hl").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatOf(doc, "bg").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(formatOf(doc, "none").verticalAlignment(), QTextCharFormat::AlignNormal);
    const QTextBlockFormat first = doc.begin().blockFormat();
    const QList<QTextOption::Tab> tabs = first.tabPositions();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(tabs[0], QTextOption::Tab(144, QTextOption::RightTab));
    EXPECT_EQ(tabs[1], QTextOption::Tab(216, QTextOption::CenterTab));
    EXPECT_EQ(tabs[2], QTextOption::Tab(288, QTextOption::DelimiterTab, QChar('.')));
    EXPECT_EQ(tabs[3], QTextOption::Tab(360, QTextOption::LeftTab));
    EXPECT_TRUE(first.nonBreakableLines());
    EXPECT_EQ(doc.begin().next().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);

    const QByteArray saved = RtfWriter::Write(doc);
    for (const char* words : {"\\keep\\keepn\\tldot\\tqr\\tx2880\\tqc\\tx4320\\tqdec\\tx5760\\tx7200 ", "\\pagebb",
                              "\\super sup", "\\sub sub",
                              "\\nosupersub\\up6 raised", "\\dn4 lowered", "\\scaps caps"})
        EXPECT_TRUE(saved.contains(words)) << words << "\n" << saved.toStdString();
    EXPECT_EQ(saved.count("\\page\r\n"), 1) << "\\pagebb stays a paragraph's setting";
    QTextDocument again;
    readInto(saved, again);
    EXPECT_EQ(RtfWriter::Write(again), saved);
    for (const char* text : {"sup", "sub", "raised", "lowered", "caps", "hl"})
        EXPECT_EQ(formatOf(again, text), formatOf(doc, text)) << text;
    EXPECT_EQ(again.begin().blockFormat(), first);
}

TEST(RtfShown, HyperlinksAreAnchorsAndFieldsKeepTheirInstruction) {
    const QByteArray link = "{\\field{\\*\\fldinst HYPERLINK \"https://example.com/a?b=1\" }"
                            "{\\fldrslt {\\ul the link}}}";
    const QByteArray page = "{\\field{\\*\\fldinst  PAGE }{\\fldrslt 7}}";
    const QByteArray empty = "{\\field\\flddirty{\\*\\fldinst  NUMPAGES }{\\fldrslt }}";
    QTextDocument doc;
    const Reading r = readInto("{\\rtf1 See " + link + " on " + page + empty + ".}", doc);
    EXPECT_EQ(r.text, QStringLiteral("See the link on 7\ufffc."));
    const QTextCharFormat a = formatOf(doc, "the link");
    EXPECT_TRUE(a.isAnchor());
    EXPECT_EQ(a.anchorHref(), QStringLiteral("https://example.com/a?b=1"));
    EXPECT_TRUE(a.fontUnderline());
    EXPECT_EQ(formatOf(doc, "7").property(RtfKept::kFieldInstructionProperty).toByteArray(),
              QByteArray("{\\*\\fldinst  PAGE }"));
    EXPECT_EQ(objects(doc), (QList<Object>{{"Field", empty, {}}}));

    const QByteArray saved = RtfWriter::Write(doc);
    EXPECT_TRUE(saved.contains("{\\field{\\*\\fldinst HYPERLINK \"https://example.com/a?b=1\" }{\\fldrslt \\plain"))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains("the link}}"));
    EXPECT_TRUE(saved.contains("{\\field{\\*\\fldinst  PAGE }{\\fldrslt \\plain"));
    EXPECT_TRUE(saved.contains(empty));
    QTextDocument again;
    readInto(saved, again);
    EXPECT_EQ(again.toPlainText(), doc.toPlainText());
    EXPECT_EQ(formatOf(again, "the link").anchorHref(), a.anchorHref());

    // A link the user made has no instruction read: it is written as one.
    QTextDocument made;
    QTextCursor c(&made);
    QTextCharFormat anchor;
    anchor.setAnchor(true);
    anchor.setAnchorHref(QStringLiteral("https://example.org/{x}"));
    c.insertText(QStringLiteral("here"), anchor);
    EXPECT_TRUE(RtfWriter::Write(made).contains(
        "{\\field{\\*\\fldinst HYPERLINK \"https://example.org/\\{x\\}\"}{\\fldrslt \\plain"));
}

TEST(RtfShown, PicturesShowScaledAndCroppedAndMetafilesAreKeptWithTheirSize) {
    const QByteArray shppict = "{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn wzName}{\\sv abc}}}\\picscalex200"
                               "\\picscaley100\\piccropl300\\piccropr0\\piccropt0\\piccropb0\\picw8\\pich4"
                               "\\picwgoal1200\\pichgoal600\\pngblip\r\n" +
                               pngHex(8, 4) + "}}";
    const QByteArray nonshppict = "{\\nonshppict{\\pict\\picw8\\pich4\\picwgoal1200\\pichgoal600\\wmetafile8 "
                                  "0100090000}}";
    const QByteArray wmf = "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 0100090000}";
    QTextDocument doc;
    const Reading r = readInto("{\\rtf1 a" + shppict + nonshppict + "b" + wmf + "c}", doc);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.text, QStringLiteral("a\ufffcb\ufffcc"));
    const QTextCharFormat f = formatOf(doc, QStringLiteral("\ufffc"));
    ASSERT_TRUE(f.isImageFormat()) << "one picture; its \\nonshppict copy is skipped";
    const QTextImageFormat image = f.toImageFormat();
    // (1200 - 300) twips at 200% wide, 600 twips high, at 96 pixels per inch.
    EXPECT_DOUBLE_EQ(image.width(), 120.0);
    EXPECT_DOUBLE_EQ(image.height(), 40.0);
    const QImage shown = doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    EXPECT_EQ(shown.size(), QSize(6, 4)) << "a quarter of the width is cropped off the left";
    EXPECT_EQ(objects(doc), (QList<Object>{{"Picture (WMF)", wmf, QSizeF(72, 36)}}));

    const QByteArray saved = RtfWriter::Write(doc);
    EXPECT_TRUE(saved.contains("a" + shppict + "\\plain")) << saved.toStdString();
    EXPECT_FALSE(saved.contains("nonshppict"));
    EXPECT_TRUE(saved.contains(wmf));
    QTextDocument again;
    readInto(saved, again);
    EXPECT_EQ(RtfWriter::Write(again), saved);

    // A picture the user resized is written anew at its new size.
    QTextCursor c(&doc);
    c.setPosition(1);
    c.setPosition(2, QTextCursor::KeepAnchor);
    QTextImageFormat resized = image;
    resized.setWidth(60);
    c.setCharFormat(resized);
    const QByteArray written = RtfWriter::Write(doc);
    EXPECT_FALSE(written.contains("shppict"));
    EXPECT_TRUE(written.contains("\\picwgoal900")) << written.toStdString();
}

TEST(RtfKept, ThePlaceholderTakesThePicturesSizeOrItsLabels) {
    QTextDocument doc;
    KeptObjectPainter::Install(doc);
    readInto("{\\rtf1 {\\pict\\emfblip\\picwgoal1440\\pichgoal720 0100}{\\footnote x}}", doc);
    QTextObjectInterface* painter = doc.documentLayout()->handlerForObject(RtfKept::kObjectType);
    ASSERT_NE(painter, nullptr);
    QTextCursor c(&doc);
    c.setPosition(1);
    const QSizeF picture = painter->intrinsicSize(&doc, 0, c.charFormat());
    EXPECT_NEAR(picture.width() / picture.height(), 2.0, 0.01);
    EXPECT_DOUBLE_EQ(picture.width(), 96.0) << "an inch, at 96 pixels per inch without a device";
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().property(RtfKept::kLabelProperty).toString(), QStringLiteral("Footnote"));
    const QSizeF label = painter->intrinsicSize(&doc, 1, c.charFormat());
    EXPECT_GT(label.width(), label.height());
}

TEST(RtfKept, SectionBreaksStayBetweenTheirParagraphsWithTheNextSectionsSettings) {
    const QByteArray section = "\\sect\\sectd\\pgwsxn16838\\pghsxn11906\\sbkpage";
    for (const QByteArray& between : {QByteArray("\\par " + section + "\r\n"), QByteArray(section + " ")}) {
        QTextDocument doc;
        const Reading r = readInto("{\\rtf1 one" + between + "\\pard\\qc two\\par}", doc);
        EXPECT_EQ(r.text, QStringLiteral("one\n\ufffctwo\n"));
        EXPECT_EQ(objects(doc), (QList<Object>{{"Section break", section, {}}}));
        EXPECT_EQ(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter)
            << "the paragraph's own settings follow the break";
        const QByteArray saved = RtfWriter::Write(doc);
        EXPECT_TRUE(saved.contains("one\\par\r\n" + section + "\r\n\\pard\\qc \\plain")) << saved.toStdString();
        QTextDocument again;
        readInto(saved, again);
        EXPECT_EQ(RtfWriter::Write(again), saved);
    }
}

TEST(RtfRobustness, DamagedFilesReadWrittenAndReadAgainGiveTheSameDocument) {
    // Each from a damaged copy of a LibreOffice file that once read differently the second time.
    const QByteArray png = pngHex(2, 2);
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times;}}{\\colortbl;\\red255\\green0\\blue0;}"
                            "{\\*\\generator x}";
    struct Case {
        const char* name;
        QByteArray rtf;
    } cases[] = {
        {"\\* in picture data marks nothing after it",
         head + "{a{\\*\\shppict{\\pict\\pngblip " + png.left(20) + "\\*" + png.mid(20) + "}}\\par b}c}"},
        {"a destination not at its group's start", head + "{x\\*\\atnid J}{\\*\\annotation Why?}y\\par}"},
        {"a picture named in the document's own group", head + "\\pict a\\par}"},
        {"text in a \\shppict group beside its picture",
         head + "a{\\*\\shppict{\\pict\\pngblip " + png + "}stray}b}"},
        {"a group in a field beside its instruction", head + "{\\field{\\info{\\title t}}{\\*\\fldinst PAGE}}x}"},
        {"an empty paragraph's own look", head + "{\\cf1 red}\\par}"},
        {"a NUL character", head + "a\\u0 b}"},
        {"a section break as the file ends", head + "{a\\par \\sect"},
        {"a section break before the first text", head + "\\sect\\sectd a}"},
        {"a result without its instruction", head + "x{\\field{\\fldrslt 1}}2}"},
        {"a brace and a tab in a font's name", "{\\rtf1\\deff0{\\fonttbl{\\f0 Li\\'7dber\\'09ation;}}x}"},
        {"a font's name outside Windows-1252", "{\\rtf1\\deff0{\\fonttbl{\\f0 \\'90Font;}}x}"},
        {"a field in a field's own group", head + "{\\field{\\*\\fldinst PAGE}{\\field\\fldrslt x}}y}"},
        {"\\* after a group in the group", head + "{{\\b b}\\*\\loch c}}"},
        {"a footnote mark in a field's group", head + "{\\field{\\*\\fldinst PAGE}{\\chftn \\fldrslt }}x}"},
        {"a paragraph word in a field's group", head + "Visit {\\field{\\*\\fldinst PAGE}{\\b\\tx100 {\\i x}}}\\par}"},
        {"a list table cut short after a backslash", "{\\rtf1 a{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\"},
        {"a list table cut short in binary data", "{\\rtf1 a{\\*\\listtable{\\list{\\bin9 x"},
        {"a list table word with a number", "{\\rtf1 {\\listtable1a}x}"},
        {"a list table in a field's own group",
         "{\\rtf1 Page {\\field{\\\\x\\listtable{\\list}y }t.}\\par\\ls1 z\\par}"},
        {"a list table after text in its group", "{\\rtf1 {\\b a\\listtable{\\list\\listid1}}{\\b\\listtable}\\ls1 x\\par}"},
        {"a second font table, cut short", "{\\rtf1 {\\fonttbl{\\f0 X;}}{\\f0 b}{\\info}{\\fonttbl\\f"},
        {"a list item before its list tables",
         "{\\rtf1 \\ls1 n\\i{\\listtable\\list\\listlevel}{\\listoverridetable\\listoverride\\ls1}}"},
        {"a cell in a field's own group", "{\\rtf1 a\\par{\\field\\cell}b}"},
        {"a brace after \\' in a kept group", "{\\rtf1 a{\\*\\foo \\'0}b}c}"},
        {"a soft hyphen in a font's name", "{\\rtf1\\deff0{\\fonttbl{\\f0 A\\'adB\\'a0C;}}x}"},
        {"text read before the font table gives its font another code page",
         "{\\rtf1 \\f{\\'aa}{\\stylesheet}{\\fonttbl{\\f0\\fcharset204 X;}}}"},
        {"a Latin letter in a font of another code page",
         "{\\rtf1{\\fonttbl{\\f1\\fcharset204 X;}}{\\*\\generator x}\\f1 \\'c0\\u233?}"},
        {"a section break cut short after a backslash", "{\\rtf1 u{\\sect\\"},
        {"a list override table ending in \\'", "{\\rtf1 i{\\listoverridetable\\'}\\ls2}"},
        {"a section break after a page break", "{\\rtf1 b\\page\\sect\\'ff}"},
        {"a section break first in a table cell",
         "{\\rtf1 a\\par\\trowd\\cellx1440\\pard\\intbl\\sect b\\cell\\row}"},
        {"a list word in the list table's own group",
         "{\\rtf1 \\ls1 a\\par{\\*\\listtable\\list{\\listlevel}\\listid1}"
         "{\\listoverridetable{\\listoverride\\listid1\\ls1}}}"},
        {"a second list table after list items",
         "{\\rtf1 \\ls1 a\\par{\\*\\listtable{\\list{\\listlevel\\levelnfc0}\\listid1}}"
         "{\\listoverridetable{\\listoverride\\listid1\\ls1}}\\ls1 b\\i{\\*\\listtable{\\list}}\\par}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument first;
        readInto(c.rtf, first);
        const QByteArray saved = RtfWriter::Write(first);
        QTextDocument second;
        const Reading again = readInto(saved, second);
        EXPECT_TRUE(again.error.isEmpty()) << again.error.toStdString();
        EXPECT_EQ(second.toPlainText(), first.toPlainText());
        EXPECT_EQ(objects(second), objects(first));
        EXPECT_EQ(RtfWriter::Write(second).toStdString(), saved.toStdString());
        EXPECT_TRUE(groupsClosed(saved)) << saved.toStdString();
    }
}

TEST(RtfRobustness, ThousandsOfFontsAndColoursKeepEachRunsOwn) {
    // Fonts and colours are looked up by hash when read and written: each run keeps its own.
    constexpr int n = 3000;
    QByteArray fonts = "{\\fonttbl", colors = "{\\colortbl;", text;
    for (int i = 0; i < n; ++i) {
        const QByteArray number = QByteArray::number(i);
        fonts += "{\\f" + number + " F" + number + ";}";
        colors += "\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i / 256) +
                  "\\blue7;";
        text += "{\\f" + number + "\\cf" + QByteArray::number(i + 1) + " x" + number + "}";
    }
    const auto runs = [](const QTextDocument& doc) {
        QStringList out;
        for (auto it = doc.begin().begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            out << it.fragment().text() + '/' + f.fontFamilies().toStringList().value(0) + '/' +
                       f.foreground().color().name();
        }
        return out;
    };
    QTextDocument first;
    readInto("{\\rtf1" + fonts + "}" + colors + "}{\\*\\generator x}" + text + "}", first);
    const QStringList read = runs(first);
    ASSERT_EQ(read.size(), n);
    EXPECT_EQ(read[2345], QStringLiteral("x2345/F2345/#290907"));
    const QByteArray saved = RtfWriter::Write(first);
    QTextDocument second;
    readInto(saved, second);
    EXPECT_EQ(runs(second), read);
    // The document's own tables, no new entries.
    EXPECT_EQ(RtfWriter::Write(second), saved);
    QTextDocument plain; // without a kept header: the writer's own tables
    readInto("{\\rtf1" + fonts + "}" + colors + "}" + text + "}", plain);
    QTextDocument plainAgain;
    readInto(RtfWriter::Write(plain), plainAgain);
    EXPECT_EQ(runs(plainAgain), runs(plain));
}

TEST(RtfRobustness, KeptBytesWhoseGroupsDoNotCloseAreNotWritten) {
    // However such bytes came into the document, the file written stays whole RTF.
    const QByteArray rtf = "{\\rtf1\\deff0{\\fonttbl{\\f0 Times;}}{\\colortbl;\\red255\\green0\\blue0;}"
                           "{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext \\'01\\u8226 ?;}}\\listid1}}"
                           "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}{\\*\\unknownhead x}"
                           "a{\\*\\unknown y}{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par\\ls1 item\\par}";
    struct Case {
        const char* name;
        const char* property; // a document property, or null for the inline object's group
        QByteArray bytes;
    } cases[] = {
        {"a document group left open", RtfKept::kDocumentGroups, "{\\*\\unknownhead {x}"},
        {"a document group closing one too many", RtfKept::kDocumentGroups, "{\\*\\unknownhead x}}"},
        {"an inline group ending in a backslash", nullptr, "{\\*\\unknown y}\\"},
        {"an inline group whose \\bin data runs on", nullptr, "{\\*\\unknown \\bin99 y}"},
        {"a font table left open", "qvRtfFontTable", "{\\fonttbl{\\f0 Times;}"},
        {"a colour table left open", "qvRtfColorTable", "{\\colortbl;\\red255\\green0\\blue0;"},
        {"a list table left open", "qvRtfListTable", "{\\*\\listtable{\\list\\listid1}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument doc;
        readInto(rtf, doc);
        if (c.property == RtfKept::kDocumentGroups) {
            doc.setProperty(c.property, QVariant::fromValue(QList<QByteArray>{c.bytes}));
        } else if (c.property) {
            ASSERT_TRUE(doc.property(c.property).isValid());
            doc.setProperty(c.property, c.bytes);
        } else {
            QTextCursor cursor = doc.find(QString(QChar::ObjectReplacementCharacter));
            ASSERT_FALSE(cursor.isNull());
            QTextCharFormat f = cursor.charFormat();
            f.setProperty(RtfKept::kGroupProperty, c.bytes);
            cursor.setCharFormat(f);
        }
        const QByteArray saved = RtfWriter::Write(doc);
        EXPECT_TRUE(groupsClosed(saved)) << saved.toStdString();
        QTextDocument again;
        const Reading read = readInto(saved, again);
        EXPECT_TRUE(read.error.isEmpty()) << read.error.toStdString();
        EXPECT_TRUE(read.text.contains(QStringLiteral("item"))) << read.text.toStdString();
    }
}
