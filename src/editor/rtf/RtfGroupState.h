#pragma once

#include "editor/rtf/RtfOwnProperties.h"

#include <QByteArray>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextOption>
#include <QVector>

namespace qv::editor {

/// What an RTF group holds while it is read, and gives back to its parent at its end: the
/// destination being read, and the character and paragraph formatting of its text, set
/// by their control words.
struct RtfGroupState {
    /// ShapePicture: a \shppict group, whose picture is read and whose bytes are kept.
    enum class Destination { Text, Skip, Kept, FontTable, FontEntry, ColorTable, Picture, ShapePicture };

    struct Character {
        bool bold = false, italic = false, underline = false, strike = false;
        int font = -1; // number in the font table
        int size = 24; // half points
        int color = 0; // number in the colour table, 0 = automatic
        int highlight = 0;
        int vertical = 0; // 1 super, 2 sub
        int offset = 0;   // \up (positive) and \dn, half points
        QFont::Capitalization caps = QFont::MixedCase;
        int field = -1; // the field whose result this is
        bool operator==(const Character&) const = default;
    };

    struct Tab {
        int position = 0; // twips
        QTextOption::TabType type = QTextOption::LeftTab;
        int leader = RtfOwn::NoLeader;
    };

    struct Paragraph {
        Qt::Alignment align = Qt::AlignLeft;
        int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
        int lineSpacing = 0;
        bool lineMultiple = false;
        bool pageBreakBefore = false, keepTogether = false, keepWithNext = false;
        QVector<Tab> tabs;
        Tab nextTab; // type and leader given before its \tx

        /// The block format; `pageBreak` when a \page came before the paragraph.
        QTextBlockFormat blockFormat(bool pageBreak) const;
    };

    /// A character formatting word; false when `w` is not one. \plain gives `defaultFont`.
    bool characterWord(const QByteArray& w, bool hasParam, int p, int defaultFont);
    /// A paragraph formatting word (alignment, indents, spacing, tab stops, keeps).
    bool paragraphWord(const QByteArray& w, bool hasParam, int p);

    Character ch;
    Paragraph para;
    Destination dest = Destination::Text;
    int ucSkip = 1;
    int codePage = 1252;
    qsizetype start = 0; // where the group's brace is
    int field = -1;      // the field group this group is in
    int tokens = 0;      // words, symbols and text read in the group itself so far
};

} // namespace qv::editor
