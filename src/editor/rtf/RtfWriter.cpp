#include "editor/rtf/RtfWriter.h"

#include "editor/rtf/RtfFieldInstruction.h"
#include "editor/rtf/RtfKept.h"
#include "editor/rtf/RtfListWriter.h"
#include "editor/rtf/RtfOwnProperties.h"
#include "editor/rtf/RtfTableWriter.h"
#include "editor/rtf/RtfTokenizer.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QVariant>
#include <QMap>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <map>
#include <unordered_map>
#include <utility>

namespace qv::editor {
namespace {

/// The Windows-1252 byte of a character, or 0 when it has none.
unsigned char toWindows1252(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (high[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

int twips(qreal points) {
    return static_cast<int>(std::lround(points * 20.0));
}

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : doc_(doc), lists_(doc) {}

    QByteArray run() {
        collectTables();
        QByteArray body;
        // Paragraphs and the tables between them (RtfTableWriter).
        RtfTableWriter tables(
            doc_, [this](const QTextBlock& b, const QByteArray& words, QByteArray& out) { writeBlock(b, out, words); },
            [this](const QColor& c) { return colorNumber(c); });
        tables.writeFrame(doc_.rootFrame(), body);
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff" + QByteArray::number(defaultFont_) + "\\uc1\r\n";
        out += fontTable() + "\r\n" + colorTable() + "\r\n";
        out += lists_.tables();
        // What the file had in its header and the editor does not show, in its order.
        // (Bytes whose groups do not close, however they came there, are left out: the
        // file written must stay whole.)
        for (const QByteArray& kept : doc_.property(RtfKept::kDocumentGroups).value<QList<QByteArray>>())
            if (RtfTokenizer::Balanced(kept))
                out += kept + "\r\n";
        out += body;
        out += "}\r\n";
        return out;
    }

private:
    static QString familyOf(const QTextCharFormat& f) {
        const QStringList families = f.fontFamilies().toStringList();
        return families.isEmpty() ? QStringLiteral("Courier New") : families.first();
    }

    /// The file's own font and colour tables when it kept them: the kept groups refer to
    /// their numbers. New fonts and colours are added at their ends.
    void collectTables() {
        keptFontTable_ = doc_.property(RtfOwn::kFontTable).toByteArray();
        if (!RtfTokenizer::Balanced(keptFontTable_))
            keptFontTable_.clear(); // a table of its own is written instead
        if (!keptFontTable_.isEmpty()) {
            const QVariantMap numbers = doc_.property(RtfOwn::kFontNumbers).toMap();
            for (auto it = numbers.begin(); it != numbers.end(); ++it) {
                fontNumbers_.insert(it.key(), it.value().toInt());
                nextFont_ = std::max(nextFont_, it.value().toInt() + 1);
            }
            const QVariantMap pages = doc_.property(RtfOwn::kFontCodePages).toMap();
            for (auto it = pages.begin(); it != pages.end(); ++it)
                fontCodePages_.insert(it.key(), it.value().toInt());
            defaultFont_ = doc_.property(RtfOwn::kDefaultFont).toInt();
        }
        keptColorTable_ = doc_.property(RtfOwn::kColorTable).toByteArray();
        if (!RtfTokenizer::Balanced(keptColorTable_))
            keptColorTable_.clear();
        if (!keptColorTable_.isEmpty())
            for (const QVariant& c : doc_.property(RtfOwn::kColors).toList())
                addKeptColor(c.value<QColor>());
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                addFont(familyOf(f));
                for (const QBrush& b : {f.foreground(), f.background()})
                    if (b.style() != Qt::NoBrush)
                        addColor(b.color());
            }
        for (const QColor& c : RtfTableWriter::colorsOf(doc_)) // cell shading and borders
            addColor(c);
        if (fonts_.isEmpty())
            addFont(QStringLiteral("Courier New"));
    }

    // The tables are looked up by hash: a document of thousands of fonts or colours is
    // written in time in proportion to its size.
    int addFont(const QString& family) {
        const auto [it, added] = fontAt_.try_emplace(family, int(fonts_.size()));
        if (added)
            fonts_ << family;
        return it->second;
    }

    static std::pair<int, quint64> colorKey(const QColor& c) { return {int(c.spec()), quint64(c.rgba64())}; }

    int addColor(const QColor& color) {
        const auto [it, added] = colorAt_.try_emplace(colorKey(color), int(colors_.size()));
        if (added)
            colors_ << color;
        return it->second;
    }

    void addKeptColor(const QColor& color) {
        if (color.isValid())
            keptColorAt_.try_emplace(color.rgb(), int(keptColors_.size()));
        keptColors_ << color;
    }

    int fontNumber(const QString& family) {
        if (keptFontTable_.isEmpty())
            return addFont(family); // new only for an empty paragraph's own font
        if (auto it = fontNumbers_.find(family); it != fontNumbers_.end())
            return it.value();
        newFonts_ << family;
        fontNumbers_.insert(family, nextFont_);
        return nextFont_++;
    }

    int colorNumber(const QColor& color) {
        if (keptColorTable_.isEmpty())
            return addColor(color) + 1;
        if (const auto it = keptColorAt_.find(color.rgb()); it != keptColorAt_.end())
            return it->second;
        addKeptColor(color);
        newColors_ << color;
        return int(keptColors_.size()) - 1;
    }

    static QByteArray colorWords(const QColor& c) {
        return "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue" +
               QByteArray::number(c.blue()) + ";";
    }

    /// A kept table with what is new added before its closing brace.
    static QByteArray extended(const QByteArray& table, const QByteArray& added) {
        const qsizetype end = table.lastIndexOf('}');
        return end < 0 ? table : table.left(end) + added + table.mid(end);
    }

    QByteArray fontTable() {
        QByteArray entries;
        const QStringList& list = keptFontTable_.isEmpty() ? fonts_ : newFonts_;
        for (int i = 0; i < list.size(); ++i) {
            const int number = keptFontTable_.isEmpty() ? i : fontNumbers_.value(list[i]);
            entries += "{\\f" + QByteArray::number(number) + "\\fnil\\fcharset0 ";
            text(list[i], entries, true);
            entries += ";}";
        }
        return keptFontTable_.isEmpty() ? "{\\fonttbl" + entries + "}" : extended(keptFontTable_, entries);
    }

    QByteArray colorTable() {
        QByteArray entries;
        for (const QColor& c : keptColorTable_.isEmpty() ? colors_ : newColors_)
            entries += colorWords(c);
        return keptColorTable_.isEmpty() ? "{\\colortbl;" + entries + "}" : extended(keptColorTable_, entries);
    }

    /// `inName`: a font's name, where a control symbol (\~ \- \_) would be read as nothing.
    void text(const QString& s, QByteArray& out, bool inName = false) {
        for (const QChar qc : s) {
            const char16_t u = qc.unicode();
            switch (inName && (u == 0x00A0 || u == 0x00AD || u == 0x2011) ? char16_t(0) : u) {
            case '\\':
                out += "\\\\";
                continue;
            case '{':
                out += "\\{";
                continue;
            case '}':
                out += "\\}";
                continue;
            case '\t':
                out += "\\tab ";
                continue;
            case 0x2028:
                out += "\\line ";
                continue;
            case 0x00A0:
                out += "\\~";
                continue;
            case 0x00AD:
                out += "\\-";
                continue;
            case 0x2011:
                out += "\\_";
                continue;
            default:
                break;
            }
            if (u >= 0x20 && u < 0x80) {
                out += static_cast<char>(u);
            } else if (const unsigned char b = inName || codePage_ == 1252 ? toWindows1252(u) : 0; b >= 0x80) {
                out += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
            } else if (u >= 0x20) {
                out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + "?";
            }
        }
    }

    /// `tableWords` put the paragraph in a table cell (RtfTableWriter).
    void writeBlock(const QTextBlock& block, QByteArray& out, const QByteArray& tableWords = {}) {
        const QTextBlockFormat b = block.blockFormat();
        // A section break read between paragraphs goes back there; in a table cell it
        // would end the table, and goes as a group of its own like any kept object.
        // A page break goes first: after the section break it would end the paragraph the
        // break was read in.
        const bool sectionFirst = tableWords.isEmpty() && !sectionBreakAt(block).isEmpty();
        const bool pageBreakBefore = b.boolProperty(RtfOwn::kPageBreakBefore);
        if ((b.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) && !pageBreakBefore)
            out += "\\page\r\n";
        if (sectionFirst)
            out += sectionBreakAt(block) + "\r\n";
        out += "\\pard" + tableWords + lists_.paragraphWords(block);
        const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
        out += a & Qt::AlignHCenter   ? "\\qc"
               : a & Qt::AlignRight   ? "\\qr"
               : a & Qt::AlignJustify ? "\\qj"
                                      : "\\ql";
        if (const qreal left = lists_.leftMargin(block); left != 0) // a list's indent included
            out += "\\li" + QByteArray::number(twips(left));
        if (b.rightMargin() != 0)
            out += "\\ri" + QByteArray::number(twips(b.rightMargin()));
        if (b.textIndent() != 0)
            out += "\\fi" + QByteArray::number(twips(b.textIndent()));
        if (b.topMargin() != 0)
            out += "\\sb" + QByteArray::number(twips(b.topMargin()));
        if (b.bottomMargin() != 0)
            out += "\\sa" + QByteArray::number(twips(b.bottomMargin()));
        if (b.lineHeightType() == QTextBlockFormat::ProportionalHeight && b.lineHeight() != 100)
            out += "\\sl" + QByteArray::number(std::lround(b.lineHeight() * 240 / 100)) + "\\slmult1";
        else if (b.lineHeightType() == QTextBlockFormat::MinimumHeight)
            out += "\\sl" + QByteArray::number(twips(b.lineHeight())) + "\\slmult0";
        if (pageBreakBefore)
            out += "\\pagebb";
        if (b.nonBreakableLines())
            out += "\\keep";
        if (b.boolProperty(RtfOwn::kKeepWithNext))
            out += "\\keepn";
        tabStops(b, out);
        out += ' ';
        // An empty paragraph keeps its character format for the next typing.
        if (block.begin().atEnd())
            formatWords(block.charFormat(), out);
        QByteArray field; // the instruction of the field being written
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            const QByteArray instruction = fieldInstruction(f);
            if (!field.isEmpty() && instruction != field) {
                out += "}}";
                field.clear();
            }
            if (field.isEmpty() && !instruction.isEmpty()) {
                out += "{\\field" + instruction + "{\\fldrslt ";
                field = instruction;
            }
            if (f.isImageFormat()) {
                picture(f.toImageFormat(), out);
            } else if (f.objectType() == RtfKept::kObjectType) {
                // Each object character is one kept group, as it was read; its look stays
                // inside a group of its own (LibreOffice lets a footnote's \\super run on).
                const QByteArray group = f.property(RtfKept::kGroupProperty).toByteArray();
                // A section break that begins the paragraph went before it.
                const int written = sectionFirst && fragment.position() == block.position();
                if (fragment.length() == written || !RtfTokenizer::Balanced(group))
                    continue;
                out += '{';
                formatWords(f, out);
                for (qsizetype i = written; i < fragment.length(); ++i)
                    out += group;
                out += '}';
            } else {
                formatWords(f, out);
                text(fragment.text(), out);
            }
        }
        if (!field.isEmpty())
            out += "}}";
    }

    static bool isSectionBreak(const QByteArray& group) {
        return group.startsWith("\\sect") && !group.startsWith("\\sectd");
    }

    /// The section break a paragraph begins with, as it was read.
    static QByteArray sectionBreakAt(const QTextBlock& block) {
        const auto first = block.begin();
        if (first.atEnd())
            return {};
        const QTextCharFormat f = first.fragment().charFormat();
        const QByteArray group = f.property(RtfKept::kGroupProperty).toByteArray();
        return f.objectType() == RtfKept::kObjectType && isSectionBreak(group) ? group : QByteArray();
    }

    /// The instruction of the field a fragment is the result of: the one read, or a
    /// HYPERLINK for a link.
    static QByteArray fieldInstruction(const QTextCharFormat& f) {
        QByteArray instruction = f.property(RtfKept::kFieldInstructionProperty).toByteArray();
        if (!RtfTokenizer::Balanced(instruction))
            instruction.clear(); // written as the text it shows
        if (instruction.isEmpty() && f.isAnchor() && !f.anchorHref().isEmpty())
            instruction = RtfFieldInstruction::ForHyperlink(f.anchorHref());
        return instruction;
    }

    static void tabStops(const QTextBlockFormat& b, QByteArray& out) {
        static const char* const leaders[] = {"", "\\tldot", "\\tlhyph", "\\tlul", "\\tlth", "\\tleq", "\\tlmdot"};
        const QList<QTextOption::Tab> tabs = b.tabPositions();
        const QVariantList kept = b.property(RtfOwn::kTabLeaders).toList();
        for (int i = 0; i < tabs.size(); ++i) {
            const int leader = kept.size() == tabs.size() ? kept[i].toInt() : 0;
            if (leader > 0 && leader < int(std::size(leaders)))
                out += leaders[leader];
            switch (tabs[i].type) {
            case QTextOption::RightTab:
                out += "\\tqr";
                break;
            case QTextOption::CenterTab:
                out += "\\tqc";
                break;
            case QTextOption::DelimiterTab:
                out += "\\tqdec";
                break;
            default:
                break;
            }
            out += "\\tx" + QByteArray::number(twips(tabs[i].position));
        }
    }

    void formatWords(const QTextCharFormat& f, QByteArray& out) {
        const QString family = familyOf(f);
        out += "\\plain\\f" + QByteArray::number(fontNumber(family));
        // A font of the kept table in another code page reads its bytes in that page.
        codePage_ = keptFontTable_.isEmpty() ? 1252 : fontCodePages_.value(family, 1252);
        const qreal size = f.fontPointSize() > 0 ? f.fontPointSize() : 12;
        out += "\\fs" + QByteArray::number(std::lround(size * 2));
        if (f.fontWeight() >= QFont::DemiBold)
            out += "\\b";
        if (f.fontItalic())
            out += "\\i";
        if (f.fontUnderline())
            out += "\\ul";
        if (f.fontStrikeOut())
            out += "\\strike";
        if (f.foreground().style() != Qt::NoBrush)
            out += "\\cf" + QByteArray::number(colorNumber(f.foreground().color()));
        if (f.background().style() != Qt::NoBrush)
            out += "\\highlight" + QByteArray::number(colorNumber(f.background().color()));
        const bool raised = f.verticalAlignment() == QTextCharFormat::AlignSuperScript;
        const bool lowered = f.verticalAlignment() == QTextCharFormat::AlignSubScript;
        if (raised)
            out += "\\super";
        else if (lowered)
            out += "\\sub";
        else if (superOrSub_)
            out += "\\nosupersub"; // LibreOffice loses the text after \super when \plain ends it
        superOrSub_ = raised || lowered;
        if (const qreal offset = f.baselineOffset(); offset != 0) {
            const long halfPoints = std::lround(offset * size * 2 / 100);
            out += (halfPoints >= 0 ? "\\up" : "\\dn") + QByteArray::number(qint64(std::labs(halfPoints)));
        }
        if (f.fontCapitalization() == QFont::SmallCaps)
            out += "\\scaps";
        else if (f.fontCapitalization() == QFont::AllUppercase)
            out += "\\caps";
        out += ' ';
    }

    void picture(const QTextImageFormat& f, QByteArray& out) {
        // A picture shown at the size it was read at goes back as it came, cropping,
        // properties and all.
        const QByteArray group = f.property(RtfOwn::kPictureGroup).toByteArray();
        if (!group.isEmpty() && f.property(RtfOwn::kPictureShownSize).toSizeF() == QSizeF(f.width(), f.height()) &&
            RtfTokenizer::Balanced(group)) {
            out += group;
            return;
        }
        const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(f.name()));
        const QImage image = resource.value<QImage>();
        if (image.isNull())
            return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const qreal w = f.width() > 0 ? f.width() : image.width();
        const qreal h = f.height() > 0 ? f.height() : image.height();
        out += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
               QByteArray::number(image.height()) + "\\picwgoal" + QByteArray::number(std::lround(w * 15)) +
               "\\pichgoal" + QByteArray::number(std::lround(h * 15)) + "\r\n";
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128)
            out += hex.mid(i, 128) + "\r\n";
        out += "}";
    }

    const QTextDocument& doc_;
    RtfListWriter lists_;
    QStringList fonts_;
    QList<QColor> colors_;
    std::unordered_map<QString, int> fontAt_; // by family, into fonts_
    std::map<std::pair<int, quint64>, int> colorAt_; // into colors_
    std::unordered_map<QRgb, int> keptColorAt_; // the first valid kept colour of each value
    int defaultFont_ = 0;
    bool superOrSub_ = false; // the last run written was raised or lowered
    QByteArray keptFontTable_, keptColorTable_;
    QMap<QString, int> fontNumbers_;
    QMap<QString, int> fontCodePages_; // the kept fonts not in Windows-1252
    int codePage_ = 1252;              // that of the font of the run being written
    int nextFont_ = 0;
    QStringList newFonts_;
    QList<QColor> keptColors_, newColors_;
};

} // namespace

QByteArray RtfWriter::Write(const QTextDocument& document) {
    return Writer(document).run();
}

} // namespace qv::editor
