#include "editor/ui/KeptObjectPainter.h"

#include "editor/rtf/RtfKept.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPaintDevice>
#include <QTextDocument>
#include <QTextFormat>

namespace qv::editor {
namespace {

QFont labelFont(const QTextFormat& format, QPaintDevice* device) {
    QFont font = format.toCharFormat().font();
    font.setPointSizeF(std::max(6.0, font.pointSizeF() > 0 ? font.pointSizeF() * 0.75 : 9.0));
    font.setItalic(true);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setBold(false);
    return device ? QFont(font, device) : font;
}

} // namespace

void KeptObjectPainter::Install(QTextDocument& document) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    layout->registerHandler(RtfKept::kObjectType, new KeptObjectPainter(layout));
}

QSizeF KeptObjectPainter::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
    QPaintDevice* device = doc ? doc->documentLayout()->paintDevice() : nullptr;
    const QSizeF points = format.property(RtfKept::kSizeProperty).toSizeF();
    if (points.isValid() && !points.isEmpty()) {
        // Points at the device's resolution; pictures show at 96 pixels per inch on screen.
        const qreal dpi = device ? device->logicalDpiY() : 96.0;
        return points * dpi / 72.0;
    }
    const QFontMetricsF metrics(labelFont(format, device), device);
    const QString label = format.property(RtfKept::kLabelProperty).toString();
    return {metrics.horizontalAdvance(label) + metrics.averageCharWidth(), metrics.height()};
}

void KeptObjectPainter::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                   const QTextFormat& format) {
    painter->save();
    const QRectF box = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter->setPen(QPen(QColor(110, 110, 130), 0, Qt::DotLine));
    painter->setBrush(QColor(235, 238, 245));
    painter->drawRect(box);
    painter->setPen(QColor(70, 70, 90));
    painter->setFont(labelFont(format, painter->device()));
    painter->drawText(box, Qt::AlignCenter | Qt::TextSingleLine,
                      format.property(RtfKept::kLabelProperty).toString());
    painter->restore();
}

} // namespace qv::editor
