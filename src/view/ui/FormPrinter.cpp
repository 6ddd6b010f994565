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
#include <cmath>

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

int FormPrinter::Print(QPagedPaintDevice& device, CTextDoc& doc, NumericFields& numeric) {
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

    QPainter painter(&device);
    const int pages = breaker.GetPageCount();
    const int perPage = breaker.GetLinesPerPage();
    for (int p = 1; p <= pages; ++p) {
        if (p > 1)
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
        const int first = perPage * (p - 1);
        const int last = std::min(first + perPage - 1, static_cast<int>(doc.formLines.size()) - 1);
        FormPainter::DrawLines(painter, doc.formLines, 0, first, last, style);
        painter.restore();
    }
    return pages;
}

bool FormPrinter::PrintToPdf(const std::string& path, CTextDoc& doc, NumericFields& numeric,
                             UserMessages& messages) {
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
    const QByteArray& bytes = buffer.data();
    if (auto ec = platform::AtomicFile::write(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        messages.show("The PDF file " + path + " could not be written: " + ec.message() + ".",
                      MessageIcon::Stop);
        return false;
    }
    return true;
}

} // namespace qv
