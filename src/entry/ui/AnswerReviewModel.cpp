#include "entry/ui/AnswerReviewModel.h"

#include "platform/CodePage.h"
#include "view/NumberHint.h"

#include <QColor>

namespace qv {
namespace {

QString fromCp1252(const std::string& s) {
    return QString::fromStdString(CodePage::toUtf8(s));
}

} // namespace

AnswerReviewModel::AnswerReviewModel(const CTextDoc& doc, Store store, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc), review_(doc), store_(std::move(store)) {
    review_.Rebuild();
}

void AnswerReviewModel::reset() {
    beginResetModel();
    review_.Rebuild();
    endResetModel();
}

void AnswerReviewModel::emitRows(const std::vector<int>& rows) {
    // Neighbouring rows go out as one range: a layout pass that changes many computed
    // values costs a few signals, not one per row.
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        emit dataChanged(index(rows[i], 0), index(rows[j], ColumnCount - 1));
        i = j + 1;
    }
}

void AnswerReviewModel::refreshRow(int k) {
    if (review_.rowCount() != doc_.state().occCount) {
        reset();
        return;
    }
    if (review_.RefreshRow(k))
        emitRows({k});
}

void AnswerReviewModel::refreshAll() {
    if (review_.rowCount() != doc_.state().occCount) {
        reset();
        return;
    }
    emitRows(review_.Refresh());
}

void AnswerReviewModel::setPages(const std::vector<int>& lineOfRun, int linesPerPage) {
    review_.SetPages(lineOfRun, linesPerPage);
    refreshAll();
}

int AnswerReviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : review_.rowCount();
}

int AnswerReviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString AnswerReviewModel::answerText(const ReviewRow& row) {
    switch (row.state) {
    case AnswerState::FillInLater:
        return tr("(Fill In Later)");
    case AnswerState::Blank:
        return tr("(blank)");
    default:
        return fromCp1252(row.answer);
    }
}

QVariant AnswerReviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= review_.rowCount())
        return {};
    const ReviewRow& r = review_.row(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Number:
            return r.occurrence + 1;
        case Question:
            return fromCp1252(r.prompt);
        case Answer:
            return answerText(r);
        case Calculated:
            return r.state == AnswerState::Computed ? tr("Yes") : QString();
        case Page:
            return r.page > 0 ? QVariant(r.page) : QVariant();
        default:
            return {};
        }
    }
    if (role == Qt::EditRole && index.column() == Answer)
        return r.state == AnswerState::Answered ? fromCp1252(r.answer) : QString();
    if (role == Qt::ToolTipRole && index.column() == Question) {
        // The whole prompt; the rows may briefly outlive a form that was replaced.
        const auto& prompts = doc_.state().varPrompts;
        const auto& vars = doc_.state().occVars;
        const auto k = static_cast<std::size_t>(index.row());
        const auto v = k < vars.size() ? static_cast<std::size_t>(vars[k]) : prompts.size();
        return v < prompts.size() ? fromCp1252(prompts[v]).trimmed() : QString();
    }
    if (index.column() == Answer &&
        (role == Qt::ToolTipRole || role == Qt::BackgroundRole || role == Qt::AccessibleDescriptionRole)) {
        // The same hint as the value field's, with the same tint.
        const auto hint = hintOf(index.row());
        if (!hint)
            return {};
        if (role == Qt::BackgroundRole)
            return QColor(255, 236, 179);
        return fromCp1252(*hint);
    }
    if (role == Qt::TextAlignmentRole && (index.column() == Number || index.column() == Page))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && index.column() == Answer && r.unanswered())
        return QColor(Qt::gray);
    return {};
}

std::optional<std::string> AnswerReviewModel::hintOf(int k) const {
    if (k < 0 || k >= review_.rowCount())
        return std::nullopt;
    const ReviewRow& r = review_.row(k);
    if (!r.inputCell || r.state != AnswerState::Answered)
        return std::nullopt;
    return NumberHint(r.answer, locale_);
}

std::optional<std::string> AnswerReviewModel::typedHint(int k, const std::string& typed) const {
    if (k < 0 || k >= review_.rowCount() || !review_.row(k).inputCell)
        return std::nullopt;
    return NumberHint(typed, locale_);
}

QVariant AnswerReviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return tr("No.");
    case Question:
        return tr("Question");
    case Answer:
        return tr("Answer");
    case Calculated:
        return tr("Calculated");
    case Page:
        return tr("Page");
    default:
        return {};
    }
}

Qt::ItemFlags AnswerReviewModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Answer && index.row() < review_.rowCount() &&
        review_.row(index.row()).state != AnswerState::Computed)
        f |= Qt::ItemIsEditable;
    return f;
}

bool AnswerReviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    // An editor closed without a change stores nothing: a row left empty keeps its kind
    // of blank.
    const QString text = value.toString().left(1024);
    if (text == data(index, Qt::EditRole).toString())
        return false;
    store_(index.row(), CodePage::fromUtf8(text.toStdString()));
    refreshRow(index.row());
    return true;
}

} // namespace qv
