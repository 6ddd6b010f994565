#include "catalogue/ui/StatePictureButton.h"

#include <QPainter>

namespace qv::catalogue {

StatePictureButton::StatePictureButton(const QString& caption, QSize size, Painter pictures, QWidget* parent)
    : QAbstractButton(parent), size_(size), pictures_(std::move(pictures)) {
    setText(caption);
    setAccessibleName(caption);
    setFixedSize(size);
    setFocusPolicy(Qt::StrongFocus);
}

CataloguePictures::State StatePictureButton::shownState() const {
    using State = CataloguePictures::State;
    if (!isEnabled())
        return State::Disabled;
    if (isDown())
        return State::Down;
    if (hasFocus())
        return State::Focused;
    return State::Up;
}

void StatePictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, pictures_(shownState(), devicePixelRatioF()));
}

} // namespace qv::catalogue
