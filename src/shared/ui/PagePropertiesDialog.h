#pragma once

#include <QDialog>
#include <QPageSize>
#include <array>
#include <memory>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QPrinter;
class QRadioButton;

namespace qv {

class UserMessages;

/// Dialog 1546 "Page Properties": the page margins in inches, the paper size and source,
/// and the orientation. The dialog works on a copy of the printer's settings ("Printer..."
/// changes the copy too), so Cancel leaves the printer as it was; OK gives the margins in
/// hundredths of an inch and `applyToPrinter` puts the chosen settings into the printer.
class PagePropertiesDialog : public QDialog {
    Q_OBJECT
public:
    PagePropertiesDialog(QPrinter& printer, const std::array<int, 4>& margins, int orientation,
                         QWidget* parent = nullptr);
    ~PagePropertiesDialog() override;

    /// Left, top, right, bottom in hundredths of an inch (remainder dropped).
    std::array<int, 4> margins() const;
    /// The margins in thousandths of an inch, as the print file editor keeps them.
    std::array<int, 4> thousandths() const;
    void setThousandths(const std::array<int, 4>& margins);
    int orientation() const;
    /// Puts the chosen printer, paper, source and orientation into the printer.
    void applyToPrinter() const;
    /// With a message interface, OK refuses margins that leave no room on the paper.
    void setMessages(UserMessages* messages) { messages_ = messages; }

signals:
    /// "Printer...": the receiver sets up `settings` (the dialog's copy) before returning.
    void printerRequested(QPrinter* settings);

private:
    void fillSizes();
    void chooseFromPrinter();
    bool marginsFit() const;

    QPrinter& printer_;
    std::unique_ptr<QPrinter> settings_;
    std::vector<QPageSize> papers_;
    UserMessages* messages_ = nullptr;
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
