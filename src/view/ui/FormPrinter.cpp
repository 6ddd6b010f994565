#include "view/ui/FormPrinter.h"

#include "formengine/CTextDoc.h"
#include "formengine/UserMessages.h"
#include "platform/AtomicFile.h"
#include "view/CPageBreaker.h"
#include "view/FormLayout.h"
#include "view/NumericFields.h"
#include "view/ui/FormPainter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace qv {

PrinterGeometry FormPrinter::Measure(QPagedPaintDevice& device) {
    const QPageLayout layout = device.pageLayout();
    const QRectF full = layout.fullRectPoints();
    const QRectF paint = layout.paintRectPoints();
    auto h = [](double points) { return static_cast<int>(std::lround(points * 100.0 / 72.0)); };
    PrinterGeometry g;
    g.physicalWidth = h(full.width());
    g.physicalHeight = h(full.height());
    g.printableWidth = h(paint.width());
    g.printableHeight = h(paint.height());
    g.unprintable = {h(paint.left()), h(paint.top()), h(full.right() - paint.right()),
                     h(full.bottom() - paint.bottom())};
    const QFontMetricsF fm(FormPainter::FormFont(), &device);
    const double perHundredth = device.logicalDpiY() / 100.0;
    // Whole hundredths, rounded up, so that lines never overlap.
    g.lineHeight = static_cast<int>(std::ceil(fm.lineSpacing() / perHundredth));
    g.charWidth =
        static_cast<int>(std::lround(fm.horizontalAdvance(QLatin1Char('M')) * 100.0 / device.logicalDpiX()));
    return g;
}

int FormPrinter::PageCount(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric) {
    const PrinterGeometry g = Measure(device);
    CPageMargins page(doc.state().page, [g] { return g; });
    FormLayout::Layout(doc, numeric, page.CharsPerLine());
    CPageBreaker breaker(page);
    breaker.Recompute(doc.formLines.size());
    return breaker.GetPageCount();
}

int FormPrinter::Print(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric) {
    return Print(device, doc, numeric, Pages{});
}

int FormPrinter::Print(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric,
                       const Pages& chosen) {
    const PrinterGeometry g = Measure(device);
    CPageMargins page(doc.state().page, [g] { return g; });
    FormLayout::Layout(doc, numeric, page.CharsPerLine());
    CPageBreaker breaker(page);
    breaker.Recompute(doc.formLines.size());

    const double dx = device.logicalDpiX() / 100.0, dy = device.logicalDpiY() / 100.0;
    const TextArea area = page.GetTextArea();
    FormPainter::Style style;
    style.font = FormPainter::FormFont();
    style.lineHeight = g.lineHeight * dy;
    style.textAreaWidth = area.width() * dx;
    style.forPrinter = true;

    const int pages = breaker.GetPageCount();
    const int perPage = breaker.GetLinesPerPage();
    const int from = std::clamp(chosen.from > 0 ? chosen.from : 1, 1, std::max(pages, 1));
    const int to = std::clamp(chosen.to > 0 ? chosen.to : pages, from, std::max(pages, 1));
    const int copies = std::max(chosen.copies, 1);
    std::vector<int> order;
    for (int run = 0; run < (chosen.collate ? copies : 1); ++run)
        for (int p = from; p <= to; ++p)
            for (int c = 0; c < (chosen.collate ? 1 : copies); ++c)
                order.push_back(p);

    QPainter painter(&device);
    bool first = true;
    int drawn = 0;
    for (int p : order) {
        if (chosen.progress && !chosen.progress(++drawn, static_cast<int>(order.size())))
            break;
        if (!std::exchange(first, false))
            device.newPage();
        painter.save();
        // The device's origin is its printable area; the text area is relative to it.
        painter.translate(area.left * dx, -area.top * dy);
        if (pages > 1) {
            painter.setFont(style.font);
            painter.setPen(Qt::black);
            const QFontMetricsF fm(style.font, &device);
            const QString number = QStringLiteral("- %1 -").arg(p);
            const double y = area.height() * dy;
            painter.drawText(
                QPointF((style.textAreaWidth - fm.horizontalAdvance(number)) / 2, y + fm.ascent()), number);
        }
        painter.setClipRect(QRectF(0, 0, style.textAreaWidth, area.height() * dy));
        const int firstLine = perPage * (p - 1);
        const int last = std::min(firstLine + perPage - 1, static_cast<int>(doc.formLines.size()) - 1);
        FormPainter::DrawLines(painter, doc.formLines, 0, firstLine, last, style);
        painter.restore();
    }
    return pages;
}

std::string FormPrinter::PdfBytes(CTextDoc& doc, NumericFields& numeric) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        pdf.setCreator(QStringLiteral("Q-V Variable Entry"));
        const QPageLayout::Orientation orientation =
            doc.state().page.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), orientation, QMarginsF(0, 0, 0, 0)));
        Print(pdf, doc, numeric);
    }
    return std::string(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
}

bool FormPrinter::PrintToPdf(const std::string& path, CTextDoc& doc, NumericFields& numeric,
                             UserMessages& messages) {
    if (auto ec = platform::AtomicFile::write(path, PdfBytes(doc, numeric))) {
        messages.show("The PDF file " + path + " could not be written: " + ec.message() + ".",
                      MessageIcon::Stop);
        return false;
    }
    return true;
}

} // namespace qv
