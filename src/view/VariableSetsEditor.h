#pragma once

#include "formengine/VariableSets.h"

namespace qv {

class UserMessages;
namespace platform {
class Profile;
}

/// The rules of the Variable Sets dialog: a working copy of the three sets edited tab by
/// tab, one set marked as the default for future templates (it cannot be unmarked, only
/// moved), and OK writing all 42 values and the default to the settings.
class VariableSetsEditor {
public:
    static constexpr int kNoSet = 3; // the dialog's result when nothing is to be applied

    /// Opening: reads the sets and the default from the settings (also into `sets`).
    VariableSetsEditor(VariableSets& sets, platform::Profile& profile, UserMessages& messages);

    int shownSet() const { return shown_; }
    int defaultSet() const { return default_; }
    bool defaultTicked() const { return shown_ == default_; }
    const VariableSets::Set& shownValues() const { return working_[shown_]; }

    /// Keeps the edits of the tab being left and shows another.
    void SwitchTo(int set, const VariableSets::Set& edits);
    /// The default check box clicked: ticking makes the shown set the default; unticking
    /// is refused with the "Oops!" message. Returns the box's state afterwards.
    bool ClickDefault(bool ticked);
    /// OK: the working copy becomes the sets, all values and the default are written.
    /// Returns the shown set when it is to be applied to the worksheet, else kNoSet.
    int Ok(const VariableSets::Set& edits, bool applyToWorksheet);

private:
    VariableSets& sets_;
    platform::Profile& profile_;
    UserMessages& messages_;
    VariableSets working_;
    int default_ = 0;
    int shown_ = 0;
};

} // namespace qv
