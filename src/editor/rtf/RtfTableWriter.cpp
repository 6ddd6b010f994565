#include "editor/rtf/RtfTableWriter.h"

#include "editor/rtf/RtfTables.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <cmath>

namespace qv::editor {
namespace {

constexpr qreal kDefaultTextWidth = 468; // points: a letter page less one-inch margins

QByteArray number(qreal points) {
    return QByteArray::number(std::lround(points * 20));
}

QByteArray borderWords(const char* side, qreal width, QTextFrameFormat::BorderStyle style, const QBrush& brush,
                       const RtfTableWriter::ColorIndex& color) {
    if (width <= 0 || style == QTextFrameFormat::BorderStyle_None)
        return {};
    QByteArray out = QByteArray("\\clbrdr") + side;
    switch (style) {
    case QTextFrameFormat::BorderStyle_Double:
        out += "\\brdrdb";
        break;
    case QTextFrameFormat::BorderStyle_Dotted:
        out += "\\brdrdot";
        break;
    case QTextFrameFormat::BorderStyle_Dashed:
    case QTextFrameFormat::BorderStyle_DotDash:
    case QTextFrameFormat::BorderStyle_DotDotDash:
        out += "\\brdrdash";
        break;
    case QTextFrameFormat::BorderStyle_Inset:
        out += "\\brdrinset";
        break;
    case QTextFrameFormat::BorderStyle_Outset:
        out += "\\brdroutset";
        break;
    default:
        out += "\\brdrs";
        break;
    }
    out += "\\brdrw" + QByteArray::number(std::clamp<long>(std::lround(width * 20), 1, 255));
    if (brush.style() != Qt::NoBrush)
        out += "\\brdrcf" + QByteArray::number(color(brush.color()));
    return out;
}

void collect(const QTextFrame* frame, QList<QColor>& colors) {
    const auto add = [&](const QBrush& b) {
        if (b.style() != Qt::NoBrush && !colors.contains(b.color()))
            colors << b.color();
    };
    for (const QTextFrame* child : frame->childFrames()) {
        if (const auto* table = qobject_cast<const QTextTable*>(child))
            for (int r = 0; r < table->rows(); ++r)
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCellFormat f = table->cellAt(r, c).format().toTableCellFormat();
                    add(f.background());
                    if (f.topBorder() > 0)
                        add(f.topBorderBrush());
                    if (f.leftBorder() > 0)
                        add(f.leftBorderBrush());
                    if (f.bottomBorder() > 0)
                        add(f.bottomBorderBrush());
                    if (f.rightBorder() > 0)
                        add(f.rightBorderBrush());
                }
        collect(child, colors);
    }
}

} // namespace

RtfTableWriter::RtfTableWriter(const QTextDocument& document, Paragraph paragraph, ColorIndex color)
    : document_(document), paragraph_(std::move(paragraph)), color_(std::move(color)) {}

QList<QColor> RtfTableWriter::colorsOf(const QTextDocument& document) {
    QList<QColor> colors;
    collect(document.rootFrame(), colors);
    return colors;
}

void RtfTableWriter::writeFrame(const QTextFrame* frame, QByteArray& out) {
    writeContent(frame->begin(), 0, {}, out);
}

void RtfTableWriter::writeContent(QTextFrame::iterator it, int level, const QByteArray& end, QByteArray& out) {
    const QByteArray words = level == 0 ? QByteArray()
                             : level == 1 ? QByteArrayLiteral("\\intbl")
                                          : "\\intbl\\itap" + QByteArray::number(level);
    while (!it.atEnd()) {
        const QTextFrame* frame = it.currentFrame();
        const QTextBlock block = it.currentBlock();
        ++it;
        if (const auto* table = qobject_cast<const QTextTable*>(frame)) {
            writeTable(table, level + 1, out);
        } else if (frame) {
            // A frame that is not a table: its paragraphs, in line with the others.
            writeContent(frame->begin(), level, "\\par\r\n", out);
        } else if (block.isValid()) {
            paragraph_(block, words, out);
            out += it.atEnd() ? end : QByteArrayLiteral("\\par\r\n");
        }
    }
}

