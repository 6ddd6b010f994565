#include "view/ui/FormPainter.h"

#include "platform/CodePage.h"
#include "view/FormLayout.h"

#include <QFontMetricsF>
#include <QPainter>

namespace qv {
namespace {

const QColor kDarkGreen(0, 127, 0);

bool isMarker(unsigned char c) {
    return c == ' ' || c == FormLayout::kNbsp || c == FormLayout::kCentre || c == 0xE4 ||
           c == FormLayout::kUnderline || c == FormLayout::kBold || c == FormLayout::kVariable ||
           c == FormLayout::kCurrent;
}

} // namespace

QFont FormPainter::FormFont() {
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::Monospace, QFont::PreferMatch);
    f.setFixedPitch(true);
    f.setPointSize(12);
    return f;
}

int FormPainter::PrintableLength(const std::string& line) {
    return static_cast<int>(FormLayout::PrintableLength(line));
}

void FormPainter::DrawLines(QPainter& painter, const std::vector<std::string>& lines, double y, int first,
                            int last, const Style& st) {
    for (int i = std::max(first, 0); i <= last && i < static_cast<int>(lines.size()); ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        QFont font = st.font;
        painter.setFont(font);
        QFontMetricsF fm(font, painter.device());
        QColor text = Qt::black;
        bool highlight = false;
        double x = 0;
        auto draw = [&](const QString& s) {
            const double w = fm.horizontalAdvance(s);
            const bool lit = highlight && !st.forPrinter;
            if (lit)
                painter.fillRect(QRectF(x, y, w, st.lineHeight), st.highlight);
            painter.setPen(lit ? st.highlightedText : (st.forPrinter ? QColor(Qt::black) : text));
            painter.drawText(QPointF(x, y + fm.ascent()), s);
            x += w;
        };
        for (std::size_t p = 0; p < line.size();) {
            const auto c = static_cast<unsigned char>(line[p]);
            if (c == FormLayout::kCentre || c == 0xE4) {
                x = st.textAreaWidth / 2 - PrintableLength(line) * fm.horizontalAdvance(QLatin1Char('M')) / 2;
            } else if (c == FormLayout::kUnderline || c == FormLayout::kBold) {
                if (c == FormLayout::kUnderline)
                    font.setUnderline(!font.underline());
                else
                    font.setBold(!font.bold());
                painter.setFont(font);
                fm = QFontMetricsF(font, painter.device());
            } else if (c == FormLayout::kVariable) {
                text = text == Qt::black ? kDarkGreen : QColor(Qt::black);
            } else if (c == FormLayout::kCurrent) {
                highlight = !highlight;
            } else if (c == ' ' || c == FormLayout::kNbsp) {
                draw(QString(QChar(0xA0)));
            } else {
                std::size_t end = p;
                while (end < line.size() && !isMarker(static_cast<unsigned char>(line[end])))
                    ++end;
                draw(QString::fromStdString(CodePage::toUtf8(std::string_view(line).substr(p, end - p))));
                p = end;
                continue;
            }
            ++p;
        }
        y += st.lineHeight;
        if (!st.forPrinter && st.pageBreakAfter && st.pageBreakAfter(static_cast<std::size_t>(i))) {
            painter.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
            painter.drawLine(QPointF(0, y), QPointF(32000, y));
        }
    }
}

} // namespace qv
