#include "setup/ui/SetupPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace qv::setup {
namespace {

const QColor kNavy(0x24, 0x47, 0x6B);
const QColor kAccent(0x2E, 0x7D, 0x6F);

/// The logo's shape: a page with a folded corner and the words beside it.
void drawLogoShape(QPainter& p, const QBrush& page, const QBrush& words) {
    QPainterPath sheet;
    sheet.moveTo(4, 3);
    sheet.lineTo(26, 3);
    sheet.lineTo(34, 11);
    sheet.lineTo(34, 44);
    sheet.lineTo(4, 44);
    sheet.closeSubpath();
    p.fillPath(sheet, page);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(26);
    f.setBold(true);
    QPainterPath text;
    text.addText(44, 34, f, QStringLiteral("Q-V Davov Software"));
    p.fillPath(text, words);
}

} // namespace

QImage SetupPictures::Emboss() {
    QImage brick(240, 30, QImage::Format_RGB32);
    QPainter p(&brick);
    QLinearGradient g(0, 0, 0, 30);
    g.setColorAt(0, QColor(0xE9, 0xE3, 0xD6));
    g.setColorAt(1, QColor(0xD6, 0xCD, 0xBA));
    p.fillRect(brick.rect(), g);
    // Light above and left, shadow below and right: the brick stands out.
    p.setPen(QColor(0xFA, 0xF7, 0xF0));
    p.drawLine(0, 0, 239, 0);
    p.drawLine(0, 0, 0, 29);
    p.setPen(QColor(0xB3, 0xA8, 0x92));
    p.drawLine(0, 29, 239, 29);
    p.drawLine(239, 0, 239, 29);
    return brick;
}

QImage SetupPictures::Mask() {
    QImage mask(330, 47, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawLogoShape(p, Qt::white, Qt::white);
    return mask;
}

QIcon SetupPictures::WindowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        for (qreal scale : {1.0, 2.0}) {
            QPixmap pm(QSize(size, size) * scale);
            pm.setDevicePixelRatio(scale);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(size / 48.0, size / 48.0);
            p.setPen(QPen(QColor(0x1F, 0x2A, 0x3A), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            // The open box.
            p.setBrush(QColor(0xEC, 0xE4, 0xD3));
            p.drawPolygon(QPolygonF({QPointF(6, 20), QPointF(24, 28), QPointF(42, 20), QPointF(42, 38),
                                     QPointF(24, 46), QPointF(6, 38)}));
            // The page on its way in, with an arrow on it.
            p.setBrush(QColor(0xFB, 0xF8, 0xF1));
            p.drawRect(QRectF(15, 3, 18, 22));
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawPolygon(QPolygonF({QPointF(21, 7), QPointF(27, 7), QPointF(27, 14), QPointF(30, 14),
                                     QPointF(24, 21), QPointF(18, 14), QPointF(21, 14)}));
            icon.addPixmap(pm);
        }
    return icon;
}

QImage SetupPictures::Logo() {
    QImage logo(330, 47, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawLogoShape(p, kAccent, kNavy);
    return logo;
}

} // namespace qv::setup
