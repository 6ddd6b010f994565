#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QTextFormat>
#include <functional>
#include <memory>

class QTextCursor;

namespace qv::editor {

/// Builds QTextTables from the table words of RTF as the reader meets them: row and cell
/// definitions (\trowd, \cellx, merges, borders, shading, padding), the paragraph's table
/// level (\intbl, \itap) and the ends of cells and rows (\cell, \row, \nestcell, \nestrow).
/// The reader keeps inserting text at its cursor; this class moves that cursor into the
/// cell a paragraph belongs to and out of a table after its last row. Column widths and
/// merged cells are settled when the table ends, from the cell edges of all its rows.
class RtfTables {
public:
    /// What the reader does with a word after `word`.
    enum class Word {
        NotMine,  ///< the reader handles it
        Taken,    ///< nothing more to do
        SkipGroup, ///< the group is text for readers without nested tables: skip it
        EndsCell, ///< end the paragraph, then call endCell()
        EndsRow,  ///< flush the text, then call endRow()
    };

    /// On a table cell's format: the row's height in twips as \trrh says it (negative:
    /// exactly), which Qt cannot draw; the writer gives it back.
    static constexpr int kRowHeightProperty = QTextFormat::UserProperty + 40;
    /// On a table cell's format: the cell fills a row narrower than the table; the
    /// writer leaves it out while it is empty.
    static constexpr int kFillerProperty = QTextFormat::UserProperty + 44;

    /// `color` gives the colour of a colour table entry (invalid for automatic).
    RtfTables(QTextCursor& cursor, std::function<QColor(int)> color);
    ~RtfTables();
    RtfTables(const RtfTables&) = delete;
    RtfTables& operator=(const RtfTables&) = delete;

    Word word(const QByteArray& word, bool hasParam, int param);
    /// Paragraph properties are the group's: the table level comes back at its end.
    void openGroup();
    void closeGroup();
    /// Before the first content of a paragraph: the cursor goes to where it belongs.
    void place();
    void endCell();
    void endRow();
    /// Ends the open tables (the end of the text).
    void finish();

    /// Deeper tables are read as cells of the deepest one allowed.
    static constexpr int kMaxNesting = 16;
    /// Cells of one row; the text of further cells goes into the last one.
    static constexpr int kMaxCells = 64;
    /// Grid columns of one table (distinct cell edges over all its rows).
    static constexpr int kMaxColumns = 256;
    /// Rows of one QTextTable: a longer table goes on as another, since Qt works out a
    /// table's whole grid again for each row added.
    static constexpr int kMaxRows = 1000;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace qv::editor
