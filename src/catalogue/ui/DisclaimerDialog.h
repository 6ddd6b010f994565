#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace qv::catalogue {

/// "Q-V Davov Disclaimer": the limited warranty and disclaimer, read-only, and OK.
class DisclaimerDialog : public QDialog {
    Q_OBJECT
public:
    explicit DisclaimerDialog(QWidget* parent = nullptr);
    QPlainTextEdit* text() const { return text_; }

private:
    QPlainTextEdit* text_;
};

} // namespace qv::catalogue
