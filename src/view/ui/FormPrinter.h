#pragma once

#include "view/CPageMargins.h"

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

    /// Lays the form out for the device and prints every page; returns the page count.
    static int Print(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric);

    /// Prints to a PDF file on Letter paper in the form's orientation. False (with a
    /// message) when the file cannot be written; the file is replaced only when complete.
    static bool PrintToPdf(const std::string& path, CTextDoc& doc, NumericFields& numeric,
                           UserMessages& messages);
};

} // namespace qv
