#include "catalogue/ui/AboutBox.h"

#include "catalogue/ui/CataloguePictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace qv::catalogue {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox165"));
    setWindowTitle(QStringLiteral("About Q-V Davov Software..."));
    setFixedSize(426, 154);
    setAccessibleDescription(tr("Q-V Davov Forms. Click anywhere to close."));
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CataloguePictures::Background(182, devicePixelRatioF()));
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        accept();
}

} // namespace qv::catalogue
