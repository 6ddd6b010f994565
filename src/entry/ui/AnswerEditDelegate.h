#pragma once

#include <QStyledItemDelegate>

class QAbstractProxyModel;

namespace qv {

class AnswerReviewModel;

/// Edits an answer in the review list with a plain line field that, for an amount the
/// form calculates with, shows the number hint while the user types, as the interview
/// bar's value field does.
class AnswerEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    AnswerEditDelegate(const AnswerReviewModel& model, const QAbstractProxyModel& filter, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    const AnswerReviewModel& model_;
    const QAbstractProxyModel& filter_;
};

} // namespace qv
