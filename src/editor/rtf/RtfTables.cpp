#include "editor/rtf/RtfTables.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QVector>
#include <algorithm>
#include <climits>
#include <cstring>

namespace qv::editor {
namespace {

constexpr int kDefaultCellWidth = 1440; // twips, for cells no \cellx describes
enum Side { Top, Left, Bottom, Right };

struct Border {
    bool set = false;
    int width = 0; // twips
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_Solid;
    int color = 0;
};

struct CellDef {
    int right = 0;
    bool mergeFirst = false, merge = false, vMergeFirst = false, vMerge = false;
    Border border[4];
    int background = 0, pattern = 0, shading = 0;
    int valign = 0; // 0 top, 1 centre, 2 bottom
    int pad[4] = {-1, -1, -1, -1};
};

struct RowDef {
    QVector<CellDef> cells;
    CellDef cell; // the one \cellx will end
    Border border[4];
    int side = -1; // the border the \brdr words describe: 0-3 the cell's, 4-7 the row's
    Qt::Alignment align = Qt::AlignLeft;
    int height = 0;
    bool header = false;
    int pad[4] = {-1, -1, -1, -1};
    int left = 0;
    int gap = -1;
};

struct Row {
    RowDef def;
    QVector<int> edges;       // right edges of its cells, twips, increasing
    bool provisional = false; // no definition yet: cells go by their number
    int cells = 0;            // \cell met
};

struct Table {
    QTextTable* table = nullptr;
    QVector<int> grid; // the right edge of each column
    QVector<Row> rows;
    int row = 0, k = 0;
    bool rowStarted = false;
    int placedRow = -1, placedK = -1;
};

QTextFrameFormat::BorderStyle borderStyle(const QByteArray& w, bool* known) {
    *known = true;
    if (w == "brdrs" || w == "brdrth" || w == "brdrsh" || w == "brdrhair" || w == "brdrthtnsg" ||
        w == "brdrtnthsg" || w == "brdremboss" || w == "brdrengrave" || w == "brdrwavy")
        return QTextFrameFormat::BorderStyle_Solid;
    if (w == "brdrdb" || w == "brdrtriple" || w == "brdrdbwavy" || w == "brdrthtnmg" || w == "brdrtnthmg")
        return QTextFrameFormat::BorderStyle_Double;
    if (w == "brdrdot")
        return QTextFrameFormat::BorderStyle_Dotted;
    if (w == "brdrdash" || w == "brdrdashsm" || w == "brdrdashd" || w == "brdrdashdd")
        return QTextFrameFormat::BorderStyle_Dashed;
    if (w == "brdrinset")
        return QTextFrameFormat::BorderStyle_Inset;
    if (w == "brdroutset")
        return QTextFrameFormat::BorderStyle_Outset;
    if (w == "brdrnone" || w == "brdrnil" || w == "brdrtbl")
        return QTextFrameFormat::BorderStyle_None;
    *known = false;
    return QTextFrameFormat::BorderStyle_None;
}

} // namespace

struct RtfTables::Impl {
    QTextCursor& cursor;
    std::function<QColor(int)> color;
    QVector<Table> stack;
    QVector<RowDef> defs = QVector<RowDef>(kMaxNesting + 1);
    int level = 0; // the paragraph's table level
    QVector<int> saved;
    bool inNestProps = false;
    int target = 0;    // the level a \cell ends, until it is done
    int rowTarget = 0; // the level a \row ends

    Impl(QTextCursor& c, std::function<QColor(int)> col) : cursor(c), color(std::move(col)) {}

    RowDef& def() { return defs[inNestProps ? std::clamp(level, 2, kMaxNesting) : 1]; }

    // --- columns ------------------------------------------------------------------------
    static int columnOf(const Table& t, int edge) {
        const auto it = std::lower_bound(t.grid.begin(), t.grid.end(), edge);
        return it == t.grid.end() ? int(t.grid.size()) - 1 : int(it - t.grid.begin());
    }

    /// A new edge splits the column it falls in; the text there stays in the left part.
    void addEdge(Table& t, int edge) {
        if (t.grid.contains(edge) || t.grid.size() >= kMaxColumns)
            return;
        if (t.grid.isEmpty()) {
            t.grid.append(edge);
            return;
        }
        const int i = int(std::lower_bound(t.grid.begin(), t.grid.end(), edge) - t.grid.begin());
        if (i == t.grid.size())
            t.table->appendColumns(1);
        else
            t.table->insertColumns(i + 1, 1);
        t.grid.insert(i, edge);
    }

