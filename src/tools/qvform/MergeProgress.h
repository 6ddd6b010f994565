#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

namespace qv::tools {

/// The progress line of a long merge: rows done of the total and the rate, redrawn in
/// place on a terminal a few times a second and ended with a line break. Off, it writes
/// nothing, so a merge whose standard error is a file or a pipe leaves no trace of it.
class MergeProgress {
public:
    /// Shown on `terminal` when `on`; `total` rows are expected.
    MergeProgress(std::ostream& terminal, bool on, std::size_t total);
    ~MergeProgress();

    /// Whether standard error is a terminal, where a progress line belongs.
    static bool StandardErrorIsTerminal();

    /// One more row is done (filled or skipped).
    void rowDone();
    /// Takes the line away so that a message can be written in its place; the next
    /// redraw brings it back.
    void clear();
    /// The last state, drawn once more, and the line break.
    void finish();

    /// The text of the line: "merge [#####     ] 1,200 of 5,000 rows, 2,400 rows a second".
    static std::string Line(std::size_t done, std::size_t total, double seconds);

private:
    void draw();

    std::ostream& terminal_;
    bool on_;
    bool shown_ = false;
    bool finished_ = false;
    std::size_t total_;
    std::size_t done_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

} // namespace qv::tools
