#include "setup/ui/SetupWindow.h"

#include "setup/ui/SetupPictures.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace qv::setup {

SetupWindow::SetupWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("setup102"));
    setWindowTitle(QStringLiteral("Q-V Davov Software Setup"));
    setWindowIcon(SetupPictures::WindowIcon());
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(600, 360);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SetupWindow::Paint(QPainter& painter, const QRect& clip) {
    static const QImage emboss = SetupPictures::Emboss();
    static const QImage logo = SetupPictures::Logo();
    static const QImage mask = SetupPictures::Mask();
    // Bricks: each band of 60 pixels holds a row, and a second row offset by half a brick.
    const int columns = clip.right() / 240 + 1;
    const int rows = clip.bottom() / 60 + 1;
    for (int band = 0; band <= rows; ++band)
        for (int column = 0; column <= columns; ++column) {
            const int x = column * 240;
            const int y = band * 60;
            painter.drawImage(x, y, emboss);
            painter.drawImage(x - 120, y + 30, emboss);
        }
    // The logo: the mask ORed onto the wall under it, then the logo ANDed over that.
    QImage patch(330, 47, QImage::Format_RGB32);
    for (int dy = 0; dy < 47; ++dy)
        for (int dx = 0; dx < 330; ++dx) {
            const int x = 30 + dx, y = 30 + dy;
            const int within = y % 60;
            const int sx = within < 30 ? x % 240 : (x + 120) % 240;
            patch.setPixel(dx, dy, emboss.pixel(sx, within % 30));
        }
    {
        QPainter under(&patch);
        under.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        under.drawImage(0, 0, mask);
        under.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        under.drawImage(0, 0, logo);
    }
    painter.drawImage(30, 30, patch);
    // The title: black, then white five pixels up and left of it.
    QFont title(QStringLiteral("Liberation Serif"));
    title.setPixelSize(50);
    title.setBold(true);
    title.setItalic(true);
    painter.setFont(title);
    const QString text = QStringLiteral("Tolvad Organizer");
    painter.setPen(Qt::black);
    painter.drawText(QRect(35, 105, 1000, 70), Qt::AlignLeft | Qt::AlignTop, text);
    painter.setPen(Qt::white);
    painter.drawText(QRect(30, 100, 1000, 70), Qt::AlignLeft | Qt::AlignTop, text);
}

void SetupWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    Paint(painter, event->rect().united(QRect(0, 0, 1, 1)));
}

} // namespace qv::setup
