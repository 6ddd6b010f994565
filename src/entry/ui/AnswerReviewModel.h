#pragma once

#include "entry/AnswerReview.h"
#include "platform/LocaleFormat.h"

#include <QAbstractTableModel>
#include <functional>

namespace qv {

/// The answer review as a table: number, question, answer, calculated, page. It reads the
/// document through `AnswerReview` and updates only the rows that changed; an edited
/// answer goes to the store function, the same path as the value field.
class AnswerReviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Question, Answer, Calculated, Page, ColumnCount };
    /// Stores a typed answer (Windows-1252) for an occurrence.
    using Store = std::function<void(int occurrence, const std::string& text)>;

    AnswerReviewModel(const CTextDoc& doc, Store store, QObject* parent = nullptr);

    /// A form or worksheet was loaded: every row anew.
    void reset();
    /// One occurrence's answer may have changed.
    void refreshRow(int k);
    /// Any answer may have changed (a layout pass, a variable set).
    void refreshAll();
    /// The pages of the last layout pass.
    void setPages(const std::vector<int>& lineOfRun, int linesPerPage);

    const AnswerReview& review() const { return review_; }
    /// The locale whose separators the number hints of input cells expect.
    void setNumberLocale(LocaleFormat locale) { locale_ = std::move(locale); }
    /// The number hint of a row: what its input cell's text will be read as, when that
    /// is not what the text says.
    std::optional<std::string> hintOf(int k) const;
    /// The hint for `typed` (Windows-1252) as an answer of row k, while it is edited.
    std::optional<std::string> typedHint(int k, const std::string& typed) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    /// The text the Answer column shows for a row.
    static QString answerText(const ReviewRow& row);

private:
    void emitRows(const std::vector<int>& rows);

    const CTextDoc& doc_;
    AnswerReview review_;
    Store store_;
    LocaleFormat locale_;
};

} // namespace qv
