#pragma once

#include <QDialog>

class QCheckBox;

namespace qv {

/// Tools > Options: the program's own choices beyond the form. The caller fills it in,
/// runs it and applies the result.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget* parent = nullptr);

    void setOfferEarlierAnswers(bool on);
    bool offerEarlierAnswers() const;
    QCheckBox* offerEarlierAnswersBox() const { return offerEarlier_; }

private:
    QCheckBox* offerEarlier_;
};

} // namespace qv
