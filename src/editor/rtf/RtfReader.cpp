#include "editor/rtf/RtfReader.h"

#include <QColor>
#include <QImage>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QVariant>
#include <QVector>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <limits>
#include <map>

namespace qv::editor {
namespace {

constexpr int kMaxDepth = 1024;             // deeper groups keep the innermost state
constexpr int kMaxWordLength = 32;          // a longer control word is an error
constexpr qsizetype kMaxPicture = 64 << 20; // bytes of one picture

enum class Destination { Text, Skip, FontTable, FontEntry, ColorTable, Picture, FieldInstruction };

struct CharState {
    bool bold = false, italic = false, underline = false, strike = false;
    int font = -1; // index in the font table
    int size = 24; // half points
    int color = 0; // index in the colour table, 0 = automatic
    int highlight = 0;
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    int lineSpacing = 0;
    bool lineMultiple = false;
};

struct GroupState {
    CharState ch;
    ParaState para;
    Destination dest = Destination::Text;
    int ucSkip = 1;
    int codePage = 1252;
};

struct Font {
    QString name;
    int codePage = 1252;
};

int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 42; // symbol: bytes as they are
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 238:
        return 1250;
    default:
        return 1252;
    }
}

/// Windows-1252 bytes 0x80-0x9F; the rest of the page is Latin-1.
char16_t fromWindows1252(unsigned char b) {
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return b >= 0x80 && b < 0xA0 ? high[b - 0x80] : char16_t(b);
}

class Reader {
public:
    Reader(const QByteArray& rtf, QTextDocument& doc) : in_(rtf), doc_(doc), cursor_(&doc) {}

    bool run(QString* error) {
        const QByteArray head = in_.left(6);
        if (!head.startsWith("{\\rtf")) {
            if (error)
                *error = QStringLiteral("The file is not in Rich Text Format.");
            return false;
        }
        doc_.clear();
        cursor_ = QTextCursor(&doc_);
        stack_.reserve(64);
        // One edit block: the layout follows once, at the end, not after every insert.
        cursor_.beginEditBlock();
        parse();
        flush();
        cursor_.endEditBlock();
        if (error && !fault_.isEmpty())
            *error = fault_;
        return true;
    }

private:
    // --- tokens -------------------------------------------------------------------------
    void parse() {
        const qsizetype n = in_.size();
        while (pos_ < n && !done_ && fault_.isEmpty()) {
            const char c = in_[pos_];
            if (c == '{') {
                ++pos_;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                closeGroup();
            } else if (c == '\\') {
                ++pos_;
                controlWord();
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                ++pos_;
                byteText(static_cast<unsigned char>(c));
            }
        }
    }

    void openGroup() {
        skipping_ = 0; // a group boundary ends the \uN skipping
        flushIfFormatChanges();
        if (depth_ < kMaxDepth)
            stack_.push_back(state_);
        ++depth_;
        ignorableNext_ = false;
    }

    void closeGroup() {
        skipping_ = 0;
        if (depth_ == 0)
            return;
        endDestination();
        --depth_;
        if (depth_ == 0) {
            done_ = true; // text after the final brace is not RTF
            return;
        }
        if (depth_ < kMaxDepth && !stack_.isEmpty()) {
            const Destination was = state_.dest;
            state_ = stack_.takeLast();
            if (was == Destination::FontEntry && state_.dest == Destination::FontTable)
                fontName_.clear();
        }
    }

