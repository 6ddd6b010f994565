#pragma once

#include <QColor>
#include <QFont>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace qv {

/// Draws laid-out form lines with their markers: underline and bold toggles, centred
/// lines, the current variable highlighted and other variables in dark green (screen
/// only), blanks drawn so that underlines run through them.
class FormPainter {
public:
    struct Style {
        QFont font;
        double lineHeight = 0;    // device units
        double textAreaWidth = 0; // device units, for centring
        bool forPrinter = false;  // no colours, no page breaks
        QColor highlight = QColor(0, 120, 215);
        QColor highlightedText = Qt::white;
        std::function<bool(std::size_t)> pageBreakAfter; // screen only
    };

    /// Draws lines first..last with the top of the first at `y`.
    static void DrawLines(QPainter& painter, const std::vector<std::string>& lines, double y, int first,
                          int last, const Style& style);

    /// The form font: 12 points of a Courier-metric face, 10 characters per inch.
    static QFont FormFont();

    /// Bytes that count on a line (text and no-break spaces).
    static int PrintableLength(const std::string& line);
};

} // namespace qv
