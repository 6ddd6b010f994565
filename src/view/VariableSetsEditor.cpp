#include "view/VariableSetsEditor.h"

#include "formengine/UserMessages.h"
#include "platform/Profile.h"

namespace qv {

VariableSetsEditor::VariableSetsEditor(VariableSets& sets, platform::Profile& profile, UserMessages& messages)
    : sets_(sets), profile_(profile), messages_(messages) {
    sets_.LoadVariableSets(profile_);
    working_ = sets_;
    default_ = VariableSets::defaultSet(profile_);
    shown_ = default_;
}

void VariableSetsEditor::SwitchTo(int set, const VariableSets::Set& edits) {
    working_[shown_] = edits;
    if (set >= 0 && set < VariableSets::kSets)
        shown_ = set;
}

bool VariableSetsEditor::ClickDefault(bool ticked) {
    if (ticked) {
        default_ = shown_;
        return true;
    }
    messages_.show(
        "You must have a variable set selected.  Instead of unchecking this box, just check this box "
        "in another set.",
        MessageIcon::Exclamation, MessageButtons::Ok, "Oops!");
    return true;
}

int VariableSetsEditor::Ok(const VariableSets::Set& edits, bool applyToWorksheet) {
    working_[shown_] = edits;
    sets_ = working_;
    sets_.SaveVariableSets(profile_);
    VariableSets::setDefaultSet(profile_, default_);
    return applyToWorksheet ? shown_ : kNoSet;
}

} // namespace qv
