#pragma once

#include <QDialog>

namespace qv::catalogue {

/// "About Q-V Davov Software...": a picture that closes when clicked anywhere.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace qv::catalogue
