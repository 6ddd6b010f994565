#pragma once

#include "formengine/CTextDoc.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

/// How an occurrence stands, as the review lists it.
enum class AnswerState {
    Answered,
    FillInLater, // the blank line to write on by hand
    Blank,       // left empty
    Computed,    // worked out by the form; the user cannot type it
};

/// One row of the answer review: an occurrence as the user sees it.
struct ReviewRow {
    int occurrence = 0;
    std::string prompt; // first line of the prompt, Windows-1252
    std::string answer; // the stored answer trimmed; empty for a blank of either kind
    AnswerState state = AnswerState::Blank;
    bool inputCell = false; // calculated, but typed by the user
    int page = 0;           // 1-based; 0 before the form is laid out

    bool unanswered() const { return state == AnswerState::FillInLater || state == AnswerState::Blank; }
    bool operator==(const ReviewRow&) const = default;
};

/// Every occurrence of the loaded form in form order, kept in step with the answers so
/// that a change costs one row, not the whole list. The widgets show it; the document
/// stays the only store of answers.
class AnswerReview {
public:
    explicit AnswerReview(const CTextDoc& doc) : doc_(doc) {}

    /// Reads every row again (a form or worksheet was loaded).
    void Rebuild();
    /// Reads row `k` again; true when it changed.
    bool RefreshRow(int k);
    /// Reads every row again and returns those that changed, in order. A different
    /// occurrence count or order rebuilds and reports every row.
    std::vector<int> Refresh();
    /// The page of each run's last laid-out line (-1 where none), and the lines a page holds.
    void SetPages(const std::vector<int>& lineOfRun, int linesPerPage);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const ReviewRow& row(int k) const { return rows_[static_cast<std::size_t>(k)]; }
    /// The declared name of occurrence k's variable.
    const std::string& nameOf(int k) const;

    /// The occurrences of k's variable, other than k, that are blank and take a typed answer.
    std::vector<int> BlankOccurrencesOfSameName(int k) const;

    static std::string FirstLine(std::string_view prompt);
    static ReviewRow ReadRow(const CTextDoc& doc, int k);

private:
    bool sameShape() const;
    bool readRow(int k); // the shape is known to match

    const CTextDoc& doc_;
    std::vector<ReviewRow> rows_;
    std::vector<std::int32_t> occRuns_; // the shape the rows were read for
    std::vector<int> pageOfRun_;
};

/// The answer a repeated name offers at occurrence `k`: when k takes a typed answer and is
/// blank, the nearest earlier occurrence of the same variable that holds a real answer.
std::optional<std::string> EarlierAnswer(const CTextDoc& doc, int k);

} // namespace qv
