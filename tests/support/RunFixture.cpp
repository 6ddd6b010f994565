#include "support/RunFixture.h"

namespace qv::test {

void RunFixture::setRuns(const std::vector<RunSpec>& runs, const std::vector<int>& occurrenceRuns) {
    state.runTexts = {""};
    doc.runFlags = {0};
    doc.runValues = {0};
    for (const auto& r : runs) {
        state.runTexts.push_back(r.text);
        doc.runFlags.push_back(r.flags);
        doc.runValues.push_back(r.value);
    }
    state.runTexts.push_back("");
    doc.runFlags.push_back(0);
    doc.runValues.push_back(0);
    state.occRuns.assign(occurrenceRuns.begin(), occurrenceRuns.end());
    state.occVars.assign(occurrenceRuns.size(), 0);
    state.varNames = {"V"};
    state.varPrompts = {""};
    state.occCount = static_cast<int>(occurrenceRuns.size());
    state.currentOcc = 0;
}

} // namespace qv::test
