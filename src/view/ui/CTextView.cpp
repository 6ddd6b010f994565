#include "view/ui/CTextView.h"

#include "formengine/CTextDoc.h"
#include "platform/CodePage.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace qv {
namespace {

const QColor kDarkGreen(0, 127, 0);
constexpr int kSideGap = 50; // hundredths of an inch of grey beside the page

QString cp1252(std::string_view bytes) {
    return QString::fromStdString(CodePage::toUtf8(bytes));
}

} // namespace

QFont CTextView::formFont() {
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::Monospace, QFont::PreferMatch);
    f.setFixedPitch(true);
    f.setPointSize(12);
    return f;
}

CTextView::CTextView(CTextDoc& doc, LocaleFormat locale, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), page_(doc.state().page, {}), pagination_(page_),
      numeric_(doc, std::move(locale)), font_(formFont()) {
    setObjectName(QStringLiteral("formView"));
    setAccessibleName(tr("Filled-in form"));
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::ClickFocus);
}

int CTextView::lineHeight() const {
    return QFontMetrics(font_).lineSpacing();
}
int CTextView::charWidth() const {
    return QFontMetrics(font_).horizontalAdvance(QLatin1Char('M'));
}

int CTextView::textAreaPixels() const {
    return const_cast<CPageMargins&>(page_).GetTextArea().width() * logicalDpiX() / 100;
}

void CTextView::OnUpdate() {
    page_.Invalidate();
    pagination_.Invalidate();
    const FormLayout::Result r = FormLayout::Layout(doc_, numeric_, page_.CharsPerLine());
    pagination_.Recompute(doc_.formLines.size());
    currentLine_ = r.currentLine;
    currentUnderlined_ = r.currentUnderlined;
    ++layoutPasses_;
    scrollToCurrent_ = currentLine_ >= 1;
    updateScrollBars();
    if (scrollToCurrent_) {
        // Two lines below the current variable's line at the bottom edge of the window.
        const int bottom = (currentLine_ + 3) * lineHeight();
        verticalScrollBar()->setValue(std::max(0, bottom - viewport()->height()));
        scrollToCurrent_ = false;
    } else if (currentLine_ == 0) {
        verticalScrollBar()->setValue(0);
    }
    viewport()->update();
}

void CTextView::updateScrollBars() {
    const int width = textAreaPixels() + kSideGap * logicalDpiX() / 100;
    const int height = static_cast<int>(doc_.formLines.size()) * lineHeight();
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(charWidth());
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(lineHeight());
}

void CTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CTextView::DrawLines(QPainter& painter, int y, int first, int last, bool forPrinter) const {
    const QFontMetrics fm(font_);
    const int lh = fm.lineSpacing();
    const int cw = fm.horizontalAdvance(QLatin1Char('M'));
    const int area = textAreaPixels();
    for (int i = first; i <= last && i < static_cast<int>(doc_.formLines.size()); ++i) {
        const std::string& line = doc_.formLines[static_cast<std::size_t>(i)];
        QFont font = font_;
        QColor text = Qt::black;
        bool highlight = false;
        int x = 0;
        painter.setFont(font);
        auto drawText = [&](const QString& s) {
            const int w = fm.horizontalAdvance(s);
            if (highlight && !forPrinter)
                painter.fillRect(QRect(x, y, w, lh), palette().highlight());
            painter.setPen(highlight && !forPrinter ? palette().highlightedText().color()
                                                    : (forPrinter ? Qt::black : text));
            painter.drawText(QPoint(x, y + fm.ascent()), s);
            x += w;
        };
        for (std::size_t p = 0; p < line.size();) {
            const auto c = static_cast<unsigned char>(line[p]);
            if (c == FormLayout::kCentre || c == 0xE4) {
                x = area / 2 - static_cast<int>(FormLayout::PrintableLength(line)) * cw / 2;
                ++p;
            } else if (c == FormLayout::kUnderline) {
                font.setUnderline(!font.underline());
                painter.setFont(font);
                ++p;
            } else if (c == FormLayout::kBold) {
                font.setBold(!font.bold());
                painter.setFont(font);
                ++p;
            } else if (c == FormLayout::kVariable) {
                text = text == Qt::black ? kDarkGreen : QColor(Qt::black);
                ++p;
            } else if (c == FormLayout::kCurrent) {
                highlight = !highlight;
                ++p;
            } else if (c == ' ' || c == FormLayout::kNbsp) {
                drawText(QString(QChar(0xA0))); // underlines run through blanks
                ++p;
            } else {
                std::size_t end = p;
                while (end < line.size()) {
                    const auto e = static_cast<unsigned char>(line[end]);
                    if (e == ' ' || e == FormLayout::kNbsp || e == FormLayout::kCentre || e == 0xE4 ||
                        e == FormLayout::kUnderline || e == FormLayout::kBold || e == FormLayout::kVariable ||
                        e == FormLayout::kCurrent)
                        break;
                    ++end;
                }
                drawText(cp1252(std::string_view(line).substr(p, end - p)));
                p = end;
            }
        }
        y += lh;
        if (!forPrinter && pagination_.IsLastLineOfPage(static_cast<std::size_t>(i))) {
            QPen pen(QColor(128, 128, 128), 1, Qt::DotLine);
            painter.setPen(pen);
            painter.drawLine(0, y, 32000, y);
        }
    }
}

void CTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int lh = lineHeight();
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    const int area = textAreaPixels();
    painter.translate(-left, 0);
    const QRect clip = event->rect().translated(left, 0);
    if (clip.right() > area)
        painter.fillRect(QRect(area, clip.top(), clip.right() - area + 1, clip.height()), palette().window());
    const int first = (top + clip.top()) / lh;
    const int last = (top + clip.bottom()) / lh + 1;
    DrawLines(painter, first * lh - top, first, last, false);
}

void CTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    dragging_ = true;
    dragFrom_ = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void CTextView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    const QPoint now = event->position().toPoint();
    const QPoint d = now - dragFrom_;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - d.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - d.y());
    dragFrom_ = now;
}

void CTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
        viewport()->setCursor(Qt::OpenHandCursor);
    }
}

void CTextView::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuRequested(event->globalPos());
}

} // namespace qv
