#include "entry/AnswerReview.h"

#include "formengine/CSpace.h"
#include "formengine/RunFlags.h"

namespace qv {
namespace {

std::string_view answerOf(const CTextDoc& doc, int k) {
    const ProgramState& s = doc.state();
    const auto run = static_cast<std::size_t>(s.occRuns[static_cast<std::size_t>(k)]);
    return run < s.runTexts.size() ? TrimCSpace(s.runTexts[run]) : std::string_view();
}

bool isBlank(std::string_view answer) {
    return answer == BLANK_TEXT || answer == NBSP_TEXT || answer.empty();
}

bool takesTypedAnswer(const CTextDoc& doc, int k) {
    return !doc.IsCalculated(k);
}

} // namespace

std::string AnswerReview::FirstLine(std::string_view prompt) {
    const std::string_view t = TrimCSpace(prompt);
    return std::string(TrimCSpace(t.substr(0, t.find_first_of("\r\n"))));
}

ReviewRow AnswerReview::ReadRow(const CTextDoc& doc, int k) {
    const ProgramState& s = doc.state();
    ReviewRow r;
    r.occurrence = k;
    const auto v = static_cast<std::size_t>(s.occVars[static_cast<std::size_t>(k)]);
    if (v < s.varPrompts.size())
        r.prompt = FirstLine(s.varPrompts[v]);
    const std::string_view answer = answerOf(doc, k);
    r.inputCell = doc.IsInputCell(k);
    if (doc.IsCalculated(k) && !r.inputCell)
        r.state = AnswerState::Computed;
    else if (answer == BLANK_TEXT)
        r.state = AnswerState::FillInLater;
    else if (isBlank(answer))
        r.state = AnswerState::Blank;
    else
        r.state = AnswerState::Answered;
    if (r.state == AnswerState::Answered || r.state == AnswerState::Computed)
        r.answer = std::string(answer);
    return r;
}

const std::string& AnswerReview::nameOf(int k) const {
    static const std::string none;
    const ProgramState& s = doc_.state();
    if (k < 0 || k >= rowCount() || !sameShape())
        return none;
    const auto v = static_cast<std::size_t>(s.occVars[static_cast<std::size_t>(k)]);
    return v < s.varNames.size() ? s.varNames[v] : none;
}

bool AnswerReview::sameShape() const {
    const ProgramState& s = doc_.state();
    return s.occCount == rowCount() && s.occRuns == occRuns_;
}

void AnswerReview::Rebuild() {
    const ProgramState& s = doc_.state();
    occRuns_ = s.occRuns;
    rows_.clear();
    const int n = std::min<int>(s.occCount, static_cast<int>(std::min(s.occRuns.size(), s.occVars.size())));
    rows_.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int k = 0; k < n; ++k) {
        rows_.push_back(ReadRow(doc_, k));
        const auto run = static_cast<std::size_t>(occRuns_[static_cast<std::size_t>(k)]);
        rows_.back().page = run < pageOfRun_.size() ? pageOfRun_[run] : 0;
    }
}

bool AnswerReview::RefreshRow(int k) {
    if (k < 0 || k >= rowCount() || !sameShape())
        return false;
    return readRow(k);
}

bool AnswerReview::readRow(int k) {
    ReviewRow r = ReadRow(doc_, k);
    const auto run = static_cast<std::size_t>(occRuns_[static_cast<std::size_t>(k)]);
    r.page = run < pageOfRun_.size() ? pageOfRun_[run] : 0;
    ReviewRow& old = rows_[static_cast<std::size_t>(k)];
    if (r == old)
        return false;
    old = std::move(r);
    return true;
}

std::vector<int> AnswerReview::Refresh() {
    std::vector<int> changed;
    if (!sameShape()) {
        Rebuild();
        for (int k = 0; k < rowCount(); ++k)
            changed.push_back(k);
        return changed;
    }
    for (int k = 0; k < rowCount(); ++k)
        if (readRow(k))
            changed.push_back(k);
    return changed;
}

void AnswerReview::SetPages(const std::vector<int>& lineOfRun, int linesPerPage) {
    pageOfRun_.assign(lineOfRun.size(), 0);
    const int perPage = std::max(linesPerPage, 1);
    // A run the layout did not place (an empty answer) is on the page of the run before it.
    int last = 0;
    for (std::size_t i = 0; i < lineOfRun.size(); ++i) {
        if (lineOfRun[i] >= 0)
            last = lineOfRun[i];
        pageOfRun_[i] = last / perPage + 1;
    }
}

std::vector<int> AnswerReview::BlankOccurrencesOfSameName(int k) const {
    std::vector<int> out;
    const ProgramState& s = doc_.state();
    // Rows read for another form name nothing of this one.
    if (k < 0 || k >= rowCount() || !sameShape())
        return out;
    const auto var = s.occVars[static_cast<std::size_t>(k)];
    for (int j = 0; j < rowCount(); ++j)
        if (j != k && s.occVars[static_cast<std::size_t>(j)] == var && takesTypedAnswer(doc_, j) &&
            !doc_.IsInputCell(j) && isBlank(answerOf(doc_, j)))
            out.push_back(j);
    return out;
}

std::optional<std::string> EarlierAnswer(const CTextDoc& doc, int k) {
    const ProgramState& s = doc.state();
    const int n = std::min<int>(s.occCount, static_cast<int>(std::min(s.occRuns.size(), s.occVars.size())));
    if (k <= 0 || k >= n || !takesTypedAnswer(doc, k) || !isBlank(answerOf(doc, k)))
        return std::nullopt;
    const auto var = s.occVars[static_cast<std::size_t>(k)];
    for (int j = k - 1; j >= 0; --j) {
        if (s.occVars[static_cast<std::size_t>(j)] != var || !takesTypedAnswer(doc, j))
            continue;
        const std::string_view answer = answerOf(doc, j);
        if (!isBlank(answer))
            return std::string(answer);
    }
    return std::nullopt;
}

} // namespace qv
