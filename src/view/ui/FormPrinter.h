#pragma once

#include "view/CPageMargins.h"

#include <functional>
#include <string>

class QPagedPaintDevice;

namespace qv {

class CTextDoc;
class NumericFields;
class UserMessages;

/// Prints the form as the view lays it out: the same lines cut into pages inside the
/// margins, in the form font, with "- %d -" centred under the text area when there is
/// more than one page.
class FormPrinter {
public:
    /// The geometry of a device: page, printable area and the form font's line height.
    static PrinterGeometry Measure(QPagedPaintDevice& device);

    /// Which pages to print and how often: pages `from` to `to` (1-based, 0 for the first
    /// or the last page), `copies` times, whole runs when collated, else page by page.
    struct Pages {
        int from = 0;
        int to = 0;
        int copies = 1;
        bool collate = true;
        /// Told before each page is drawn (1-based, of all pages to draw); false stops.
        std::function<bool(int page, int pageCount)> progress;
    };

    /// Lays the form out for the device and prints the chosen pages; returns the page count
    /// of the whole form.
    static int Print(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric, const Pages& pages);
    /// Prints every page once.
    static int Print(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric);

    /// The number of pages the form takes on the device.
    static int PageCount(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric);

    /// The form printed as a PDF on Letter paper in the form's orientation. A thread other
    /// than the GUI thread may call it with a document of its own.
    static std::string PdfBytes(CTextDoc& doc, NumericFields& numeric);

    /// Prints to a PDF file on Letter paper in the form's orientation. False (with a
    /// message) when the file cannot be written; the file is replaced only when complete.
    static bool PrintToPdf(const std::string& path, CTextDoc& doc, NumericFields& numeric,
                           UserMessages& messages);
};

} // namespace qv
