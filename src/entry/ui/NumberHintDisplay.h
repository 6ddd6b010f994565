#pragma once

#include <QPalette>
#include <QString>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QStatusBar;

namespace qv {

/// Shows what is wrong with the number typed into an input field: the hint stands in a
/// pane of the status bar, and the value field is tinted and carries the hint as its tool
/// tip and accessible description, until the text reads cleanly. It only shows; what the
/// field stores is untouched.
class NumberHintDisplay {
public:
    /// Without a status bar only the field shows the hint.
    NumberHintDisplay(QLineEdit* field, QStatusBar* statusBar);

    /// `hint` in Windows-1252, or nothing to clear it.
    void show(const std::optional<std::string>& hint);
    QLabel* pane() const { return pane_; } // null without a status bar

private:
    QLineEdit* field_;
    QLabel* pane_;
    QPalette plain_;
    QString shown_;
};

} // namespace qv
