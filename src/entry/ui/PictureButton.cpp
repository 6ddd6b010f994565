#include "entry/ui/PictureButton.h"

#include <QPainter>

namespace qv {

PictureButton::PictureButton(const QIcon& picture, QWidget* parent) : QAbstractButton(parent) {
    setIcon(picture);
    setIconSize(QSize(40, 40));
    setFocusPolicy(Qt::NoFocus);
    setEnabled(false);
}

QSize PictureButton::sizeHint() const {
    return iconSize() + QSize(4, 4);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r(QPoint((width() - iconSize().width()) / 2, (height() - iconSize().height()) / 2),
                  iconSize());
    icon().paint(&painter, r, Qt::AlignCenter, QIcon::Normal);
}

} // namespace qv
