#include "shared/ui/PaintedIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

namespace qv {
namespace {

// Every picture is drawn on a 16 x 16 grid and scaled to the size asked for.
const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kFolder(0xE8, 0xB9, 0x4A);
const QColor kBlue(0x2F, 0x6D, 0xB5);
const QColor kRed(0xC6, 0x28, 0x28);
const QColor kGreen(0x1E, 0x7B, 0x34);

QPen ink(qreal width = 1.0, QColor colour = kInk) {
    QPen p(colour, width);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

void page(QPainter& p, QRectF r, int lines) {
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(ink(0.8, QColor(0x80, 0x80, 0x80)));
    for (int i = 0; i < lines; ++i) {
        const qreal y = r.top() + 2.5 + i * 2.0;
        if (y < r.bottom() - 1)
            p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void draw(QPainter& p, PaintedIcons::Picture picture) {
    switch (picture) {
    case PaintedIcons::Open: {
        QPainterPath back;
        back.moveTo(1.5, 13.5);
        back.lineTo(1.5, 3.5);
        back.lineTo(5.5, 3.5);
        back.lineTo(7, 5);
        back.lineTo(12.5, 5);
        back.lineTo(12.5, 7);
        p.setPen(ink());
        p.setBrush(kFolder.darker(115));
        p.drawPath(back);
        QPainterPath front;
        front.moveTo(1.5, 13.5);
        front.lineTo(4, 7.5);
        front.lineTo(15, 7.5);
        front.lineTo(12.5, 13.5);
        front.closeSubpath();
        p.setBrush(kFolder);
        p.drawPath(front);
        break;
    }
    case PaintedIcons::Save:
        p.setPen(ink());
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(0xD0, 0xD0, 0xD0));
        p.drawRect(QRectF(3.5, 9, 9, 5.5));
        p.setBrush(kInk);
        p.drawRect(QRectF(9.5, 2.5, 1.5, 3));
        break;
    case PaintedIcons::Print:
        page(p, QRectF(4.5, 1.5, 7, 5), 2);
        p.setPen(ink());
        p.setBrush(QColor(0xB0, 0xB0, 0xB0));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        page(p, QRectF(4.5, 10.5, 7, 4), 0);
        p.setBrush(kGreen);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12.5, 8.5), 0.8, 0.8);
        break;
    case PaintedIcons::PrintPreview:
        page(p, QRectF(1.5, 1.5, 9, 12), 5);
        p.setPen(ink(1.2));
        p.setBrush(QColor(0xDD, 0xEE, 0xFF, 200));
        p.drawEllipse(QPointF(9.5, 9), 3, 3);
        p.setPen(ink(2.0));
        p.drawLine(QPointF(11.7, 11.2), QPointF(14.5, 14));
        break;
    case PaintedIcons::Cut:
        p.setPen(ink(1.2));
        p.drawLine(QPointF(4.5, 1.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(11.5, 1.5), QPointF(5.5, 10.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(ink(1.2, kRed));
        p.drawEllipse(QPointF(4.5, 12.5), 2.2, 2.2);
        p.drawEllipse(QPointF(11.5, 12.5), 2.2, 2.2);
        break;
    case PaintedIcons::Copy:
        page(p, QRectF(1.5, 1.5, 8, 10), 4);
        page(p, QRectF(6.5, 4.5, 8, 10), 4);
        break;
    case PaintedIcons::Paste:
        p.setPen(ink());
        p.setBrush(QColor(0xB5, 0x83, 0x4F));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRoundedRect(QRectF(4, 1, 5, 3), 1, 1);
        page(p, QRectF(6.5, 6.5, 8, 8.5), 3);
        break;
    case PaintedIcons::Delete:
        p.setPen(ink(2.4, kRed));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    case PaintedIcons::Undo: {
        QPainterPath arc;
        arc.moveTo(4, 7);
        arc.cubicTo(QPointF(7, 3.5), QPointF(14, 4), QPointF(13.5, 10));
        arc.cubicTo(QPointF(13, 13), QPointF(10, 14), QPointF(8, 13.5));
        p.setPen(ink(1.6, kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        QPainterPath head;
        head.moveTo(1.5, 3);
        head.lineTo(6.5, 8.5);
        head.lineTo(1.5, 9);
        head.closeSubpath();
        p.setPen(ink(1, kBlue));
        p.setBrush(kBlue);
        p.drawPath(head);
        break;
    }
    case PaintedIcons::Calculator:
        p.setPen(ink());
        p.setBrush(QColor(0x60, 0x66, 0x70));
        p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
        p.setBrush(QColor(0xC8, 0xE6, 0xC9));
        p.drawRect(QRectF(4, 2, 8, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(kPaper);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(4 + col * 3, 6.5 + row * 3, 2, 2));
        break;
    case PaintedIcons::Help: {
        p.setPen(ink(1, kBlue.darker(120)));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kPaper);
        p.drawText(QRectF(1, 1.5, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case PaintedIcons::Bold:
    case PaintedIcons::Italic:
    case PaintedIcons::Underline: {
        QFont f(QStringLiteral("Liberation Serif"));
        f.setPixelSize(14);
        f.setBold(picture == PaintedIcons::Bold);
        f.setItalic(picture == PaintedIcons::Italic);
        f.setUnderline(picture == PaintedIcons::Underline);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter,
                   picture == PaintedIcons::Bold     ? QStringLiteral("B")
                   : picture == PaintedIcons::Italic ? QStringLiteral("I")
                                                     : QStringLiteral("U"));
        break;
    }
    case PaintedIcons::AlignLeft:
    case PaintedIcons::AlignCenter:
    case PaintedIcons::AlignRight: {
        p.setPen(ink(1.4));
        for (int row = 0; row < 5; ++row) {
            const qreal width = row % 2 ? 8 : 13;
            const qreal left = picture == PaintedIcons::AlignLeft    ? 1.5
                               : picture == PaintedIcons::AlignRight ? 14.5 - width
                                                                     : 8 - width / 2;
            p.drawLine(QPointF(left, 2.5 + row * 2.8), QPointF(left + width, 2.5 + row * 2.8));
        }
        break;
    }
    case PaintedIcons::FormPicture: {
        page(p, QRectF(1.5, 0.5, 10, 14), 6);
        p.setPen(ink(0.8, kGreen));
        p.drawLine(QPointF(3.5, 12.5), QPointF(8, 12.5));
        QPainterPath pen;
        pen.moveTo(8, 13);
        pen.lineTo(8.5, 10.5);
        pen.lineTo(14.5, 3.5);
        pen.lineTo(15.5, 4.5);
        pen.lineTo(9.5, 11.5);
        pen.closeSubpath();
        p.setPen(ink(0.6));
        p.setBrush(kBlue);
        p.drawPath(pen);
        break;
    }
    case PaintedIcons::ReviewAnswers: {
        page(p, QRectF(1.5, 0.5, 13, 15), 0);
        for (int row = 0; row < 4; ++row) {
            const qreal y = 3.5 + row * 3.3;
            p.setPen(ink(1.2, kGreen));
            p.drawLine(QPointF(3, y), QPointF(4.2, y + 1.2));
            p.drawLine(QPointF(4.2, y + 1.2), QPointF(6.2, y - 1));
            p.setPen(ink(1.0, QColor(0x80, 0x80, 0x80)));
            p.drawLine(QPointF(7.5, y), QPointF(12.5, y));
        }
        break;
    }
    }
}

class PaintedEngine : public QIconEngine {
public:
    explicit PaintedEngine(PaintedIcons::Picture picture) : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        draw(*painter, picture_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap pm(size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter painter(&pm);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine* clone() const override { return new PaintedEngine(picture_); }

private:
    PaintedIcons::Picture picture_;
};

} // namespace

QIcon PaintedIcons::icon(Picture picture) {
    return QIcon(new PaintedEngine(picture));
}

} // namespace qv
