#include "view/CPageBreaker.h"

#include "view/CPageMargins.h"

#include <cstdlib>

namespace qv {

void CPageBreaker::Recompute(std::size_t lineCount) {
    const PrinterGeometry& p = page_.printer();
    const auto margins = page_.GetMargins();
    const int usable = p.physicalHeight - margins[1] - margins[3];
    // A page with no room for a line (margins larger than the paper) still holds one, so
    // that counting pages never divides by zero.
    const int perPage = p.lineHeight > 0 ? std::abs(usable / p.lineHeight) : 0;
    linesPerPage_ = perPage > 0 ? perPage : 1;
    const std::size_t lpp = static_cast<std::size_t>(linesPerPage_);
    pageCount_ = static_cast<int>(lineCount / lpp + (lineCount % lpp ? 1 : 0));
    valid_ = true;
}

bool CPageBreaker::IsLastLineOfPage(std::size_t lineIndex) const {
    return valid_ && (lineIndex + 1) % static_cast<std::size_t>(linesPerPage_) == 0;
}

} // namespace qv
