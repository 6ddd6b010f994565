#pragma once

#include "catalogue/ui/CataloguePictures.h"

#include <QAbstractButton>
#include <functional>

namespace qv::catalogue {

/// A picture button with four pictures: normal, pressed, focused and disabled. The
/// pictures are drawn for the screen's scale when the button is painted.
class StatePictureButton : public QAbstractButton {
    Q_OBJECT
public:
    using Painter = std::function<QPixmap(CataloguePictures::State, qreal scale)>;

    StatePictureButton(const QString& caption, QSize size, Painter pictures, QWidget* parent = nullptr);
    QSize sizeHint() const override { return size_; }
    /// The state whose picture shows now.
    CataloguePictures::State shownState() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize size_;
    Painter pictures_;
};

} // namespace qv::catalogue
