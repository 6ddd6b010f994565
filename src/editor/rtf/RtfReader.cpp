#include "editor/rtf/RtfReader.h"

#include "editor/rtf/RtfLists.h"
#include "editor/rtf/RtfTables.h"

#include "editor/rtf/RtfDestinations.h"
#include "editor/rtf/RtfCharsets.h"
#include "editor/rtf/RtfFieldInstruction.h"
#include "editor/rtf/RtfGroupState.h"
#include "editor/rtf/RtfKept.h"
#include "editor/rtf/RtfKeptHeader.h"
#include "editor/rtf/RtfOwnProperties.h"
#include "editor/rtf/RtfPicture.h"
#include "editor/rtf/RtfTokenizer.h"

#include <QColor>
#include <QImage>
#include <QTextBlock>
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
#include <utility>

namespace qv::editor {
namespace {

constexpr int kMaxDepth = 1024;    // deeper groups keep the innermost state
constexpr int kMaxWordLength = 32; // a longer control word is not read

// What could not be read, in the words the window shows.
const char* const kLongWord = "A control word longer than 32 letters could not be read and was left out.";
const char* const kCutShort = "The file ends before its last group is closed: its end is missing.";
const char* const kTooDeep = "Groups are nested more than 1024 deep: the formatting inside the deepest ones "
                             "could not be read.";
const char* const kBinaryPastEnd = "Binary data runs past the end of the file.";
const char* const kPictureCutShort = "A picture's data is cut short: the picture could not be read.";

using Destination = RtfGroupState::Destination;
using CharState = RtfGroupState::Character;
using GroupState = RtfGroupState;

/// What a captured group becomes when it closes.
enum class Capture { None, DocumentGroup, InlineGroup, Preamble, Instruction };

struct Font {
    QString name;
    int codePage = 1252;
};

struct Field {
    qsizetype start = 0;
    int depth = 0;
    QByteArray instruction;
    QString href;
    bool shown = false;
};

} // namespace

namespace {

class Reader {
public:
    Reader(const QByteArray& rtf, QTextDocument& doc)
        : in_(rtf), doc_(doc), cursor_(&doc), tables_(cursor_, [this](int i) { return colorAt(i); }), lists_(cursor_) {}

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
        if (!done_)
            endOfFile();
        flush();
        tables_.finish(); // the text's last paragraph is after its tables
        if (cursor_.block().length() == 1)
            cursor_.setBlockCharFormat(charFormat(state_.ch));
        lists_.finish(doc_);
        keepHeader();
        cursor_.endEditBlock();
        if (error)
            *error = problems_.join(QLatin1Char('\n'));
        return true;
    }

private:
    // --- tokens -------------------------------------------------------------------------
    void parse() {
        const qsizetype n = in_.size();
        while (pos_ < n && !done_) {
            tokenStart_ = pos_;
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
                ++state_.tokens;
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                ++pos_;
                ignorableNext_ = false; // \* marks only the word right after it
                byteText(static_cast<unsigned char>(c));
                ++state_.tokens; // a space shown as text too: what follows is no destination
            }
        }
    }

    void problem(const char* text) {
        const QString s = QString::fromLatin1(text);
        if (!problems_.contains(s))
            problems_ << s;
    }

    /// The file ended inside a group: what was open is closed, and said so.
    void endOfFile() {
        if (depth_ == 0)
            return;
        problem(state_.dest == Destination::Picture ? kPictureCutShort : kCutShort);
        tokenStart_ = in_.size(); // a section break read so far is whole
        // What is cut short is not a whole group: writing it back would break the file.
        capture_ = Capture::None;
        cutShort_ = true;
        while (depth_ > 1 && !done_)
            closeGroup();
    }

    void openGroup() {
        endSectionBreak();
        skipping_ = 0; // a group boundary ends the \uN skipping
        if (state_.dest == Destination::Text)
            flushIfFormatChanges();
        if (depth_ < kMaxDepth)
            stack_.push_back(state_);
        else if (state_.dest == Destination::Text)
            problem(kTooDeep);
        ++depth_;
        if (depth_ <= kMaxDepth) { // tables and lists: paragraph properties are the group's
            tables_.openGroup();
            lists_.openGroup();
        }
        state_.start = pos_ - 1;
        state_.tokens = 0;
        ignorableNext_ = false;
    }

