#pragma once

#include <QWidget>

namespace qv::setup {

/// The setup window: a brick wall of the EMBOSS picture, the logo over it and the
/// product's title in shadowed letters. It stays on screen while the install runs.
class SetupWindow : public QWidget {
    Q_OBJECT
public:
    explicit SetupWindow(QWidget* parent = nullptr);

    /// The window as painted, for a given area (the painting steps in one place).
    static void Paint(QPainter& painter, const QRect& clip);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qv::setup
