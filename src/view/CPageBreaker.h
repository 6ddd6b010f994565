#pragma once

#include <cstddef>

namespace qv {

class CPageMargins;

/// Cuts the laid-out lines into pages: as many lines as fit between the top and bottom
/// margins of the physical page.
class CPageBreaker {
public:
    explicit CPageBreaker(CPageMargins& page) : page_(page) {}

    void Invalidate() { valid_ = false; }
    /// Measures for a form of `lineCount` lines.
    void Recompute(std::size_t lineCount);
    int GetLinesPerPage() const { return linesPerPage_; }
    int GetPageCount() const { return pageCount_; }
    bool IsLastLineOfPage(std::size_t lineIndex) const;

private:
    CPageMargins& page_;
    bool valid_ = false;
    int linesPerPage_ = 1;
    int pageCount_ = 0;
};

} // namespace qv