    void closeGroup() {
        endSectionBreak();
        ignorableNext_ = false;
        skipping_ = 0;
        if (depth_ == 0)
            return;
        endGroup();
        --depth_;
        if (depth_ == 0) {
            done_ = true; // text after the final brace is not RTF
            return;
        }
        if (depth_ < kMaxDepth) {
            tables_.closeGroup();
            lists_.closeGroup();
        }
        if (depth_ < kMaxDepth && !stack_.isEmpty()) {
            const Destination was = state_.dest;
            state_ = stack_.takeLast();
            ++state_.tokens; // a group read in it: what follows is no destination
            if (was == Destination::FontEntry && state_.dest == Destination::FontTable)
                fontName_.clear();
        }
        endField();
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
        const RtfTokenizer::Word read = RtfTokenizer::ReadWord(in_, pos_);
        const qsizetype start = read.start, length = read.length;
        const bool hasParam = read.hasParam;
        const int param = read.param;
        if (length > kMaxWordLength) {
            // Unknown whatever it says: a destination marked \* is passed over whole,
            // inside a group passed over it is nothing, in the text it is a loss.
            if (ignorableNext_) {
                handleWord("?", hasParam, param);
            } else if (state_.dest == Destination::Text && skipping_ == 0) {
                problem(kLongWord);
            }
            if (skipping_ > 0)
                --skipping_;
            return;
        }
        const QByteArray word = in_.mid(start, length);
        if (state_.dest == Destination::Skip || state_.dest == Destination::Kept) {
            // Only the braces and binary data count here: the bytes are taken as they are.
            ignorableNext_ = false;
            if (word == "bin" && hasParam)
                skipBinary(param);
            return;
        }
        if (skipping_ > 0) {
            --skipping_;
            if (word == "bin" && hasParam)
                skipBinary(param);
            return;
        }
        handleWord(word, hasParam, param);
    }

