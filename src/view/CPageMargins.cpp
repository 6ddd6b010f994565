#include "view/CPageMargins.h"

namespace qv {

CPageMargins::CPageMargins(PageSetup& page, Measure measure) : page_(page), measure_(std::move(measure)) {}

void CPageMargins::Recompute() {
    if (valid_)
        return;
    printer_ = measure_ ? measure_() : PrinterGeometry::letter();
    valid_ = true;
}

const PrinterGeometry& CPageMargins::printer() {
    Recompute();
    return printer_;
}

void CPageMargins::SetMargins(int left, int top, int right, int bottom) {
    page_.margins = {left, top, right, bottom};
    Invalidate();
    Recompute();
}

TextArea CPageMargins::GetTextArea() {
    const PrinterGeometry& p = printer();
    const auto& m = page_.margins;
    TextArea a;
    a.left = m[0] - p.unprintable[0];
    a.top = -(m[1] - p.unprintable[1]);
    a.right = p.printableWidth - (m[2] - p.unprintable[2]);
    a.bottom = -p.printableHeight + (m[3] - p.unprintable[3]);
    return a;
}

std::array<int, 2> CPageMargins::GetPhysicalPageSize() {
    const PrinterGeometry& p = printer();
    return {p.physicalWidth, p.physicalHeight};
}

int CPageMargins::CharsPerLine() {
    const PrinterGeometry& p = printer();
    if (!p.hasPrinter || p.charWidth <= 0)
        return 65;
    const int cpl = GetTextArea().width() / p.charWidth;
    return cpl > 0 ? cpl : 65;
}

} // namespace qv
