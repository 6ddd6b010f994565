#include "editor/rtf/RtfListWriter.h"

#include "editor/rtf/RtfLists.h"
#include "editor/rtf/RtfTokenizer.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QVariant>
#include <algorithm>
#include <limits>

namespace qv::editor {
namespace {

QByteArray escaped(const QString& s) {
    QByteArray out;
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}')
            out += '\\', out += char(u);
        else if (u >= 0x20 && u < 0x80)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(static_cast<qint16>(u)) + "?";
    }
    return out;
}

QString alpha(int n, bool upper) {
    QString s;
    for (n = std::max(n, 1); n > 0; n = (n - 1) / 26)
        s.prepend(QChar((upper ? 'A' : 'a') + (n - 1) % 26));
    return s;
}

QString roman(int n, bool upper) {
    if (n <= 0 || n >= 4000)
        return QString::number(n);
    static const std::pair<int, const char*> parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                        {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                        {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                        {1, "i"}};
    QString s;
    for (const auto& [value, text] : parts)
        for (; n >= value; n -= value)
            s += QLatin1String(text);
    return upper ? s.toUpper() : s;
}

char16_t bulletOf(int style) {
    return style == QTextListFormat::ListCircle   ? char16_t(0x25E6)
           : style == QTextListFormat::ListSquare ? char16_t(0x25AA)
                                                  : char16_t(0x2022);
}

int nfcOf(int style) {
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return 23;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    case QTextListFormat::ListStyleUndefined:
        return 255;
    default:
        return 0;
    }
}

/// A list table entry for a list made in the editor: every level in the list's style.
QByteArray listEntry(const QTextListFormat& f, int id) {
    QByteArray out = "{\\list\\listtemplateid" + QByteArray::number(id) + "\\listhybrid";
    for (int level = 0; level <= RtfLists::kMaxLevel; ++level) {
        const int nfc = nfcOf(f.style());
        out += "{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\levelnfcn" + QByteArray::number(nfc) +
               "\\leveljc0\\levelstartat" + QByteArray::number(f.property(RtfLists::kStartProperty).isValid()
                                                                  ? f.intProperty(RtfLists::kStartProperty)
                                                                  : 1) +
               "\\levelfollow0{\\leveltext";
        if (nfc == 23) {
            out += "\\'01" + escaped(QString(QChar(bulletOf(f.style())))) + ";}{\\levelnumbers;}";
        } else if (nfc == 255) {
            out += "\\'00;}{\\levelnumbers;}";
        } else {
            const QString prefix = f.numberPrefix().left(8);
            const QString suffix = (f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : ".").left(8);
            const int length = int(prefix.size() + 1 + suffix.size());
            out += "\\'" + QByteArray::number(length, 16).rightJustified(2, '0') + escaped(prefix) + "\\'0" +
                   QByteArray::number(level) + escaped(suffix) + ";}{\\levelnumbers\\'" +
                   QByteArray::number(prefix.size() + 1, 16).rightJustified(2, '0') + ";}";
        }
        out += "\\fi-360\\li" + QByteArray::number(720 * (level + 1)) + "}";
    }
    return out + "\\listid" + QByteArray::number(id) + "}";
}

/// Whether the kept tables say of `level` what the list shows: a list read before the
/// tables that number it (or restyled since) is written with an entry of its own, as it
/// would otherwise read back with the tables' look.
bool showsAsKept(const QTextListFormat& f, const RtfLists::Level& level) {
    const QVariant start = f.property(RtfLists::kStartProperty);
    return f.style() == QTextListFormat::Style(level.style) && f.numberPrefix() == level.prefix &&
           f.numberSuffix() == level.suffix && (!start.isValid() || start.toInt() == level.start);
}

/// The number after `n`; the largest stays (a file that uses it has no room after it).
int after(int n) {
    return n < std::numeric_limits<int>::max() ? n + 1 : n;
}

/// The group with `entries` put before its closing brace.
QByteArray withEntries(const QByteArray& group, const QByteArray& entries) {
    const qsizetype close = group.lastIndexOf('}');
    if (close < 0 || entries.isEmpty())
        return group;
    // On a line of their own: a \' at the group's end takes the two bytes after it.
    return group.left(close) + "\r\n" + entries + group.mid(close);
}

} // namespace

