#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QTextFrame>
#include <functional>

class QTextBlock;
class QTextDocument;

class QTextTable;
class QTextTableCell;

namespace qv::editor {

/// Writes the blocks and tables of a frame as RTF: each table row as \trowd with its cell
/// definitions (edges from the column widths, merged cells as wider cells and \clvmgf /
/// \clvmrg, borders, shading, padding, vertical alignment) and then its cells, \cell and
/// \row; tables inside cells as nested tables (\itap, \nestcell, \nesttableprops).
/// The paragraphs themselves are the writer's: it is given the words that put them in a
/// table.
class RtfTableWriter {
public:
    /// Writes one paragraph; `tableWords` follow its \pard.
    using Paragraph = std::function<void(const QTextBlock& block, const QByteArray& tableWords, QByteArray& out)>;
    /// The colour table number of a colour (1 for the first).
    using ColorIndex = std::function<int(const QColor&)>;

    RtfTableWriter(const QTextDocument& document, Paragraph paragraph, ColorIndex color);

    /// The frame's content: paragraphs ended by \par but the last, tables between them.
    void writeFrame(const QTextFrame* frame, QByteArray& out);

    /// The colours the document's tables draw with, for the colour table.
    static QList<QColor> colorsOf(const QTextDocument& document);

private:
    void writeContent(QTextFrame::iterator it, int level, const QByteArray& end, QByteArray& out);
    void writeTable(const QTextTable* table, int level, QByteArray& out);
    QByteArray rowDefinition(const QTextTable* table, int row, const QList<int>& edges);
    QList<int> edgesOf(const QTextTable* table) const;

    const QTextDocument& document_;
    Paragraph paragraph_;
    ColorIndex color_;
};

} // namespace qv::editor
