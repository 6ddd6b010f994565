#include "entry/ui/AnswerEditDelegate.h"

#include "entry/ui/AnswerReviewModel.h"
#include "entry/ui/NumberHintDisplay.h"
#include "platform/CodePage.h"

#include <QAbstractProxyModel>
#include <QLineEdit>

#include <memory>

namespace qv {

AnswerEditDelegate::AnswerEditDelegate(const AnswerReviewModel& model, const QAbstractProxyModel& filter,
                                       QObject* parent)
    : QStyledItemDelegate(parent), model_(model), filter_(filter) {}

QWidget* AnswerEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* field = qobject_cast<QLineEdit*>(editor);
    const int k = filter_.mapToSource(index).row();
    if (!field || !model_.review().row(k).inputCell)
        return editor;
    field->setObjectName(QStringLiteral("answerEditor"));
    // The display lives as long as the editor: the connection holds it.
    auto display = std::make_shared<NumberHintDisplay>(field, nullptr);
    const AnswerReviewModel* model = &model_;
    connect(field, &QLineEdit::textChanged, field, [display, model, k](const QString& text) {
        display->show(model->typedHint(k, CodePage::fromUtf8(text.toStdString())));
    });
    return editor;
}

} // namespace qv