    static QVector<int> edgesOf(const RowDef& def) {
        QVector<int> edges;
        int previous = def.left;
        for (const CellDef& c : def.cells) {
            previous = std::max(c.right, previous + 1);
            edges.append(previous);
        }
        return edges;
    }

    /// The columns cell `k` of row `r` covers, first and last.
    std::pair<int, int> columnsOf(Table& t, int r, int k) {
        Row& row = t.rows[r];
        if (row.provisional && t.grid.isEmpty())
            return {k, k};
        while (k >= row.edges.size() && row.edges.size() < kMaxCells) {
            const int edge = (row.edges.isEmpty() ? row.def.left : row.edges.last()) + kDefaultCellWidth;
            row.edges.append(edge);
            addEdge(t, edge);
        }
        k = std::min<int>(k, row.edges.size() - 1);
        const int last = std::max(0, columnOf(t, row.edges[k]));
        const int first = k == 0 ? 0 : std::min(last, columnOf(t, row.edges[k - 1]) + 1);
        return {first, last};
    }

    // --- rows and cells -----------------------------------------------------------------
    void startRow(Table& t, int lvl) {
        if (t.row >= t.table->rows())
            t.table->appendRows(1);
        Row row;
        row.def = defs[lvl];
        // A nested table's row is defined after its cells (\nesttableprops).
        row.provisional = lvl >= 2 || row.def.cells.isEmpty();
        if (!row.provisional) {
            row.edges = edgesOf(row.def);
            for (int e : row.edges)
                addEdge(t, e);
            if (t.table->columns() < t.grid.size()) // the first row of the table
                t.table->appendColumns(int(t.grid.size()) - t.table->columns());
        }
        t.rows.append(row);
        t.rowStarted = true;
        t.k = 0;
    }

    void enterCell(Table& t, int lvl) {
        if (!t.rowStarted)
            startRow(t, lvl);
        if (t.placedRow == t.row && t.placedK == t.k)
            return;
        const auto [first, last] = columnsOf(t, t.row, t.k);
        if (first >= t.table->columns())
            t.table->appendColumns(first - t.table->columns() + 1);
        cursor = t.table->cellAt(t.row, first).firstCursorPosition();
        t.placedRow = t.row;
        t.placedK = t.k;
    }

    static bool sameContainer(const QTextBlock& a, const QTextBlock& b) {
        QTextCursor ca(a), cb(b);
        if (ca.currentFrame() != cb.currentFrame())
            return false;
        const QTextTable* table = ca.currentTable();
        return !table || table->cellAt(ca.position()) == table->cellAt(cb.position());
    }

    void open() {
        if (!stack.isEmpty()) {
            // Inside one edit block Qt answers which frame a place is in from a frame tree
            // it has not brought up to date: a table made in the same block is missed.
            cursor.endEditBlock();
            cursor.beginEditBlock();
        }
        // The empty paragraph the reader began is the one after the table, not before it.
        const QTextBlock block = cursor.block();
        const bool follows = block.length() == 1 && block.previous().isValid() && sameContainer(block.previous(), block);
        if (follows)
            cursor.setPosition(block.previous().position() + block.previous().length() - 1);
        Table t;
        QTextTableFormat format;
        format.setBorder(0);
        format.setCellSpacing(0);
        format.setCellPadding(0);
        format.setBorderCollapse(true);
        t.table = cursor.insertTable(1, 1, format);
        if (follows) {
            // Qt split the paragraph before for the table: one empty paragraph after it is enough.
            QTextCursor extra(cursor.document());
            extra.setPosition(t.table->lastPosition() + 1);
            if (extra.block().length() == 1 && extra.block().next().isValid())
                extra.deleteChar();
        }
        stack.append(t);
    }

    void close() {
        Table t = stack.takeLast();
        if (t.rowStarted)
            settleRow(t, int(stack.size()) + 1);
        finishTable(t);
        cursor.setPosition(t.table->lastPosition() + 1);
    }