    void controlWord() {
        const qsizetype n = in_.size();
        if (pos_ >= n)
            return;
        const char c = in_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        const qsizetype start = pos_;
        while (pos_ < n && std::isalpha(static_cast<unsigned char>(in_[pos_])))
            ++pos_;
        if (pos_ - start > kMaxWordLength) {
            fault_ = QStringLiteral("A control word is longer than 32 letters.");
            return;
        }
        const QByteArray word = in_.mid(start, pos_ - start);
        bool hasParam = false;
        bool negative = false;
        qint64 value = 0;
        if (pos_ < n && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < n && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
            hasParam = true;
            if (value < (qint64(1) << 40))
                value = value * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (negative && !hasParam)
            --pos_; // a lone "-" belongs to the text
        if (pos_ < n && in_[pos_] == ' ')
            ++pos_;
        // Parameters are clamped to what an int holds.
        const int param = static_cast<int>(std::clamp<qint64>(
            negative ? -value : value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        if (skipping_ > 0) {
            --skipping_;
            if (word == "bin" && hasParam)
                skipBinary(param);
            return;
        }
        handleWord(word, hasParam, param);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\'': {
            if (pos_ + 2 > in_.size()) {
                pos_ = in_.size();
                return;
            }
            bool ok = false;
            const int byte = in_.mid(pos_, 2).toInt(&ok, 16);
            pos_ += 2;
            if (ok)
                byteText(static_cast<unsigned char>(byte), true);
            return;
        }
        case '*':
            ignorableNext_ = true;
            return;
        case '\\':
        case '{':
        case '}':
            if (skipping_ > 0) {
                --skipping_;
                return;
            }
            character(char16_t(c));
            return;
        case '~':
            symbol(char16_t(0x00A0));
            return;
        case '_':
            symbol(char16_t(0x2011));
            return;
        case '-':
            symbol(char16_t(0x00AD));
            return;
        case '\r':
        case '\n':
            if (skipping_ == 0)
                paragraph();
            return;
        default:
            return; // \: \| and the like carry nothing we keep
        }
    }

    void symbol(char16_t u) {
        if (skipping_ > 0) {
            --skipping_;
            return;
        }
        character(u);
    }

    void skipBinary(int count) {
        const qsizetype left = in_.size() - pos_;
        pos_ += std::clamp<qsizetype>(count, 0, left);
    }

    // --- words --------------------------------------------------------------------------
    void handleWord(const QByteArray& w, bool hasParam, int p) {
        const bool ignorable = ignorableNext_;
        ignorableNext_ = false;
        auto& ch = state_.ch;
        auto& pa = state_.para;
        const int on = hasParam ? p : 1;
        // Destinations.
        if (w == "fonttbl") {
            state_.dest = Destination::FontTable;
        } else if (w == "colortbl") {
            state_.dest = Destination::ColorTable;
            colors_.clear();
            colorParts_ = {-1, -1, -1};
        } else if (w == "pict") {
            beginPicture();
        } else if (w == "fldinst") {
            state_.dest = Destination::Skip;
        } else if (w == "stylesheet" || w == "info" || w == "header" || w == "footer" || w == "headerl" ||
                   w == "headerr" || w == "headerf" || w == "footerl" || w == "footerr" || w == "footerf" ||
                   w == "listtable" || w == "listoverridetable" || w == "revtbl" || w == "rsidtbl" ||
                   w == "generator" || w == "xmlnstbl" || w == "nonshppict" || w == "objdata" ||
                   w == "themedata" || w == "colorschememapping" || w == "latentstyles" || w == "datastore" ||
                   w == "filetbl" || w == "pgdsctbl" || w == "footnote" || w == "annotation" ||
                   w == "pntext" || w == "bkmkstart" || w == "bkmkend" || w == "fldtype" ||
                   w == "datafield") {
            state_.dest = Destination::Skip;
        } else if (ignorable && state_.dest != Destination::Picture) {
            // An unknown destination marked \*: skipped whole.
            static const char* const known[] = {"shppict", "fldrslt", "ud", "upr"};
            bool keep = false;
            for (const char* k : known)
                keep = keep || w == k;
            if (!keep)
                state_.dest = Destination::Skip;
        }
        if (state_.dest == Destination::Skip)
            return;
        if (state_.dest == Destination::Picture) {
            pictureWord(w, hasParam, p);
            return;
        }
        if (state_.dest == Destination::ColorTable) {
            if (w == "red")
                colorParts_[0] = p;
            else if (w == "green")
                colorParts_[1] = p;
            else if (w == "blue")
                colorParts_[2] = p;
            return;
        }
        if (state_.dest == Destination::FontTable || state_.dest == Destination::FontEntry) {
            if (w == "f") {
                state_.dest = Destination::FontEntry;
                fontIndex_ = p;
                fonts_[p] = Font{};
                fontName_.clear();
            } else if (w == "fcharset") {
                fonts_[fontIndex_].codePage = codePageOfCharset(p);
            }
            return;
        }
        // Text formatting and structure.
        if (w == "par") {
            paragraph();
        } else if (w == "line") {
            character(char16_t(0x2028));
        } else if (w == "tab") {
            character(u'\t');
        } else if (w == "page") {
            paragraph();
            pageBreakBlock_ = true;
        } else if (w == "pard") {
            pa = ParaState{};
        } else if (w == "plain") {
            ch = CharState{};
            if (defaultFont_ >= 0)
                ch.font = defaultFont_;
        } else if (w == "b") {
            ch.bold = on != 0;
        } else if (w == "i") {
            ch.italic = on != 0;
        } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" || w == "ulth" ||
                   w == "ulwave") {
            ch.underline = on != 0;
        } else if (w == "ulnone") {
            ch.underline = false;
        } else if (w == "strike") {
            ch.strike = on != 0;
        } else if (w == "f") {
            ch.font = p;
            if (fonts_.count(p))
                state_.codePage = fonts_[p].codePage;
        } else if (w == "fs") {
            ch.size = hasParam && p > 0 && p <= 3276 ? p : 24;
        } else if (w == "cf") {
            ch.color = std::max(0, p);
        } else if (w == "highlight" || w == "cb") {
            ch.highlight = std::max(0, p);
        } else if (w == "ql") {
            pa.align = Qt::AlignLeft;
        } else if (w == "qc") {
            pa.align = Qt::AlignHCenter;
        } else if (w == "qr") {
            pa.align = Qt::AlignRight;
        } else if (w == "qj") {
            pa.align = Qt::AlignJustify;
        } else if (w == "li") {
            pa.left = p;
        } else if (w == "ri") {
            pa.right = p;
        } else if (w == "fi") {
            pa.first = p;
        } else if (w == "sb") {
            pa.before = p;
        } else if (w == "sa") {
            pa.after = p;
        } else if (w == "sl") {
            pa.lineSpacing = p;
        } else if (w == "slmult") {
            pa.lineMultiple = on != 0;
        } else if (w == "u") {
            unicode(p);
        } else if (w == "uc") {
            state_.ucSkip = std::clamp(p, 0, 16);
        } else if (w == "deff") {
            defaultFont_ = p;
            if (state_.ch.font < 0)
                state_.ch.font = p;
        } else if (w == "ansicpg") {
            state_.codePage = p == 1252 ? 1252 : p;
        } else if (w == "bin") {
            skipBinary(p);
        }
    }

    // --- text ---------------------------------------------------------------------------
    void byteText(unsigned char b, bool escaped = false) {
        if (skipping_ > 0) {
            --skipping_;
            return;
        }
        switch (state_.dest) {
        case Destination::Skip:
        case Destination::FieldInstruction:
            return;
        case Destination::ColorTable:
            if (b == ';') {
                colors_.push_back(colorParts_[0] < 0 ? QColor()
                                                     : QColor(std::clamp(colorParts_[0], 0, 255),
                                                              std::clamp(colorParts_[1], 0, 255),
                                                              std::clamp(colorParts_[2], 0, 255)));
                colorParts_ = {-1, -1, -1};
            }
            return;
        case Destination::FontTable:
        case Destination::FontEntry:
            if (b == ';') {
                if (fontIndex_ >= 0)
                    fonts_[fontIndex_].name = fontName_.trimmed();
                fontName_.clear();
            } else {
                fontName_ += QChar(fromWindows1252(b));
            }
            return;
        case Destination::Picture:
            if (!escaped)
                pictureHex(b);
            return;
        case Destination::Text:
            break;
        }
        if (b < 0x20 && b != '\t')
            return;
        character(state_.codePage == 1252 || b < 0x80 ? fromWindows1252(b) : decodeByte(b));
    }

    char16_t decodeByte(unsigned char b) {
        const QByteArray name = "windows-" + QByteArray::number(state_.codePage);
        QStringDecoder decoder(name.constData());
        if (!decoder.isValid())
            return fromWindows1252(b);
        const QString s = decoder(QByteArray(1, static_cast<char>(b)));
        return s.isEmpty() ? fromWindows1252(b) : s.at(0).unicode();
    }

    void unicode(int n) {
        // \uN takes a signed 16-bit value; larger ones are taken as they come.
        char32_t u = n < 0 ? static_cast<char32_t>(n + 65536) : static_cast<char32_t>(n);
        if (u >= 0xD800 && u <= 0xDBFF) {
            pendingHigh_ = static_cast<char16_t>(u);
        } else if (u >= 0xDC00 && u <= 0xDFFF && pendingHigh_) {
            if (state_.dest == Destination::Text) {
                pending_ += QChar(pendingHigh_);
                pending_ += QChar(static_cast<char16_t>(u));
            }
            pendingHigh_ = 0;
        } else if (u <= 0x10FFFF && state_.dest == Destination::Text) {
            pending_ += QString::fromUcs4(&u, 1);
        }
        skipping_ = state_.ucSkip;
    }

    void character(char16_t u) {
        if (state_.dest != Destination::Text)
            return;
        flushIfFormatChanges();
        pending_ += QChar(u);
    }

    void flushIfFormatChanges() {
        if (!pending_.isEmpty() && !(pendingFormat_ == state_.ch))
            flush();
        if (pending_.isEmpty())
            pendingFormat_ = state_.ch;
    }

    QTextCharFormat charFormat(const CharState& ch) {
        QTextCharFormat f;
        f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(ch.italic);
        f.setFontUnderline(ch.underline);
        f.setFontStrikeOut(ch.strike);
        f.setFontPointSize(ch.size / 2.0);
        if (auto it = fonts_.find(ch.font); it != fonts_.end() && !it->second.name.isEmpty())
            f.setFontFamilies({it->second.name});
        if (ch.color > 0 && ch.color < colors_.size() && colors_[ch.color].isValid())
            f.setForeground(colors_[ch.color]);
        if (ch.highlight > 0 && ch.highlight < colors_.size() && colors_[ch.highlight].isValid())
            f.setBackground(colors_[ch.highlight]);
        return f;
    }

    QTextBlockFormat blockFormat(const ParaState& p) {
        QTextBlockFormat f;
        f.setAlignment(p.align);
        f.setLeftMargin(p.left / 20.0);
        f.setRightMargin(p.right / 20.0);
        f.setTextIndent(p.first / 20.0);
        f.setTopMargin(p.before / 20.0);
        f.setBottomMargin(p.after / 20.0);
        if (p.lineSpacing > 0 && p.lineMultiple)
            f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            f.setLineHeight(p.lineSpacing / 20.0, QTextBlockFormat::MinimumHeight);
        if (pageBreakBlock_)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        return f;
    }

    void applyBlockFormat() {
        cursor_.setBlockFormat(blockFormat(state_.para));
        blockFormatted_ = true;
    }

    void flush() {
        if (pending_.isEmpty())
            return;
        if (!blockFormatted_)
            applyBlockFormat();
        cursor_.insertText(pending_, charFormat(pendingFormat_));
        pending_.clear();
    }

    void paragraph() {
        if (state_.dest != Destination::Text)
            return;
        flush();
        if (!blockFormatted_)
            applyBlockFormat();
        pageBreakBlock_ = false;
        QTextCharFormat f = charFormat(state_.ch);
        cursor_.insertBlock(QTextBlockFormat(), f);
        blockFormatted_ = false;
    }

    // --- pictures -----------------------------------------------------------------------
    void beginPicture() {
        state_.dest = Destination::Picture;
        picture_.clear();
        pictureType_.clear();
        nibble_ = -1;
        goalWidth_ = goalHeight_ = 0;
        scaleX_ = scaleY_ = 100;
    }

    void pictureWord(const QByteArray& w, bool hasParam, int p) {
        if (w == "pngblip")
            pictureType_ = "PNG";
        else if (w == "jpegblip")
            pictureType_ = "JPG";
        else if (w == "picwgoal")
            goalWidth_ = p;
        else if (w == "pichgoal")
            goalHeight_ = p;
        else if (w == "picscalex")
            scaleX_ = std::clamp(p, 1, 1000);
        else if (w == "picscaley")
            scaleY_ = std::clamp(p, 1, 1000);
        else if (w == "bin" && hasParam) {
            const qsizetype count = std::clamp<qsizetype>(p, 0, in_.size() - pos_);
            if (picture_.size() + count <= kMaxPicture)
                picture_.append(in_.mid(pos_, count));
            pos_ += count;
        }
    }

    void pictureHex(unsigned char b) {
        int v;
        if (b >= '0' && b <= '9')
            v = b - '0';
        else if (b >= 'a' && b <= 'f')
            v = b - 'a' + 10;
        else if (b >= 'A' && b <= 'F')
            v = b - 'A' + 10;
        else
            return;
        if (nibble_ < 0) {
            nibble_ = v;
        } else {
            if (picture_.size() < kMaxPicture)
                picture_.append(static_cast<char>(nibble_ << 4 | v));
            nibble_ = -1;
        }
    }

    void endDestination() {
        if (state_.dest != Destination::Picture)
            return;
        // Only the group that began the picture ends it.
        if (!stack_.isEmpty() && stack_.last().dest == Destination::Picture)
            return;
        QImage image;
        if (!pictureType_.isEmpty() && !picture_.isEmpty())
            image.loadFromData(picture_, pictureType_.constData());
        picture_.clear();
        if (image.isNull())
            return;
        const QString name = QStringLiteral("rtfpicture%1").arg(++pictures_);
        doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat f;
        f.setName(name);
        // Goal sizes are twips; shown at 96 pixels per inch.
        if (goalWidth_ > 0 && goalHeight_ > 0) {
            f.setWidth(goalWidth_ * scaleX_ / 100.0 / 15.0);
            f.setHeight(goalHeight_ * scaleY_ / 100.0 / 15.0);
        }
        const Destination saved = state_.dest;
        state_.dest = Destination::Text;
        flush();
        if (!blockFormatted_)
            applyBlockFormat();
        cursor_.insertImage(f);
        state_.dest = saved;
    }

    const QByteArray& in_;
    QTextDocument& doc_;
    QTextCursor cursor_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    bool done_ = false;
    QString fault_;
    QVector<GroupState> stack_;
    GroupState state_;
    int skipping_ = 0;
    bool ignorableNext_ = false;
    char16_t pendingHigh_ = 0;
    QString pending_;
    CharState pendingFormat_;
    bool blockFormatted_ = false;
    bool pageBreakBlock_ = false;
    std::map<int, Font> fonts_;
    int fontIndex_ = -1;
    QString fontName_;
    int defaultFont_ = -1;
    QVector<QColor> colors_;
    std::array<int, 3> colorParts_{-1, -1, -1};
    QByteArray picture_;
    QByteArray pictureType_;
    int nibble_ = -1;
    int goalWidth_ = 0, goalHeight_ = 0, scaleX_ = 100, scaleY_ = 100;
    int pictures_ = 0;
};

} // namespace

bool RtfReader::Read(const QByteArray& rtf, QTextDocument& document, QString* error) {
    return Reader(rtf, document).run(error);
}

} // namespace qv::editor
