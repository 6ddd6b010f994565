#include "editor/rtf/RtfDocumentCounts.h"

#include "editor/rtf/RtfKept.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QVariant>

namespace qv::editor {
namespace {

void countTables(const QTextFrame* frame, RtfDocumentCounts& counts) {
    for (const QTextFrame* child : frame->childFrames()) {
        if (const auto* table = qobject_cast<const QTextTable*>(child)) {
            ++counts.tables;
            for (int r = 0; r < table->rows(); ++r)
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (cell.row() == r && cell.column() == c)
                        ++counts.cells;
                }
        }
        countTables(child, counts);
    }
}

} // namespace

RtfDocumentCounts RtfDocumentCounts::Count(const QTextDocument& document) {
    RtfDocumentCounts counts;
    countTables(document.rootFrame(), counts);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        ++counts.paragraphs;
        if (b.textList())
            ++counts.listItems;
        // A run is a stretch of fragments with the same link or field: Qt splits a run
        // wherever another property changes, a link in bold and plain is still one link.
        QString href;
        QByteArray instruction;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            if (format.isImageFormat())
                counts.pictures += f.length();
            if (format.objectType() == RtfKept::kObjectType)
                counts.kept += f.length();
            const QString fragmentHref = format.isAnchor() ? format.anchorHref() : QString();
            if (!fragmentHref.isEmpty() && fragmentHref != href)
                ++counts.links;
            href = fragmentHref;
            // A link may carry its HYPERLINK instruction too: it is one field, counted as a link.
            const QByteArray fragmentInstruction =
                fragmentHref.isEmpty() ? format.property(RtfKept::kFieldInstructionProperty).toByteArray()
                                       : QByteArray();
            if (!fragmentInstruction.isEmpty() && fragmentInstruction != instruction)
                ++counts.fields;
            instruction = fragmentInstruction;
        }
    }
    counts.fields += counts.links;
    counts.kept += document.property(RtfKept::kDocumentGroups).value<QList<QByteArray>>().size();
    return counts;
}

} // namespace qv::editor