    void controlSymbol(char c) {
        if (state_.dest == Destination::Skip || state_.dest == Destination::Kept) {
            if (c == '\'')
                RtfTokenizer::ReadHexByte(in_, pos_);
            return;
        }
        if (c != '*')
            ignorableNext_ = false;
        switch (c) {
        case '\'': {
            if (const int byte = RtfTokenizer::ReadHexByte(in_, pos_); byte >= 0)
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
            if (state_.dest == Destination::FontTable || state_.dest == Destination::FontEntry)
                byteText(static_cast<unsigned char>(c), true); // part of a font's name
            else
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

    /// Passes over \binN data; what it returns is the data there is.
    QByteArray skipBinary(int count) {
        const qsizetype left = in_.size() - pos_;
        if (count > left)
            problem(state_.dest == Destination::Picture ? kPictureCutShort : kBinaryPastEnd);
        const qsizetype take = std::clamp<qsizetype>(count, 0, left);
        const qsizetype at = pos_;
        pos_ += take;
        return state_.dest == Destination::Picture ? in_.mid(at, take) : QByteArray();
    }

    // --- words --------------------------------------------------------------------------
    // Every control word comes through here: destinations first, then the words of the
    // destination being read, then the text's own formatting and structure.
    void handleWord(const QByteArray& w, bool hasParam, int p) {
        const bool ignorable = ignorableNext_;
        ignorableNext_ = false;
        if (sectionStart_ >= 0 && w != "sect" && !RtfDestinations::isDocumentWord(w))
            endSectionBreak();
        if (state_.dest == Destination::Text && tableOrListWord(w, hasParam, p, ignorable))
            return;
        if (destinationWord(w, ignorable))
            return;
        switch (state_.dest) {
        case Destination::Skip:
        case Destination::Kept:
        case Destination::ShapePicture:
            return;
        case Destination::Picture:
            if (w == "bin" && hasParam)
                picture_.binary(skipBinary(p));
            else
                picture_.word(w, p);
            return;
        case Destination::ColorTable:
            colorWord(w, p);
            return;
        case Destination::FontTable:
        case Destination::FontEntry:
            fontWord(w, p);
            return;
        case Destination::Text:
            break;
        }
        if (outsideResult())
            return; // the field's own words: they go with it when it is kept whole
        if (characterWord(w, hasParam, p) || paragraphWord(w, hasParam, p) || structureWord(w, hasParam, p))
            return;
        if (!bodyStarted_ && depth_ == 1 && RtfDestinations::isDocumentWord(w))
            header_.addWord(w, hasParam, p); // a document or section setting, kept as written
    }

    /// Tables and lists are read by RtfTables and RtfLists; the reader ends its paragraph
    /// for them where a cell or row ends.
    bool tableOrListWord(const QByteArray& w, bool hasParam, int p, bool ignorable) {
        // A field's own group goes whole with the field: no cell, row or list is made of it.
        if (outsideResult())
            return false;
        // A list table is one only as its group's first word and without a number (the
        // table is written back without it): elsewhere it would take the bytes of the
        // groups around it, kept there as well.
        if ((w == "listtable" || w == "listoverridetable") && (hasParam || !leadsGroup(ignorable)))
            return false;
        switch (lists_.word(w, hasParam, p, ignorable, in_, pos_)) {
        case RtfLists::Word::Taken:
            return true;
        case RtfLists::Word::SkipGroup:
            state_.dest = Destination::Skip;
            return true;
        case RtfLists::Word::NotMine:
            break;
        }
        switch (tables_.word(w, hasParam, p)) {
        case RtfTables::Word::NotMine:
            return false;
        case RtfTables::Word::Taken:
            return true;
        case RtfTables::Word::SkipGroup:
            state_.dest = Destination::Skip;
            return true;
        case RtfTables::Word::EndsCell:
            flush();
            noteText();
            if (!blockFormatted_)
                applyBlockFormat();
            if (cursor_.block().length() == 1) // an empty cell keeps its look for typing
                cursor_.setBlockCharFormat(charFormat(state_.ch));
            tables_.endCell();
            break;
        case RtfTables::Word::EndsRow:
            flush();
            tables_.endRow();
            break;
        }
        blockFormatted_ = false;
        pageBreakBlock_ = false;
        return true;
    }

    QColor colorAt(int i) const { return i > 0 && i < colors_.size() ? colors_[i] : QColor(); }

    /// True when `w` began (or decided) a destination.
    bool destinationWord(const QByteArray& w, bool ignorable) {
        const Destination dest = state_.dest;
        if (dest == Destination::Skip || dest == Destination::Kept)
            return true;
        // A destination is a group of its own: one named in the document's own group
        // would take the whole document with it.
        if (depth_ <= 1 && (w == "fonttbl" || w == "colortbl" || w == "pict" || w == "shppict" ||
                            w == "nonshppict" || w == "field" || w == "fldinst" || w == "fldrslt"))
            return true;
        const bool inText = dest == Destination::Text;
        if ((w == "chftn" || w == "chatn") && inText) {
            // The automatic mark of a footnote or comment goes with its group.
            if (prefix_.isEmpty())
                prefixStart_ = tokenStart_;
            prefix_ += '\\' + w + ' ';
            return true;
        }
        if ((w == "ud" || w == "upr") && inText)
            return true;
        if (!leadsGroup(ignorable))
            return false; // not where a destination is named: an ordinary word
        // The document's tables are in its own group only, and its font table once: a
        // second would rename fonts the text read so far uses.
        if ((w == "fonttbl" || w == "colortbl") &&
            (depth_ != 2 || !inText || (w == "fonttbl" && fontTableBegun_))) {
            state_.dest = Destination::Skip;
            return true;
        }
        if (w == "fonttbl") {
            fontTableBegun_ = true;
            state_.dest = Destination::FontTable;
            fontTableDepth_ = depth_;
            fontTableStart_ = state_.start;
            return true;
        }
        if (w == "colortbl") {
            state_.dest = Destination::ColorTable;
            colors_.clear();
            colorParts_ = {-1, -1, -1};
            colorTableDepth_ = depth_;
            colorTableStart_ = state_.start;
            return true;
        }
        if (inText && outsideResult() && w != "fldinst" && w != "fldrslt") {
            // Only the instruction and the result of a field are read: the rest goes
            // with the field when it is kept whole.
            if (w == "pict" || w == "shppict" || w == "nonshppict" || w == "field" || ignorable ||
                RtfDestinations::placeOf(w) != RtfDestinations::Place::Unknown) {
                state_.dest = Destination::Skip;
                return true;
            }
        }
        if (w == "pict" && (inText || dest == Destination::ShapePicture)) {
            state_.dest = Destination::Picture;
            picture_.begin();
            pictureDepth_ = depth_;
            pictureStart_ = state_.start;
            return true;
        }
        if (w == "shppict" && inText) {
            state_.dest = Destination::ShapePicture;
            shppictDepth_ = depth_;
            shppictStart_ = state_.start;
            return true;
        }
        if (w == "nonshppict" && inText) {
            // The fallback for readers without \shppict: the picture is already in.
            if (pictureRead_)
                state_.dest = Destination::Skip;
            pictureRead_ = false;
            return true;
        }
        if (w == "field" && inText) {
            fields_.push_back(Field{state_.start, depth_, {}, {}, false});
            state_.field = int(fields_.size()) - 1;
            openFields_.push_back(state_.field);
            return true;
        }
        if (w == "fldinst" && inText) {
            if (state_.field >= 0 && depth_ > 1) {
                beginCapture(Capture::Instruction, {});
                captureField_ = state_.field;
            } else {
                state_.dest = Destination::Skip;
            }
            return true;
        }
        if (w == "fldrslt" && inText) {
            state_.ch.field = state_.field;
            return true;
        }
        const RtfDestinations::Place place = RtfDestinations::placeOf(w);
        if (place == RtfDestinations::Place::Unknown && !ignorable)
            return false;
        if (!inText || place == RtfDestinations::Place::Dropped || depth_ <= 1) {
            state_.dest = Destination::Skip;
            return true;
        }
        switch (place) {
        case RtfDestinations::Place::Document:
            beginCapture(Capture::DocumentGroup, {});
            break;
        case RtfDestinations::Place::Inline:
            beginCapture(RtfDestinations::isPreamble(w) ? Capture::Preamble : Capture::InlineGroup,
                         RtfDestinations::labelOf(w));
            break;
        default:
            beginCapture(bodyStarted_ ? Capture::InlineGroup : Capture::DocumentGroup, RtfDestinations::labelOf(w));
            break;
        }
        return true;
    }

    /// Whether the word being read opens its group (after \* at most): the group is all
    /// the destination's, and nothing before it was read as something else.
    bool leadsGroup(bool ignorable) const { return state_.tokens == 0 || (ignorable && state_.tokens == 1); }

    void beginCapture(Capture kind, const QString& label) {
        state_.dest = Destination::Kept;
        capture_ = kind;
        captureDepth_ = depth_;
        captureStart_ = state_.start;
        captureLabel_ = label;
    }

    void colorWord(const QByteArray& w, int p) {
        if (w == "red")
            colorParts_[0] = p;
        else if (w == "green")
            colorParts_[1] = p;
        else if (w == "blue")
            colorParts_[2] = p;
    }

    void fontWord(const QByteArray& w, int p) {
        if (w == "f") {
            state_.dest = Destination::FontEntry;
            fontIndex_ = p;
            fonts_[p] = Font{};
            fontName_.clear();
        } else if (w == "fcharset") {
            fonts_[fontIndex_].codePage = RtfCharsets::CodePageOf(p);
        } else if (w == "u") {
            unicode(p);
        }
    }

    bool characterWord(const QByteArray& w, bool hasParam, int p) {
        if (!state_.characterWord(w, hasParam, p, defaultFont_))
            return false;
        if (w == "f" && fonts_.count(p))
            state_.codePage = fonts_[p].codePage;
        return true;
    }

    bool paragraphWord(const QByteArray& w, bool hasParam, int p) { return state_.paragraphWord(w, hasParam, p); }

    bool structureWord(const QByteArray& w, bool hasParam, int p) {
        if (w == "par") {
            paragraph();
        } else if (w == "line") {
            character(char16_t(0x2028));
        } else if (w == "tab") {
            character(u'\t');
        } else if (w == "sect") {
            sectionBreak();
        } else if (w == "page") {
            // A break after a paragraph's end belongs to the next one: no empty one between.
            if (!pending_.isEmpty() || !cursor_.block().text().isEmpty())
                paragraph();
            pageBreakBlock_ = true;
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
            skipBinary(hasParam ? p : 0);
        } else {
            return false;
        }
        return true;
    }

    // --- text ---------------------------------------------------------------------------
    void byteText(unsigned char b, bool escaped = false) {
        if (skipping_ > 0) {
            --skipping_;
            return;
        }
        switch (state_.dest) {
        case Destination::Skip:
        case Destination::Kept:
        case Destination::ShapePicture:
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
            } else if (b >= 0x20) { // a control character is no part of a name
                fontName_ += QChar(RtfCharsets::FromWindows1252(b));
            }
            return;
        case Destination::Picture:
            if (!escaped)
                picture_.hex(b);
            return;
        case Destination::Text:
            break;
        }
        if (b < 0x20 && b != '\t')
            return;
        character(RtfCharsets::Decode(b, state_.codePage));
    }

    void unicode(int n) {
        // \uN takes a signed 16-bit value; larger ones are taken as they come.
        char32_t u = n < 0 ? static_cast<char32_t>(n + 65536) : static_cast<char32_t>(n);
        if (u < 0x20 && u != '\t') {
            skipping_ = state_.ucSkip; // a control character is no text
            return;
        }
        if (state_.dest == Destination::FontEntry || state_.dest == Destination::FontTable) {
            if (u <= 0xFFFF && (u < 0xD800 || u > 0xDFFF) && u != '\t')
                fontName_ += QChar(char16_t(u)); // a name written with \u
            skipping_ = state_.ucSkip;
            return;
        }
        if (u >= 0xD800 && u <= 0xDBFF) {
            pendingHigh_ = static_cast<char16_t>(u);
        } else if (u >= 0xDC00 && u <= 0xDFFF && pendingHigh_) {
            if (state_.dest == Destination::Text && !outsideResult()) {
                flushIfFormatChanges();
                noteText();
                pending_ += QChar(pendingHigh_);
                pending_ += QChar(static_cast<char16_t>(u));
            }
            pendingHigh_ = 0;
        } else if (u <= 0x10FFFF && state_.dest == Destination::Text && !outsideResult()) {
            flushIfFormatChanges();
            noteText();
            pending_ += QString::fromUcs4(&u, 1);
        }
        skipping_ = state_.ucSkip;
    }

    /// In a field's group but not in its result.
    bool outsideResult() const { return state_.field >= 0 && state_.ch.field != state_.field; }

    void character(char16_t u) {
        if (state_.dest != Destination::Text || outsideResult())
            return;
        flushIfFormatChanges();
        noteText();
        pending_ += QChar(u);
    }

    /// A section break and the next section's settings: kept as one object at the start
    /// of the section's first paragraph.
    void sectionBreak() {
        if (sectionStart_ >= 0 || !bodyStarted_)
            return; // before the first text, there is no section to end
        if (!pending_.isEmpty() || !cursor_.block().text().isEmpty())
            paragraph();
        sectionStart_ = tokenStart_;
    }

    void endSectionBreak() {
        if (sectionStart_ < 0)
            return;
        QByteArray bytes = in_.mid(sectionStart_, tokenStart_ - sectionStart_).trimmed();
        sectionStart_ = -1;
        // A file cut short after a backslash: written back, it would take the line end
        // after it as a paragraph.
        qsizetype backslashes = 0;
        while (backslashes < bytes.size() && bytes[bytes.size() - 1 - backslashes] == '\\')
            ++backslashes;
        if (backslashes % 2)
            bytes.chop(1);
        if (bytes.isEmpty())
            return;
        const QByteArray prefix = std::exchange(prefix_, QByteArray());
        insertKept(bytes, QStringLiteral("Section break"));
        prefix_ = prefix;
        // The paragraph's own settings come after the break.
        cursor_.setBlockFormat(QTextBlockFormat());
        blockFormatted_ = false;
    }

    /// Something shown goes into the document: the header is behind us.
    void noteText() {
        endSectionBreak();
        bodyStarted_ = true;
        prefix_.clear();
        pictureRead_ = false;
        if (state_.ch.field >= 0)
            fields_[state_.ch.field].shown = true;
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
        if (auto it = fonts_.find(ch.font); it != fonts_.end() && !it->second.name.isEmpty()) {
            f.setFontFamilies({it->second.name});
            f.setProperty(RtfOwn::kFontName, it->second.name);
        }
        if (ch.color > 0 && ch.color < colors_.size() && colors_[ch.color].isValid())
            f.setForeground(colors_[ch.color]);
        if (ch.highlight > 0 && ch.highlight < colors_.size() && colors_[ch.highlight].isValid())
            f.setBackground(colors_[ch.highlight]);
        if (ch.vertical)
            f.setVerticalAlignment(ch.vertical == 1 ? QTextCharFormat::AlignSuperScript
                                                    : QTextCharFormat::AlignSubScript);
        if (ch.offset)
            f.setBaselineOffset(ch.offset * 100.0 / ch.size); // a share of the font's size
        if (ch.caps != QFont::MixedCase)
            f.setFontCapitalization(ch.caps);
        if (ch.field >= 0 && ch.field < fields_.size()) {
            const Field& field = fields_[ch.field];
            if (!field.instruction.isEmpty())
                f.setProperty(RtfKept::kFieldInstructionProperty, field.instruction);
            if (!field.href.isEmpty()) {
                f.setAnchor(true);
                f.setAnchorHref(field.href);
            }
        }
        return f;
    }

    void applyBlockFormat() {
        tables_.place(); // into the paragraph's table cell, or out of the tables it is not in
        cursor_.setBlockFormat(state_.para.blockFormat(pageBreakBlock_));
        lists_.place();
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
        if (state_.dest != Destination::Text || outsideResult())
            return;
        flush();
        noteText();
        if (!blockFormatted_)
            applyBlockFormat();
        pageBreakBlock_ = false;
        QTextCharFormat f = charFormat(state_.ch);
        // An empty paragraph's mark has the look in effect where it ends, as any other's.
        if (cursor_.block().length() == 1)
            cursor_.setBlockCharFormat(f);
        cursor_.insertBlock(QTextBlockFormat(), f);
        blockFormatted_ = false;
    }

    /// A group the document does not show, as an object at its place.
    void insertKept(QByteArray bytes, const QString& label, const QSizeF& size = QSizeF()) {
        if (!prefix_.isEmpty())
            bytes = '{' + prefix_ + bytes + '}';
        flush();
        noteText();
        if (!blockFormatted_)
            applyBlockFormat();
        QTextCharFormat f = charFormat(state_.ch);
        f.setObjectType(RtfKept::kObjectType);
        f.setProperty(RtfKept::kGroupProperty, bytes);
        f.setProperty(RtfKept::kLabelProperty, label);
        if (size.isValid() && !size.isEmpty())
            f.setProperty(RtfKept::kSizeProperty, size);
        cursor_.insertText(QString(QChar::ObjectReplacementCharacter), f);
    }

    // --- group ends ---------------------------------------------------------------------
    /// The group at depth_ closes; state_ is still its own.
    void endGroup() {
        if (cutShort_)
            return;
        if (capture_ != Capture::None && depth_ == captureDepth_ && state_.dest == Destination::Kept) {
            const QByteArray group = in_.mid(captureStart_, pos_ - captureStart_);
            const Capture kind = capture_;
            capture_ = Capture::None;
            switch (kind) {
            case Capture::DocumentGroup:
                header_.addGroup(group);
                break;
            case Capture::InlineGroup:
                insertKept(group, captureLabel_);
                break;
            case Capture::Preamble:
                prefix_ += group;
                break;
            case Capture::Instruction:
                if (captureField_ >= 0 && captureField_ < fields_.size()) {
                    fields_[captureField_].instruction = group;
                    fields_[captureField_].href = RtfFieldInstruction::Hyperlink(group);
                }
                break;
            case Capture::None:
                break;
            }
            return;
        }
        if (depth_ == fontTableDepth_ && (state_.dest == Destination::FontTable)) {
            header_.setFontTable(in_.mid(fontTableStart_, pos_ - fontTableStart_));
            fontTableDepth_ = -1;
        } else if (depth_ == colorTableDepth_ && state_.dest == Destination::ColorTable) {
            header_.setColorTable(in_.mid(colorTableStart_, pos_ - colorTableStart_));
            colorTableDepth_ = -1;
        } else if (depth_ == pictureDepth_ && state_.dest == Destination::Picture) {
            endPicture();
        } else if (depth_ == shppictDepth_) {
            shppictDepth_ = -1;
            if (pictureWaiting_) {
                pictureWaiting_ = false;
                placePicture(in_.mid(shppictStart_, pos_ - shppictStart_));
                pictureRead_ = true;
            }
        }
    }

    /// After the group at depth_ + 1 closed: a field ends with its group; one whose
    /// result showed nothing is kept whole.
    void endField() {
        while (cutShort_ && !openFields_.isEmpty())
            openFields_.pop_back();
        while (!openFields_.isEmpty() && fields_[openFields_.last()].depth > depth_) {
            const Field& field = fields_[openFields_.takeLast()];
            if (!prefix_.isEmpty() && prefixStart_ > field.start)
                prefix_.clear(); // a mark in the field's group is in its bytes already
            if (!field.shown)
                insertKept(in_.mid(field.start, pos_ - field.start), QStringLiteral("Field"));
        }
    }

    // --- pictures -----------------------------------------------------------------------
    void endPicture() {
        pictureDepth_ = -1;
        if (shppictDepth_ > 0 && shppictDepth_ < depth_) {
            pictureWaiting_ = true; // placed when its \shppict group ends
            return;
        }
        placePicture(in_.mid(pictureStart_, pos_ - pictureStart_));
    }

    void placePicture(const QByteArray& group) {
        const QImage image = picture_.image();
        const QSizeF points = picture_.shownSize();
        if (image.isNull()) {
            // Not one Qt shows (a metafile) or not readable: kept as it is, with its size.
            insertKept(group, picture_.label(), points);
            return;
        }
        const QString name = QStringLiteral("rtfpicture%1").arg(++pictures_);
        doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat f;
        f.setName(name);
        // Shown at 96 pixels per inch.
        if (points.width() > 0 && points.height() > 0) {
            f.setWidth(points.width() * 4.0 / 3.0);
            f.setHeight(points.height() * 4.0 / 3.0);
        }
        f.setProperty(RtfOwn::kPictureGroup, group);
        f.setProperty(RtfOwn::kPictureShownSize, QSizeF(f.width(), f.height()));
        if (state_.ch.field >= 0 && !fields_[state_.ch.field].instruction.isEmpty())
            f.setProperty(RtfKept::kFieldInstructionProperty, fields_[state_.ch.field].instruction);
        flush();
        noteText();
        if (!blockFormatted_)
            applyBlockFormat();
        cursor_.insertImage(f);
    }

    /// A file with document-level groups keeps its header: its settings, and its font
    /// and colour tables, which the kept groups refer to by number.
    void keepHeader() {
        QMap<QString, int> numbers, codePages;
        for (const auto& [index, font] : fonts_)
            if (!numbers.contains(font.name)) {
                numbers.insert(font.name, index);
                if (font.codePage != 1252)
                    codePages.insert(font.name, font.codePage);
            }
        header_.store(doc_, numbers, codePages, QList<QColor>(colors_.begin(), colors_.end()), defaultFont_);
    }

    const QByteArray& in_;
    QTextDocument& doc_;
    QTextCursor cursor_;
    RtfTables tables_;
    RtfLists lists_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    bool done_ = false;
    QStringList problems_;
    QVector<GroupState> stack_;
    GroupState state_;
    int skipping_ = 0;
    bool ignorableNext_ = false;
    char16_t pendingHigh_ = 0;
    QString pending_;
    CharState pendingFormat_;
    bool blockFormatted_ = false;
    bool pageBreakBlock_ = false;
    bool bodyStarted_ = false;
    qsizetype tokenStart_ = 0;    // where the token being read begins
    qsizetype sectionStart_ = -1; // where a section break being read begins
    bool cutShort_ = false; // the file ended inside a group
    // Fonts and colours.
    std::map<int, Font> fonts_;
    int fontIndex_ = -1;
    QString fontName_;
    int defaultFont_ = -1;
    QVector<QColor> colors_;
    std::array<int, 3> colorParts_{-1, -1, -1};
    int fontTableDepth_ = -1, colorTableDepth_ = -1;
    bool fontTableBegun_ = false;
    qsizetype fontTableStart_ = 0, colorTableStart_ = 0;
    // Kept groups.
    Capture capture_ = Capture::None;
    int captureDepth_ = -1;
    qsizetype captureStart_ = 0;
    QString captureLabel_;
    int captureField_ = -1;
    QByteArray prefix_;
    qsizetype prefixStart_ = 0; // where the first word of the prefix is
    RtfKeptHeader header_;
    QVector<Field> fields_;
    QVector<int> openFields_;
    // Pictures.
    RtfPicture picture_;
    int pictureDepth_ = -1, shppictDepth_ = -1;
    qsizetype pictureStart_ = 0, shppictStart_ = 0;
    bool pictureWaiting_ = false, pictureRead_ = false;
    int pictures_ = 0;
};

} // namespace

bool RtfReader::Read(const QByteArray& rtf, QTextDocument& document, QString* error) {
    return Reader(rtf, document).run(error);
}

} // namespace qv::editor
