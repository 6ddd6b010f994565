#pragma once

#include <QAbstractButton>

namespace qv {

/// The interview bar's picture: a button that cannot be pressed and draws its picture
/// in full colour even while disabled.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(const QIcon& picture, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qv
