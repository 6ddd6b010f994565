#pragma once

#include "formengine/ProgramState.h"

#include <array>
#include <functional>

namespace qv {

/// What the printer reports about its page, in hundredths of an inch.
struct PrinterGeometry {
    bool hasPrinter = true;
    std::array<int, 4> unprintable{0, 0, 0, 0}; // left, top, right, bottom
    int physicalWidth = 850;                    // Letter
    int physicalHeight = 1100;
    int printableWidth = 850;
    int printableHeight = 1100;
    int charWidth = 10;  // the form font at 10 characters per inch
    int lineHeight = 17; // printer line height of the form font

    /// Letter paper with no unprintable border: what a PDF printer reports.
    static PrinterGeometry letter() { return {}; }
};

/// A rectangle relative to the printer's printable area, y growing upwards.
struct TextArea {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return top - bottom; }
};

/// The page geometry of the form view: the margins of the loaded form (kept in the
/// program's page setup) and the printer's page. Measures again only after `Invalidate`.
class CPageMargins {
public:
    using Measure = std::function<PrinterGeometry()>;

    CPageMargins(PageSetup& page, Measure measure);

    void Invalidate() { valid_ = false; }
    /// Where the printer's numbers come from (the program's printer).
    void setMeasure(Measure measure) {
        measure_ = std::move(measure);
        valid_ = false;
    }
    void Recompute();
    std::array<int, 4> GetMargins() const { return page_.margins; }
    void SetMargins(int left, int top, int right, int bottom);
    TextArea GetTextArea();
    std::array<int, 2> GetPhysicalPageSize();
    const PrinterGeometry& printer();

    /// Characters per line of the form: text-area width over the printer's character
    /// width; 65 when there is no printer (or the page leaves no room).
    int CharsPerLine();

private:
    PageSetup& page_;
    Measure measure_;
    PrinterGeometry printer_;
    bool valid_ = false;
};

} // namespace qv
