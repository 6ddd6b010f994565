#pragma once

#include "view/VariableSetsEditor.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QTabBar;

namespace qv {

/// Dialog 142 "Variable Sets": three tabs of the fourteen standard answers, the default
/// set for future templates and whether to apply the shown set to this worksheet.
class VariableSetsDialog : public QDialog {
    Q_OBJECT
public:
    VariableSetsDialog(VariableSets& sets, platform::Profile& profile, UserMessages& messages,
                       QWidget* parent = nullptr);

    /// 0 to 2: apply that set to the worksheet; 3: nothing to apply (also after Cancel).
    int setResult() const { return setResult_; }

signals:
    void helpRequested(int context);

private:
    VariableSets::Set edits() const;
    void showSet();

    VariableSetsEditor editor_;
    QTabBar* tabs_;
    std::array<QLineEdit*, VariableSets::kEntries> edits_{};
    QCheckBox* useForFuture_;
    QCheckBox* applyNow_;
    int setResult_ = VariableSetsEditor::kNoSet;
};

} // namespace qv