    void settleRow(Table& t, int lvl) {
        Row& row = t.rows.last();
        const RowDef& last = defs[lvl];
        if (row.provisional) {
            row.def = last;
            row.edges = edgesOf(last);
            if (t.grid.isEmpty()) {
                // Cells went by number: the grid covers each of them.
                while (row.edges.size() < std::min(kMaxCells, std::max(row.cells, int(t.table->columns())))) {
                    const int edge = (row.edges.isEmpty() ? last.left : row.edges.last()) + kDefaultCellWidth;
                    row.edges.append(edge);
                }
                t.grid = row.edges.mid(0, kMaxColumns);
                if (t.table->columns() < t.grid.size())
                    t.table->appendColumns(int(t.grid.size()) - t.table->columns());
            } else {
                for (int e : row.edges)
                    addEdge(t, e);
                moveToColumns(t);
            }
        } else if (last.cells.size() == row.def.cells.size()) {
            row.def = last; // a definition repeated before \row; the edges stay those the text went by
        }
        t.row++;
        t.k = 0;
        t.rowStarted = false;
        t.placedRow = t.placedK = -1;
    }

    /// The cells of a row that went by their number go to the columns their edges say,
    /// the last first: a cell only ever moves right.
    void moveToColumns(Table& t) {
        const int r = int(t.rows.size()) - 1;
        const int n = std::min<int>(t.rows[r].cells, t.table->columns());
        for (int k = n - 1; k > 0; --k) {
            const int to = columnsOf(t, r, k).first;
            if (to == k || to >= t.table->columns())
                continue;
            const QTextTableCell from = t.table->cellAt(r, k);
            QTextCursor c = from.firstCursorPosition();
            c.setPosition(from.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            if (!c.hasSelection())
                continue;
            const QTextDocumentFragment content = c.selection();
            c.removeSelectedText();
            t.table->cellAt(r, to).firstCursorPosition().insertFragment(content);
        }
    }

    // --- the finished table -------------------------------------------------------------
    QTextTableCellFormat cellFormat(const RowDef& row, const CellDef& cell) {
        QTextTableCellFormat f;
        for (int side = 0; side < 4; ++side) {
            const Border& b = cell.border[side].set ? cell.border[side] : row.border[side];
            if (!b.set || b.style == QTextFrameFormat::BorderStyle_None)
                continue;
            const qreal width = b.width > 0 ? b.width / 20.0 : 0.5;
            const QColor c = color(b.color);
            const QBrush brush(c.isValid() ? c : QColor(Qt::black));
            switch (side) {
            case Top:
                f.setTopBorder(width), f.setTopBorderStyle(b.style), f.setTopBorderBrush(brush);
                break;
            case Left:
                f.setLeftBorder(width), f.setLeftBorderStyle(b.style), f.setLeftBorderBrush(brush);
                break;
            case Bottom:
                f.setBottomBorder(width), f.setBottomBorderStyle(b.style), f.setBottomBorderBrush(brush);
                break;
            case Right:
                f.setRightBorder(width), f.setRightBorderStyle(b.style), f.setRightBorderBrush(brush);
                break;
            }
        }
        QColor back = cell.background > 0 ? color(cell.background) : QColor();
        if (cell.shading > 0) {
            // A pattern of that many hundredths of a percent of its colour over the background.
            const QColor over = cell.pattern > 0 && color(cell.pattern).isValid() ? color(cell.pattern) : QColor(Qt::black);
            const QColor under = back.isValid() ? back : QColor(Qt::white);
            const qreal s = std::clamp(cell.shading, 0, 10000) / 10000.0;
            back = QColor::fromRgbF(under.redF() * (1 - s) + over.redF() * s, under.greenF() * (1 - s) + over.greenF() * s,
                                    under.blueF() * (1 - s) + over.blueF() * s);
        }
        if (back.isValid())
            f.setBackground(back);
        if (cell.valign == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        else if (cell.valign == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignBottom);
        int pad[4];
        for (int side = 0; side < 4; ++side)
            pad[side] = cell.pad[side] >= 0 ? cell.pad[side] : row.pad[side];
        if (pad[Left] < 0 && row.gap >= 0)
            pad[Left] = row.gap;
        if (pad[Right] < 0 && row.gap >= 0)
            pad[Right] = row.gap;
        if (pad[Top] >= 0)
            f.setTopPadding(pad[Top] / 20.0);
        if (pad[Left] >= 0)
            f.setLeftPadding(pad[Left] / 20.0);
        if (pad[Bottom] >= 0)
            f.setBottomPadding(pad[Bottom] / 20.0);
        if (pad[Right] >= 0)
            f.setRightPadding(pad[Right] / 20.0);
        if (row.height != 0)
            f.setProperty(kRowHeightProperty, row.height);
        return f;
    }

    /// The text of one cell after that of another (as merging them would put it).
    static void moveCell(QTextTable* table, int row, int from, int to) {
        const QTextTableCell source = table->cellAt(row, from);
        if (source.firstPosition() == source.lastPosition())
            return;
        QTextCursor c = source.firstCursorPosition();
        c.setPosition(source.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        const QTextDocumentFragment content = c.selection();
        c.removeSelectedText();
        const QTextTableCell target = table->cellAt(row, to);
        QTextCursor end = target.lastCursorPosition();
        if (target.firstPosition() != target.lastPosition())
            end.insertBlock();
        end.insertFragment(content);
    }

    void finishTable(Table& t) {
        QTextTable* table = t.table;
        struct Logical {
            int row, first, last, rows = 1;
            const CellDef* def;
            bool gone = false;
        };
        static const CellDef plain;
        QVector<Logical> cells;
        QVector<QVector<int>> byRow;
        const auto build = [&] {
            cells.clear();
            byRow = QVector<QVector<int>>(t.rows.size());
            for (int r = 0; r < t.rows.size() && r < table->rows(); ++r) {
                const Row& row = t.rows[r];
                const int n = std::min(kMaxCells, std::max<int>(row.cells, row.def.cells.size()));
                for (int k = 0; k < n; ++k) {
                    const auto [first, last] = columnsOf(t, r, k);
                    const CellDef* def = k < row.def.cells.size() ? &row.def.cells[k] : &plain;
                    if (def->merge && !byRow[r].isEmpty()) { // \clmrg: part of the cell before
                        Logical& before = cells[byRow[r].last()];
                        before.last = std::max(before.last, last);
                        continue;
                    }
                    byRow[r].append(int(cells.size()));
                    cells.append({r, first, last, 1, def});
                }
            }
            for (Logical& c : cells) {
                if (c.gone || !c.def->vMergeFirst)
                    continue;
                for (int r = c.row + 1; r < byRow.size(); ++r) {
                    auto below = std::find_if(byRow[r].begin(), byRow[r].end(), [&](int i) {
                        return cells[i].first == c.first && cells[i].last == c.last && cells[i].def->vMerge;
                    });
                    if (below == byRow[r].end())
                        break;
                    cells[*below].gone = true;
                    ++c.rows;
                }
            }
        };
        build();
        // A column no cell ends in has no edge of its own to be written with: it goes.
        QVector<bool> used(table->columns(), false);
        for (const Logical& c : cells)
            if (!c.gone && c.last >= 0 && c.last < used.size())
                used[c.last] = true;
        bool removed = false;
        for (int c = int(used.size()) - 1; c >= 0 && table->columns() > 1; --c) {
            if (used[c] || c >= t.grid.size())
                continue;
            // The column after it is part of the same cells: what text it has joins theirs.
            const int gone = c == table->columns() - 1 ? c : c + 1;
            const int into = gone == c ? c - 1 : c;
            for (int r = 0; r < table->rows(); ++r)
                moveCell(table, r, gone, into);
            table->removeColumns(gone, 1);
            t.grid.remove(c);
            removed = true;
        }
        if (removed)
            build();
        // A row narrower than the table ends before its right edge: Qt fills it with cells
        // the writer leaves out while they stay empty, where another row has a cell ending
        // in that column (its edge is written there).
        used.fill(false, table->columns());
        for (const Logical& c : cells)
            if (!c.gone && c.last >= 0 && c.last < used.size())
                used[c.last] = true;
        for (int r = 0; r < byRow.size() && r < table->rows(); ++r) {
            int end = -1;
            for (int i : byRow[r])
                end = std::max(end, cells[i].last);
            for (int c = end + 1; c < table->columns(); ++c) {
                QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c || !used[c])
                    continue;
                QTextCharFormat f = cell.format();
                f.setProperty(kFillerProperty, true);
                cell.setFormat(f);
            }
        }
        // Formats first: a merged cell keeps the format of its first cell.
        // The cell's format is also its first paragraph's look: merged into it, not over it.
        for (const Logical& c : cells) {
            if (c.gone || c.first >= table->columns())
                continue;
            QTextTableCell cell = table->cellAt(c.row, c.first);
            QTextCharFormat f = cell.format();
            f.merge(cellFormat(t.rows[c.row].def, *c.def));
            cell.setFormat(f);
        }
        for (const Logical& c : cells) {
            if (c.gone || c.first >= table->columns())
                continue;
            const int rows = std::min(c.rows, table->rows() - c.row);
            const int columns = std::min(c.last, table->columns() - 1) - c.first + 1;
            if (rows > 1 || columns > 1)
                table->mergeCells(c.row, c.first, rows, columns);
        }
        QTextTableFormat format = table->format();
        QList<QTextLength> widths;
        const int left = t.rows.isEmpty() ? 0 : t.rows.first().def.left;
        for (int c = 0; c < table->columns(); ++c) {
            const int w = c < t.grid.size() ? t.grid[c] - (c == 0 ? left : t.grid[c - 1]) : kDefaultCellWidth;
            widths.append(QTextLength(QTextLength::FixedLength, std::max(w, 20) / 20.0));
        }
        format.setColumnWidthConstraints(widths);
        if (!t.rows.isEmpty())
            format.setAlignment(t.rows.first().def.align);
        int header = 0;
        while (header < t.rows.size() && t.rows[header].def.header)
            ++header;
        format.setHeaderRowCount(header);
        table->setFormat(format);
    }

    int targetLevel() const { return target > 0 ? target : level; }

    void place(int want) {
        want = std::min(want, kMaxNesting);
        while (stack.size() > want)
            close();
        for (int lvl = 1; lvl <= want; ++lvl) {
            if (stack.size() < lvl)
                open();
            if (lvl == stack.size() && lvl < want)
                enterCell(stack.last(), lvl);
        }
        if (!stack.isEmpty())
            enterCell(stack.last(), int(stack.size()));
    }
};

RtfTables::RtfTables(QTextCursor& cursor, std::function<QColor(int)> color)
    : d_(std::make_unique<Impl>(cursor, std::move(color))) {}

RtfTables::~RtfTables() = default;

void RtfTables::openGroup() {
    if (d_->saved.size() < 4096)
        d_->saved.append(d_->level);
}

void RtfTables::closeGroup() {
    if (!d_->saved.isEmpty())
        d_->level = d_->saved.takeLast();
}

RtfTables::Word RtfTables::word(const QByteArray& w, bool hasParam, int p) {
    // Every control word of the text comes here: most are at once not the table's.
    if (w.isEmpty() || !std::strchr("bcilnprt", w[0]))
        return Word::NotMine;
    Impl& d = *d_;
    const int on = hasParam ? p : 1;
    // The paragraph's place.
    if (w == "pard") {
        d.level = 0;
        return Word::NotMine;
    }
    if (w == "intbl") {
        d.level = std::max(d.level, on ? 1 : 0);
        return Word::Taken;
    }
    if (w == "itap") {
        d.level = std::clamp(p, 0, kMaxNesting);
        return Word::Taken;
    }
    if (w == "cell" || w == "nestcell") {
        d.target = w == "cell" ? 1 : std::clamp(d.level, 2, kMaxNesting);
        return Word::EndsCell;
    }
    if (w == "row" || w == "nestrow") {
        d.rowTarget = w == "row" ? 1 : std::clamp(d.level, 2, kMaxNesting);
        d.inNestProps = false;
        // What follows a row is out of its table until a paragraph says otherwise (a
        // \page before the next \pard is not a new row); \nestrow ends the group it is in.
        d.level = std::min(d.level, d.rowTarget - 1);
        if (w == "nestrow" && !d.saved.isEmpty())
            d.saved.last() = std::min(d.saved.last(), d.level);
        return Word::EndsRow;
    }
    if (w == "nesttableprops") {
        d.inNestProps = true;
        return Word::Taken;
    }
    if (w == "nonesttables")
        return Word::SkipGroup;
    // Paragraph borders use the same \brdr words: those are not the table's.
    if (w == "brdrt" || w == "brdrl" || w == "brdrb" || w == "brdrr" || w == "box" || w == "brdrbtw" ||
        w == "brdrbar") {
        d.def().side = -1;
        return Word::NotMine;
    }
    // The row definition.
    RowDef& row = d.def();
    CellDef& cell = row.cell;
    if (w == "trowd") {
        row = RowDef{};
    } else if (w == "cellx") {
        cell.right = p;
        if (row.cells.size() < kMaxCells)
            row.cells.append(cell);
        cell = CellDef{};
        row.side = -1;
    } else if (w == "clmgf") {
        cell.mergeFirst = true;
    } else if (w == "clmrg") {
        cell.merge = true;
    } else if (w == "clvmgf") {
        cell.vMergeFirst = true;
    } else if (w == "clvmrg") {
        cell.vMerge = true;
    } else if (w == "clbrdrt" || w == "clbrdrl" || w == "clbrdrb" || w == "clbrdrr") {
        row.side = w == "clbrdrt" ? Top : w == "clbrdrl" ? Left : w == "clbrdrb" ? Bottom : Right;
    } else if (w == "trbrdrt" || w == "trbrdrl" || w == "trbrdrb" || w == "trbrdrr") {
        row.side = 4 + (w == "trbrdrt" ? Top : w == "trbrdrl" ? Left : w == "trbrdrb" ? Bottom : Right);
    } else if (w == "trbrdrh" || w == "trbrdrv") {
        row.side = -1; // inside borders: each cell's own say where they are
    } else if (w.startsWith("brdr")) {
        if (row.side < 0)
            return Word::NotMine;
        Border& b = row.side < 4 ? cell.border[row.side] : row.border[row.side - 4];
        bool known = false;
        if (w == "brdrw") {
            b.width = std::clamp(p, 0, 255);
        } else if (w == "brdrcf") {
            b.color = std::max(0, p);
        } else if (const auto style = borderStyle(w, &known); known) {
            b.set = true;
            b.style = style;
        }
    } else if (w == "clcbpat") {
        cell.background = std::max(0, p);
    } else if (w == "clcfpat") {
        cell.pattern = std::max(0, p);
    } else if (w == "clshdng") {
        cell.shading = std::clamp(p, 0, 10000);
    } else if (w == "clvertalt" || w == "clvertalc" || w == "clvertalb") {
        cell.valign = w == "clvertalt" ? 0 : w == "clvertalc" ? 1 : 2;
    } else if (w == "clpadt" || w == "clpadl" || w == "clpadb" || w == "clpadr") {
        const int side = w == "clpadt" ? Top : w == "clpadl" ? Left : w == "clpadb" ? Bottom : Right;
        cell.pad[side] = std::clamp(p, 0, 31680);
    } else if (w == "trpaddt" || w == "trpaddl" || w == "trpaddb" || w == "trpaddr") {
        const int side = w == "trpaddt" ? Top : w == "trpaddl" ? Left : w == "trpaddb" ? Bottom : Right;
        row.pad[side] = std::clamp(p, 0, 31680);
    } else if (w == "trql" || w == "trqc" || w == "trqr") {
        row.align = w == "trql" ? Qt::AlignLeft : w == "trqc" ? Qt::AlignHCenter : Qt::AlignRight;
    } else if (w == "trrh") {
        row.height = std::clamp(p, -31680, 31680);
    } else if (w == "trhdr") {
        row.header = on != 0;
    } else if (w == "trleft") {
        row.left = std::clamp(p, -31680, 31680);
    } else if (w == "trgaph") {
        row.gap = std::clamp(p, 0, 31680);
    } else if (w.startsWith("clpadf") || w.startsWith("trpaddf") || w.startsWith("clwWidth") ||
               w.startsWith("clftsWidth") || w.startsWith("trftsWidth") || w.startsWith("trwWidth") ||
               w == "trautofit" || w == "ltrrow" || w == "rtlrow" || w == "trkeep" || w == "clNoWrap" ||
               w.startsWith("trspd") || w.startsWith("tblind") || w == "lastrow") {
        // Units and preferences Qt has no use for.
    } else {
        return Word::NotMine;
    }
    return Word::Taken;
}

void RtfTables::place() {
    d_->place(d_->targetLevel());
}

void RtfTables::endCell() {
    Impl& d = *d_;
    const int want = d.targetLevel();
    d.place(want);
    d.target = 0;
    if (d.stack.isEmpty())
        return;
    Table& t = d.stack.last();
    Row& row = t.rows.last();
    row.cells = std::max(row.cells, t.k + 1);
    if (t.k < kMaxCells - 1)
        ++t.k;
}

void RtfTables::endRow() {
    Impl& d = *d_;
    const int want = d.rowTarget;
    d.rowTarget = 0;
    while (d.stack.size() > want)
        d.close();
    if (d.stack.size() < want || d.stack.isEmpty())
        return;
    Table& t = d.stack.last();
    if (t.rowStarted)
        d.settleRow(t, want);
    if (t.row >= kMaxRows && d.stack.size() == 1) {
        d.close(); // the next row opens a new table
        // Its place is then found in a frame tree that knows the table just closed.
        d.cursor.endEditBlock();
        d.cursor.beginEditBlock();
    }
}

void RtfTables::finish() {
    while (!d_->stack.isEmpty())
        d_->close();
}

} // namespace qv::editor
