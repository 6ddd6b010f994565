#pragma once

#include <QByteArray>
#include <QHash>
#include <QPair>

class QTextBlock;
class QTextDocument;
class QTextList;

namespace qv::editor {

/// Writes a document's QTextLists as RTF lists: the list table and override table (those
/// the document was read with, kept as they were, so that numbering Qt cannot show
/// survives, and an entry of its own for each list made since), and on each item
/// paragraph its \ls and \ilvl and the item's text in {\listtext ...} for readers
/// without lists.
class RtfListWriter {
public:
    explicit RtfListWriter(const QTextDocument& document);

    /// The two tables for the header; empty without lists.
    QByteArray tables() const;
    /// The list words of a paragraph (after its \pard); empty when it is no list item.
    QByteArray paragraphWords(const QTextBlock& block) const;
    /// The paragraph's left indent in points, the list's indent included.
    qreal leftMargin(const QTextBlock& block) const;

    /// The text Qt shows for an item, numbered from the list's first number.
    static QString itemText(const QTextBlock& block);

private:
    const QTextDocument& document_;
    QHash<const QTextList*, QPair<int, int>> numbers_; // list -> (\ls, level)
    QByteArray listTable_, overrideTable_;
};

} // namespace qv::editor
