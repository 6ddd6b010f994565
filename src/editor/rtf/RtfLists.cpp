#include "editor/rtf/RtfLists.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QVariant>
#include <algorithm>
#include <cctype>

namespace qv::editor {
namespace {

/// The tokens of a group read whole: braces, control words and characters.
class Tokens {
public:
    enum class Kind { Open, Close, Word, Char, End };
    struct Token {
        Kind kind = Kind::End;
        QByteArray word;
        bool hasParam = false;
        int param = 0;
        char16_t ch = 0;
    };

    Tokens(const QByteArray& in, qsizetype pos, qsizetype end) : in_(in), pos_(pos), end_(end) {}

    Token next() {
        Token t;
        while (pos_ < end_) {
            const char c = in_[pos_++];
            if (c == '{') {
                t.kind = Kind::Open;
                return t;
            }
            if (c == '}') {
                t.kind = Kind::Close;
                return t;
            }
            if (c == '\r' || c == '\n')
                continue;
            if (c != '\\') {
                if (skip_ > 0) {
                    --skip_;
                    continue;
                }
                t.kind = Kind::Char;
                t.ch = static_cast<unsigned char>(c);
                return t;
            }
            if (pos_ >= end_)
                break;
            const char s = in_[pos_];
            if (s == '\'') {
                const int byte = in_.mid(pos_ + 1, 2).toInt(nullptr, 16);
                pos_ += 3;
                if (skip_ > 0) {
                    --skip_;
                    continue;
                }
                t.kind = Kind::Char;
                t.ch = byte == 0x95 ? char16_t(0x2022) : char16_t(byte);
                return t;
            }
            if (!std::isalpha(static_cast<unsigned char>(s))) {
                ++pos_;
                if (s == '\\' || s == '{' || s == '}') {
                    t.kind = Kind::Char;
                    t.ch = static_cast<unsigned char>(s);
                    return t;
                }
                continue;
            }
            const qsizetype start = pos_;
            while (pos_ < end_ && std::isalpha(static_cast<unsigned char>(in_[pos_])))
                ++pos_;
            t.word = in_.mid(start, std::min<qsizetype>(pos_ - start, 64));
            bool negative = false;
            if (pos_ < end_ && in_[pos_] == '-') {
                negative = true;
                ++pos_;
            }
            qint64 v = 0;
            while (pos_ < end_ && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
                t.hasParam = true;
                if (v < 1000000000)
                    v = v * 10 + (in_[pos_] - '0');
                ++pos_;
            }
            if (pos_ < end_ && in_[pos_] == ' ')
                ++pos_;
            t.param = static_cast<int>(negative ? -v : v);
            if (t.word == "bin") {
                pos_ = std::min(end_, pos_ + std::max(0, t.param));
                continue;
            }
            if (t.word == "uc") {
                uc_ = std::clamp(t.param, 0, 4);
                continue;
            }
            if (t.word == "u") {
                t.kind = Kind::Char;
                t.ch = static_cast<char16_t>(t.param < 0 ? t.param + 65536 : t.param);
                skip_ = uc_;
                return t;
            }
            t.kind = Kind::Word;
            return t;
        }
        t.kind = Kind::End;
        return t;
    }

private:
    const QByteArray& in_;
    qsizetype pos_, end_;
    int uc_ = 1, skip_ = 0;
};

/// Where the group open at `pos` closes: the place of its closing brace (or the end).
qsizetype groupEnd(const QByteArray& in, qsizetype pos) {
    int depth = 0;
    const qsizetype n = in.size();
    while (pos < n) {
        const char c = in[pos];
        if (c == '\\') {
            if (pos + 4 < n && in.mid(pos + 1, 3) == "bin") {
                qsizetype p = pos + 4;
                qint64 count = 0;
                while (p < n && std::isdigit(static_cast<unsigned char>(in[p])) && count < (qint64(1) << 40))
                    count = count * 10 + (in[p++] - '0');
                if (p < n && in[p] == ' ')
                    ++p;
                pos = std::min<qint64>(n, p + count);
                continue;
            }
            pos += 2;
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == 0)
                return pos;
            --depth;
        }
        ++pos;
    }
    return n;
}

int styleOfBullet(char16_t c) {
    switch (c) {
    case u'o':
    case 0x25E6:
    case 0x25CB:
    case 0xF06F:
    case 0x26AA:
    case 0xE009: // LibreOffice's own symbol font
        return QTextListFormat::ListCircle;
    case 0x25AA:
    case 0x25A0:
    case 0xF0A7:
    case 0xF06E:
    case 0xF0FC:
    case 0x00A7:
    case 0x25FE:
    case 0xE00B:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

int styleOfNumber(int nfc) {
    switch (nfc) {
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    case 255:
        return QTextListFormat::ListStyleUndefined;
    default:
        return QTextListFormat::ListDecimal;
    }
}

/// A level's look from its \levelnfc and \leveltext: the length character, then the text
/// with the levels' numbers as the characters 0 to 8.
RtfLists::Level levelOf(int nfc, const QString& text, int start) {
    RtfLists::Level l;
    l.start = start;
    const QString body = text.mid(1, text.isEmpty() ? 0 : std::min<int>(text.at(0).unicode(), text.size() - 1));
    if (nfc == 23) {
        l.style = styleOfBullet(body.isEmpty() ? char16_t(0x2022) : body.at(0).unicode());
        return l;
    }
    l.style = styleOfNumber(nfc);
    if (l.style == QTextListFormat::ListStyleUndefined)
        return l;
    qsizetype last = -1;
    for (qsizetype i = 0; i < body.size(); ++i)
        if (body.at(i).unicode() < 9)
            last = i;
    if (last < 0)
        return l;
    bool onlyOne = true;
    for (qsizetype i = 0; i < last; ++i)
        onlyOne = onlyOne && body.at(i).unicode() >= 9;
    if (onlyOne)
        l.prefix = body.left(last);
    for (qsizetype i = last + 1; i < body.size(); ++i)
        if (body.at(i).unicode() >= 9)
            l.suffix += body.at(i);
    return l;
}

} // namespace

RtfLists::Level RtfLists::Definitions::level(int ls, int lvl) const {
    const auto list = lists.constFind(overrides.value(ls, -1));
    Level l;
    l.style = QTextListFormat::ListDisc;
    if (list != lists.constEnd() && lvl < list->size())
        l = list->at(lvl);
    if (const auto r = restarts.constFind({ls, lvl}); r != restarts.constEnd())
        l.start = *r;
    return l;
}

RtfLists::Definitions RtfLists::parse(const QByteArray& listTable, const QByteArray& overrideTable) {
    Definitions defs;
    {
        // {\*\listtable {\list ... {\listlevel ... {\leveltext ...;}} ... \listid N} ...}
        // Each part only in its own group, one inside the other: a \list word in the table's
        // own group would take the entries written after it as its levels and its id.
        Tokens t(listTable, 0, listTable.size());
        int depth = 0, listDepth = -1, levelDepth = -1, textDepth = -1;
        QVector<Level> levels;
        int listId = 0, nfc = 0, start = 1, left = 0, first = 0;
        QString text;
        for (auto tok = t.next(); tok.kind != Tokens::Kind::End; tok = t.next()) {
            if (tok.kind == Tokens::Kind::Open) {
                ++depth;
            } else if (tok.kind == Tokens::Kind::Close) {
                if (depth == textDepth)
                    textDepth = -1;
                if (depth == levelDepth) {
                    if (levels.size() <= kMaxLevel) {
                        levels.append(levelOf(nfc, text, start));
                        levels.last().left = left;
                        levels.last().first = first;
                    }
                    levelDepth = -1;
                }
                if (depth == listDepth) {
                    if (defs.lists.size() < kMaxLists)
                        defs.lists.insert(listId, levels);
                    listDepth = -1;
                }
                --depth;
            } else if (tok.kind == Tokens::Kind::Char) {
                if (textDepth >= 0 && tok.ch != u';' && text.size() < 64)
                    text += QChar(tok.ch);
            } else if (tok.word == "list" && listDepth < 0 && depth == 2) {
                listDepth = depth;
                levels.clear();
                listId = 0;
            } else if (tok.word == "listlevel" && listDepth >= 0 && levelDepth < 0 && depth == listDepth + 1) {
                levelDepth = depth;
                nfc = 0;
                start = 1;
                left = first = 0;
                text.clear();
            } else if (tok.word == "leveltext" && levelDepth >= 0 && depth == levelDepth + 1) {
                textDepth = depth;
            } else if ((tok.word == "levelnfc" || tok.word == "levelnfcn") && levelDepth >= 0) {
                nfc = tok.param;
            } else if ((tok.word == "li" || tok.word == "lin") && levelDepth >= 0 && textDepth < 0) {
                left = std::clamp(tok.param, -31680, 31680);
            } else if (tok.word == "fi" && levelDepth >= 0 && textDepth < 0) {
                first = std::clamp(tok.param, -31680, 31680);
            } else if (tok.word == "levelindent" && levelDepth >= 0 && left == 0) {
                left = std::clamp(tok.param, 0, 31680); // Word 6's indent of the level
            } else if (tok.word == "levelstartat" && levelDepth >= 0) {
                start = std::clamp(tok.param, 0, 32767);
            } else if (tok.word == "listid" && listDepth >= 0 && depth == listDepth) {
                listId = tok.param;
            }
        }
    }
    {
        // {\listoverridetable {\listoverride\listid N ... {\lfolevel\listoverridestartat\levelstartat S} \ls M}}
        Tokens t(overrideTable, 0, overrideTable.size());
        int depth = 0, overrideDepth = -1, lfoDepth = -1;
        int listId = 0, ls = 0, lfoIndex = 0, lfoStart = -1;
        QVector<QPair<int, int>> starts;
        for (auto tok = t.next(); tok.kind != Tokens::Kind::End; tok = t.next()) {
            if (tok.kind == Tokens::Kind::Open) {
                ++depth;
            } else if (tok.kind == Tokens::Kind::Close) {
                if (depth == lfoDepth) {
                    if (lfoStart >= 0)
                        starts.append({lfoIndex, lfoStart});
                    ++lfoIndex;
                    lfoDepth = -1;
                }
                if (depth == overrideDepth) {
                    if (defs.overrides.size() < kMaxLists) {
                        defs.overrides.insert(ls, listId);
                        for (const auto& [lvl, s] : starts)
                            if (lvl <= kMaxLevel)
                                defs.restarts.insert({ls, lvl}, s);
                    }
                    overrideDepth = -1;
                }
                --depth;
            } else if (tok.kind != Tokens::Kind::Word) {
                continue;
            } else if (tok.word == "listoverride" && overrideDepth < 0 && depth == 2) {
                overrideDepth = depth;
                listId = ls = lfoIndex = 0;
                starts.clear();
            } else if (tok.word == "lfolevel" && overrideDepth >= 0 && depth == overrideDepth + 1) {
                lfoDepth = depth;
                lfoStart = -1;
            } else if (tok.word == "levelstartat" && lfoDepth >= 0) {
                lfoStart = std::clamp(tok.param, 0, 32767);
            } else if (tok.word == "listid" && overrideDepth >= 0 && depth == overrideDepth) {
                listId = tok.param;
            } else if (tok.word == "ls" && overrideDepth >= 0 && depth == overrideDepth) {
                ls = tok.param;
            }
        }
    }
    return defs;
}

RtfLists::RtfLists(QTextCursor& cursor) : cursor_(cursor) {}

void RtfLists::openGroup() {
    if (saved_.size() < 4096)
        saved_.append(para_);
}

void RtfLists::closeGroup() {
    if (!saved_.isEmpty())
        para_ = saved_.takeLast();
}

RtfLists::Word RtfLists::word(const QByteArray& w, bool hasParam, int p, bool ignorable, const QByteArray& in,
                              qsizetype& pos) {
    Q_UNUSED(hasParam)
    if (w == "listtable" || w == "listoverridetable") {
        const qsizetype end = groupEnd(in, pos);
        // A table cut short by the end of the file (no items can follow it) is not kept:
        // closing it would not give back what was read (a \bin or a \ at its end).
        if (end < in.size()) {
            // The group as it was, the space that ended the word included.
            QByteArray group = (ignorable ? "{\\*\\" : "{\\") + w + (pos > 0 && in[pos - 1] == ' ' ? " " : "") +
                               in.mid(pos, end - pos) + "}";
            (w == "listtable" ? listTable_ : overrideTable_) = group;
            defs_ = parse(listTable_, overrideTable_);
        }
        pos = end;
        return Word::SkipGroup;
    }
    if (w == "listtext" || w == "pntext")
        return Word::SkipGroup;
    if (w == "pard") {
        para_ = Para{};
        return Word::NotMine;
    }
    if (w == "li" || w == "fi" || w == "lin") {
        para_.indented = true;
        return Word::NotMine;
    }
    if (w == "ls") {
        para_.ls = p;
        return Word::Taken;
    }
    if (w == "ilvl") {
        para_.level = std::clamp(p, 0, kMaxLevel);
        return Word::Taken;
    }
    if (w == "pn") {
        // The older paragraph numbering: the group belongs to the paragraph around it.
        const qsizetype end = groupEnd(in, pos);
        Tokens t(in, pos, end);
        Para& para = saved_.isEmpty() ? para_ : saved_.last();
        para.pnLevel = 0;
        para.pnStyle = QTextListFormat::ListDecimal;
        int textDepth = 0, depth = 0;
        bool after = true;
        for (auto tok = t.next(); tok.kind != Tokens::Kind::End; tok = t.next()) {
            if (tok.kind == Tokens::Kind::Open) {
                ++depth;
            } else if (tok.kind == Tokens::Kind::Close) {
                if (depth == textDepth)
                    textDepth = 0;
                --depth;
            } else if (tok.kind == Tokens::Kind::Char) {
                if (textDepth > 0 && para.pnStyle != QTextListFormat::ListDisc)
                    (after ? para.pnSuffix : para.pnPrefix) += QChar(tok.ch);
            } else if (tok.word == "pnlvlblt") {
                para.pnStyle = QTextListFormat::ListDisc;
            } else if (tok.word == "pnlvl") {
                para.pnLevel = std::clamp(tok.param - 1, 0, kMaxLevel);
            } else if (tok.word == "pnucrm" || tok.word == "pnlcrm" || tok.word == "pnucltr" ||
                       tok.word == "pnlcltr" || tok.word == "pndec") {
                if (para.pnStyle != QTextListFormat::ListDisc)
                    para.pnStyle = tok.word == "pnucrm"    ? QTextListFormat::ListUpperRoman
                                   : tok.word == "pnlcrm"  ? QTextListFormat::ListLowerRoman
                                   : tok.word == "pnucltr" ? QTextListFormat::ListUpperAlpha
                                   : tok.word == "pnlcltr" ? QTextListFormat::ListLowerAlpha
                                                           : QTextListFormat::ListDecimal;
            } else if (tok.word == "pnstart") {
                para.pnStart = std::clamp(tok.param, 0, 32767);
            } else if (tok.word == "pntxta" || tok.word == "pntxtb") {
                textDepth = depth;
                after = tok.word == "pntxta";
            }
        }
        para_ = para;
        pos = end;
        return Word::SkipGroup;
    }
    return Word::NotMine;
}

void RtfLists::place() {
    const bool numbered = para_.ls != 0;
    if (!numbered && para_.pnLevel < 0)
        return;
    const int level = numbered ? para_.level : para_.pnLevel;
    // Older numbering has no list number: each style is a list of its own.
    const QPair<int, int> key{numbered ? para_.ls : -1 - para_.pnStyle, level};
    QTextListFormat f;
    QTextBlockFormat b = cursor_.blockFormat();
    if (numbered) {
        const Level l = defs_.level(para_.ls, level);
        if (!para_.indented) {
            // A paragraph that says nothing of its indent has its level's.
            b.setLeftMargin(l.left / 20.0);
            b.setTextIndent(l.first / 20.0);
        }
        f.setStyle(QTextListFormat::Style(l.style));
        f.setNumberPrefix(l.prefix);
        f.setNumberSuffix(l.suffix);
        f.setProperty(kOverrideProperty, para_.ls);
        f.setProperty(kLevelProperty, level);
        f.setProperty(kStartProperty, l.start);
    } else {
        f.setStyle(QTextListFormat::Style(para_.pnStyle));
        f.setNumberPrefix(para_.pnPrefix);
        f.setNumberSuffix(para_.pnSuffix);
        f.setProperty(kStartProperty, para_.pnStart);
    }
    f.setIndent(level + 1);
    // The paragraph's own indent is where its text goes; Qt adds the list's indent to it.
    const qreal indentWidth = cursor_.document()->indentWidth();
    b.setLeftMargin(b.leftMargin() - (level + 1) * indentWidth);
    cursor_.setBlockFormat(b);
    QPointer<QTextList>& list = made_[key];
    if (list && list->format().style() == f.style() && list->count() < kMaxItems)
        list->add(cursor_.block());
    else
        list = cursor_.createList(f);
}

void RtfLists::finish(QTextDocument& document) {
    if (!listTable_.isEmpty())
        document.setProperty(kListTable, listTable_);
    if (!overrideTable_.isEmpty())
        document.setProperty(kOverrideTable, overrideTable_);
}

} // namespace qv::editor
