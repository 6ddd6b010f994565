#pragma once

#include <QDockWidget>
#include <functional>

class QCheckBox;
class QMenu;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace qv {

class AnswerReviewModel;

/// The Review Answers window: every occurrence in form order, with a filter for the
/// unanswered ones. Enter or a double-click jumps to an occurrence; the answer cell edits
/// in place. It only shows the model and reports what the user asked for.
class AnswerReviewDock : public QDockWidget {
    Q_OBJECT
public:
    AnswerReviewDock(AnswerReviewModel& model, QWidget* parent = nullptr);

    QTableView* table() const { return table_; }
    QCheckBox* unansweredOnly() const { return unansweredOnly_; }
    QPushButton* useEverywhereButton() const { return useEverywhere_; }
    /// The occurrence of the table's current row, or -1.
    int currentOccurrence() const;
    /// Makes occurrence k the table's current row when it is listed.
    void selectOccurrence(int k);
    /// Runs instead of showing the table's context menu (tests).
    void setContextMenuHook(std::function<void(QMenu&)> hook) { contextMenuHook_ = std::move(hook); }

signals:
    void jumpRequested(int occurrence);
    /// Escape in the list: back to the value field.
    void leaveRequested();
    void useEverywhereRequested(int occurrence);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateUseEverywhere();
    QString useEverywhereText(int k) const;

    AnswerReviewModel& model_;
    QSortFilterProxyModel* filter_;
    QTableView* table_;
    QCheckBox* unansweredOnly_;
    QPushButton* useEverywhere_;
    std::function<void(QMenu&)> contextMenuHook_;
};

} // namespace qv