RtfListWriter::RtfListWriter(const QTextDocument& document) : document_(document) {
    // Tables whose groups do not close are not written back (nor is what refers to them).
    QByteArray keptLists = document.property(RtfLists::kListTable).toByteArray();
    QByteArray keptOverrides = document.property(RtfLists::kOverrideTable).toByteArray();
    if (!RtfTokenizer::Balanced(keptLists) || !RtfTokenizer::Balanced(keptOverrides))
        keptLists.clear(), keptOverrides.clear();
    const RtfLists::Definitions kept = RtfLists::parse(keptLists, keptOverrides);
    int nextLs = 1, nextId = 1;
    // A new list's id is one neither table uses: an override may name a list the list
    // table does not have (a later table replaced the one it was read with), and would
    // then take the new list's look.
    for (auto it = kept.overrides.begin(); it != kept.overrides.end(); ++it) {
        nextLs = std::max(nextLs, after(it.key()));
        nextId = std::max(nextId, after(it.value()));
    }
    for (auto it = kept.lists.begin(); it != kept.lists.end(); ++it)
        nextId = std::max(nextId, after(it.key()));
    QByteArray newLists, newOverrides;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        const QTextList* list = b.textList();
        if (!list || numbers_.contains(list))
            continue;
        const QTextListFormat f = list->format();
        const QVariant ls = f.property(RtfLists::kOverrideProperty);
        const int level = f.property(RtfLists::kLevelProperty).isValid()
                              ? f.intProperty(RtfLists::kLevelProperty)
                              : std::clamp(f.indent() - 1, 0, RtfLists::kMaxLevel);
        if (ls.isValid() && kept.overrides.contains(ls.toInt()) && showsAsKept(f, kept.level(ls.toInt(), level))) {
            numbers_.insert(list, {ls.toInt(), level});
            continue;
        }
        // A list the editor made (or one whose table the file did not have): its own entry.
        const int id = nextId, number = nextLs;
        nextId = after(nextId), nextLs = after(nextLs);
        newLists += listEntry(f, id) + "\r\n";
        newOverrides += "{\\listoverride\\listid" + QByteArray::number(id) + "\\listoverridecount0\\ls" +
                        QByteArray::number(number) + "}\r\n";
        numbers_.insert(list, {number, level});
    }
    if (!keptLists.isEmpty())
        listTable_ = withEntries(keptLists, newLists);
    else if (!newLists.isEmpty())
        listTable_ = "{\\*\\listtable\r\n" + newLists + "}";
    if (!keptOverrides.isEmpty())
        overrideTable_ = withEntries(keptOverrides, newOverrides);
    else if (!newOverrides.isEmpty())
        overrideTable_ = "{\\*\\listoverridetable\r\n" + newOverrides + "}";
}

QByteArray RtfListWriter::tables() const {
    if (listTable_.isEmpty() && overrideTable_.isEmpty())
        return {};
    return listTable_ + "\r\n" + overrideTable_ + "\r\n";
}

QString RtfListWriter::itemText(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (!list)
        return {};
    const QTextListFormat f = list->format();
    const QVariant start = f.property(RtfLists::kStartProperty);
    const int n = list->itemNumber(block) + (start.isValid() ? start.toInt() : 1);
    QString number;
    switch (f.style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return QString(QChar(bulletOf(f.style())));
    case QTextListFormat::ListStyleUndefined:
        return {};
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
        number = alpha(n, f.style() == QTextListFormat::ListUpperAlpha);
        break;
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        number = roman(n, f.style() == QTextListFormat::ListUpperRoman);
        break;
    default:
        number = QString::number(n);
        break;
    }
    // Qt's own default: a full stop after the number.
    return f.numberPrefix() + number +
           (f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral("."));
}

QByteArray RtfListWriter::paragraphWords(const QTextBlock& block) const {
    const auto it = numbers_.constFind(block.textList());
    if (it == numbers_.constEnd())
        return {};
    // \li0: the item's own indent, even when it has none (a reader takes the level's otherwise).
    return "\\ls" + QByteArray::number(it->first) + "\\ilvl" + QByteArray::number(it->second) + "\\li0{\\listtext " +
           escaped(itemText(block)) + "\\tab}";
}

qreal RtfListWriter::leftMargin(const QTextBlock& block) const {
    const qreal own = block.blockFormat().leftMargin();
    const QTextList* list = block.textList();
    return list ? own + list->format().indent() * document_.indentWidth() : own;
}

} // namespace qv::editor
