#include "editor/rtf/RtfWriter.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QVariant>
#include <cmath>

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
    explicit Writer(const QTextDocument& doc) : doc_(doc) {}

    QByteArray run() {
        collectTables();
        QByteArray body;
        bool first = true;
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
            if (!first)
                body += "\\par\r\n";
            first = false;
            writeBlock(block, body);
        }
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
        for (int i = 0; i < fonts_.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
            text(fonts_[i], out);
            out += ";}";
        }
        out += "}\r\n{\\colortbl;";
        for (const QColor& c : colors_)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                   "\\blue" + QByteArray::number(c.blue()) + ";";
        out += "}\r\n";
        out += body;
        out += "}\r\n";
        return out;
    }

private:
    static QString familyOf(const QTextCharFormat& f) {
        const QStringList families = f.fontFamilies().toStringList();
        return families.isEmpty() ? QStringLiteral("Courier New") : families.first();
    }

    void collectTables() {
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!fonts_.contains(familyOf(f)))
                    fonts_ << familyOf(f);
                for (const QBrush& b : {f.foreground(), f.background()})
                    if (b.style() != Qt::NoBrush && !colors_.contains(b.color()))
                        colors_ << b.color();
            }
        if (fonts_.isEmpty())
            fonts_ << QStringLiteral("Courier New");
    }

    void text(const QString& s, QByteArray& out) {
        for (const QChar qc : s) {
            const char16_t u = qc.unicode();
            switch (u) {
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
            } else if (const unsigned char b = toWindows1252(u); b >= 0x80) {
                out += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
            } else if (u >= 0x20) {
                out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + "?";
            }
        }
    }

    void writeBlock(const QTextBlock& block, QByteArray& out) {
        const QTextBlockFormat b = block.blockFormat();
        if (b.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            out += "\\page\r\n";
        out += "\\pard";
        const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
        out += a & Qt::AlignHCenter   ? "\\qc"
               : a & Qt::AlignRight   ? "\\qr"
               : a & Qt::AlignJustify ? "\\qj"
                                      : "\\ql";
        if (b.leftMargin() != 0)
            out += "\\li" + QByteArray::number(twips(b.leftMargin()));
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
        out += ' ';
        // An empty paragraph keeps its character format for the next typing.
        if (block.begin().atEnd())
            formatWords(block.charFormat(), out);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat()) {
                picture(f.toImageFormat(), out);
                continue;
            }
            formatWords(f, out);
            text(fragment.text(), out);
        }
    }

    void formatWords(const QTextCharFormat& f, QByteArray& out) {
        out += "\\plain\\f" + QByteArray::number(fonts_.indexOf(familyOf(f)));
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
            out += "\\cf" + QByteArray::number(colors_.indexOf(f.foreground().color()) + 1);
        if (f.background().style() != Qt::NoBrush)
            out += "\\highlight" + QByteArray::number(colors_.indexOf(f.background().color()) + 1);
        out += ' ';
    }

    void picture(const QTextImageFormat& f, QByteArray& out) {
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
    QStringList fonts_;
    QList<QColor> colors_;
};

} // namespace

QByteArray RtfWriter::Write(const QTextDocument& document) {
    return Writer(document).run();
}

} // namespace qv::editor