QList<int> RtfTableWriter::edgesOf(const QTextTable* table) const {
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    const qreal page = document_.textWidth() > 0 ? document_.textWidth() : kDefaultTextWidth;
    qreal fixed = 0;
    int variable = 0;
    for (int c = 0; c < table->columns(); ++c) {
        const QTextLength w = c < widths.size() ? widths[c] : QTextLength();
        if (w.type() == QTextLength::FixedLength)
            fixed += w.rawValue();
        else if (w.type() == QTextLength::PercentageLength)
            fixed += w.rawValue() * page / 100;
        else
            ++variable;
    }
    const qreal share = variable ? std::max<qreal>(36, (page - fixed) / variable) : 0;
    QList<int> edges;
    qreal right = 0;
    for (int c = 0; c < table->columns(); ++c) {
        const QTextLength w = c < widths.size() ? widths[c] : QTextLength();
        right += w.type() == QTextLength::FixedLength        ? w.rawValue()
                 : w.type() == QTextLength::PercentageLength ? w.rawValue() * page / 100
                                                            : share;
        edges.append(static_cast<int>(std::lround(right * 20)));
        if (c > 0 && edges[c] <= edges[c - 1])
            edges[c] = edges[c - 1] + 1;
    }
    return edges;
}

/// Where the row's cells end: the empty cells that only fill a narrower row are not written.
static int rowEnd(const QTextTable* table, int row) {
    int end = table->columns();
    while (end > 1) {
        const QTextTableCell cell = table->cellAt(row, end - 1);
        if (cell.row() != row || !cell.format().boolProperty(RtfTables::kFillerProperty) ||
            cell.firstPosition() != cell.lastPosition())
            break;
        end = cell.column();
    }
    return end;
}

QByteArray RtfTableWriter::rowDefinition(const QTextTable* table, int row, const QList<int>& edges) {
    const QTextTableFormat tf = table->format();
    QByteArray out = "\\trowd\\trleft0";
    const Qt::Alignment align = tf.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        out += "\\trqc";
    else if (align & Qt::AlignRight)
        out += "\\trqr";
    if (row < tf.headerRowCount())
        out += "\\trhdr";
    const QVariant height = table->cellAt(row, 0).format().property(RtfTables::kRowHeightProperty);
    if (height.isValid())
        out += "\\trrh" + QByteArray::number(height.toInt());
    const int end = rowEnd(table, row);
    for (int c = 0; c < end; ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.column() != c)
            continue; // inside a wider cell
        const QTextTableCellFormat f = cell.format().toTableCellFormat();
        if (cell.row() != row)
            out += "\\clvmrg";
        else if (cell.rowSpan() > 1)
            out += "\\clvmgf";
        if (f.verticalAlignment() == QTextCharFormat::AlignMiddle)
            out += "\\clvertalc";
        else if (f.verticalAlignment() == QTextCharFormat::AlignBottom)
            out += "\\clvertalb";
        out += borderWords("t", f.topBorder(), f.topBorderStyle(), f.topBorderBrush(), color_);
        out += borderWords("l", f.leftBorder(), f.leftBorderStyle(), f.leftBorderBrush(), color_);
        out += borderWords("b", f.bottomBorder(), f.bottomBorderStyle(), f.bottomBorderBrush(), color_);
        out += borderWords("r", f.rightBorder(), f.rightBorderStyle(), f.rightBorderBrush(), color_);
        if (f.background().style() != Qt::NoBrush)
            out += "\\clcbpat" + QByteArray::number(color_(f.background().color()));
        const std::pair<int, const char*> pads[] = {{QTextFormat::TableCellTopPadding, "t"},
                                                    {QTextFormat::TableCellLeftPadding, "l"},
                                                    {QTextFormat::TableCellBottomPadding, "b"},
                                                    {QTextFormat::TableCellRightPadding, "r"}};
        for (const auto& [property, side] : pads)
            if (f.hasProperty(property))
                out += QByteArray("\\clpadf") + side + "3\\clpad" + side + number(f.doubleProperty(property));
        const int last = std::min<int>(c + cell.columnSpan() - 1, edges.size() - 1);
        out += "\\cellx" + QByteArray::number(edges.value(last));
    }
    return out;
}

void RtfTableWriter::writeTable(const QTextTable* table, int level, QByteArray& out) {
    const QList<int> edges = edgesOf(table);
    const QByteArray cellEnd = level == 1 ? QByteArrayLiteral("\\cell") : QByteArrayLiteral("\\nestcell");
    const QByteArray words = level == 1 ? QByteArrayLiteral("\\intbl")
                                        : "\\intbl\\itap" + QByteArray::number(level);
    for (int r = 0; r < table->rows(); ++r) {
        const QByteArray definition = rowDefinition(table, r, edges);
        if (level == 1)
            out += definition + "\r\n";
        const int end = rowEnd(table, r);
        for (int c = 0; c < end; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.column() != c)
                continue;
            if (cell.row() != r) {
                out += "\\pard" + words + " " + cellEnd; // the lower part of a taller cell
                continue;
            }
            writeContent(cell.begin(), level, cellEnd, out);
        }
        if (level == 1)
            out += "\\row\r\n";
        else
            out += "{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}\r\n";
    }
}

} // namespace qv::editor
