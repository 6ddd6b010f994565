#pragma once

#include <QDialog>

class QCheckBox;

namespace qv {

/// "Q-V Davov First-Time Help" (dialog 144): what the questions after Done mean. OK ends
/// it with 1 when "Never show this box again" is ticked, else 2.
class FirstTimeHelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit FirstTimeHelpDialog(QWidget* parent = nullptr);

    QCheckBox* neverAgain() const { return neverAgain_; }

private:
    QCheckBox* neverAgain_;
};

} // namespace qv
