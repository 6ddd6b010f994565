#include "view/ui/CTextView.h"

#include "formengine/CTextDoc.h"
#include "view/ui/FormPainter.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

namespace qv {
namespace {

constexpr int kSideGap = 50; // hundredths of an inch of grey beside the page
constexpr int kGutter = 15;  // hundredths of an inch of white paper left of and above the text

} // namespace

QFont CTextView::formFont() {
    return FormPainter::FormFont();
}

CTextView::CTextView(CTextDoc& doc, LocaleFormat locale, QWidget* parent)
    : QAbstractScrollArea(parent), doc_(doc), page_(doc.state().page, {}), pagination_(page_),
      numeric_(doc, std::move(locale)), font_(formFont()) {
    setObjectName(QStringLiteral("formView"));
    setAccessibleName(tr("Filled-in form"));
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::ClickFocus);
    // A change of screen resolution changes every measure of the page.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &CTextView::OnUpdate);
}

void CTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
    case QEvent::LocaleChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
        // Settings changed: measure the page and the printer again.
        OnUpdate();
        break;
    default:
        break;
    }
}

int CTextView::lineHeight() const {
    return QFontMetrics(font_).lineSpacing();
}
int CTextView::charWidth() const {
    return QFontMetrics(font_).horizontalAdvance(QLatin1Char('M'));
}

int CTextView::gutterX() const {
    return kGutter * logicalDpiX() / 100;
}
int CTextView::gutterY() const {
    return kGutter * logicalDpiY() / 200;
}

int CTextView::textAreaPixels() const {
    return const_cast<CPageMargins&>(page_).GetTextArea().width() * logicalDpiX() / 100;
}

void CTextView::OnUpdate() {
    page_.Invalidate();
    pagination_.Invalidate();
    FormLayout::Result r = FormLayout::Layout(doc_, numeric_, page_.CharsPerLine());
    pagination_.Recompute(doc_.formLines.size());
    currentLine_ = r.currentLine;
    currentUnderlined_ = r.currentUnderlined;
    lineOfRun_ = std::move(r.lineOfRun);
    ++layoutPasses_;
    scrollToCurrent_ = currentLine_ >= 1;
    updateScrollBars();
    if (scrollToCurrent_) {
        // Two lines below the current variable's line at the bottom edge of the window.
        const int bottom = gutterY() + (currentLine_ + 3) * lineHeight();
        verticalScrollBar()->setValue(std::max(0, bottom - viewport()->height()));
        scrollToCurrent_ = false;
    } else if (currentLine_ == 0) {
        verticalScrollBar()->setValue(0);
    }
    viewport()->update();
}

void CTextView::updateScrollBars() {
    const int width = gutterX() + textAreaPixels() + kSideGap * logicalDpiX() / 100;
    const int height = gutterY() + static_cast<int>(doc_.formLines.size()) * lineHeight();
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
    FormPainter::Style style;
    style.font = font_;
    style.lineHeight = lineHeight();
    style.textAreaWidth = textAreaPixels();
    style.forPrinter = forPrinter;
    style.highlight = palette().highlight().color();
    style.highlightedText = palette().highlightedText().color();
    style.pageBreakAfter = [this](std::size_t i) { return pagination_.IsLastLineOfPage(i); };
    FormPainter::DrawLines(painter, doc_.formLines, y, first, last, style);
}

void CTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int lh = lineHeight();
    const int top = verticalScrollBar()->value() - gutterY();
    const int left = horizontalScrollBar()->value() - gutterX();
    const int area = textAreaPixels();
    painter.translate(-left, 0);
    const QRect clip = event->rect().translated(left, 0);
    if (clip.right() > area)
        painter.fillRect(QRect(area, clip.top(), clip.right() - area + 1, clip.height()), palette().window());
    const int first = std::max(0, (top + clip.top()) / lh);
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
