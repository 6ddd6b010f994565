#pragma once

#include "view/CPageBreaker.h"
#include "view/CPageMargins.h"
#include "view/FormLayout.h"
#include "view/NumericFields.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <memory>

namespace qv {

class CTextDoc;

/// The form view: the laid-out form as it will print, a monospaced page of fixed-width
/// lines with the current variable highlighted and other variables in dark green.
/// The page can be dragged with the left mouse button.
class CTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CTextView(CTextDoc& doc, LocaleFormat locale, QWidget* parent = nullptr);

    /// The layout pass: lays the runs out again and repaints; scrolls so that the
    /// current variable is in sight.
    void OnUpdate();

    /// The form font: 12 points, 10 characters per inch.
    static QFont formFont();

    CPageMargins& page() { return page_; }
    CPageBreaker& pagination() { return pagination_; }
    int currentLine() const { return currentLine_; }
    bool currentUnderlined() const { return currentUnderlined_; }
    int layoutPasses() const { return layoutPasses_; }
    /// Per run, the line of the last pass where a variable's answer ends (-1 elsewhere).
    const std::vector<int>& lineOfRun() const { return lineOfRun_; }

    /// Draws lines [first, last] with their top at y (device pixels), as on paper when
    /// `forPrinter` (no colours, no page breaks).
    void DrawLines(QPainter& painter, int y, int first, int last, bool forPrinter) const;

signals:
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateScrollBars();
    int lineHeight() const;
    int charWidth() const;
    int textAreaPixels() const;
    int gutterX() const;
    int gutterY() const;

    CTextDoc& doc_;
    CPageMargins page_;
    CPageBreaker pagination_;
    NumericFields numeric_;
    QFont font_;
    int currentLine_ = 0;
    bool currentUnderlined_ = false;
    bool scrollToCurrent_ = false;
    int layoutPasses_ = 0;
    std::vector<int> lineOfRun_;
    QPoint dragFrom_;
    bool dragging_ = false;
};

} // namespace qv
