#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QDoubleSpinBox;
class QPrinter;
class QRadioButton;

namespace qv {

/// Dialog 1546 "Page Properties": the page margins in inches, the paper size and source,
/// and the orientation. OK gives the margins in hundredths of an inch and applies the
/// paper and orientation to the printer.
class PagePropertiesDialog : public QDialog {
    Q_OBJECT
public:
    PagePropertiesDialog(QPrinter& printer, const std::array<int, 4>& margins, int orientation,
                         QWidget* parent = nullptr);

    /// Left, top, right, bottom in hundredths of an inch (remainder dropped).
    std::array<int, 4> margins() const;
    /// The margins in thousandths of an inch, as the print file editor keeps them.
    std::array<int, 4> thousandths() const;
    void setThousandths(const std::array<int, 4>& margins);
    int orientation() const;
    /// Puts the chosen paper and orientation into the printer.
    void applyToPrinter() const;

signals:
    void printerRequested();

private:
    QPrinter& printer_;
    QDoubleSpinBox* top_;
    QDoubleSpinBox* left_;
    QDoubleSpinBox* right_;
    QDoubleSpinBox* bottom_;
    QComboBox* size_;
    QComboBox* source_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

} // namespace qv
