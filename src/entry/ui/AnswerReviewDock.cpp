#include "entry/ui/AnswerReviewDock.h"

#include "entry/ui/AnswerEditDelegate.h"
#include "entry/ui/AnswerReviewModel.h"
#include "platform/CodePage.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace qv {
namespace {

/// Lets through every row, or only the unanswered ones.
class UnansweredFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setOn(bool on) {
        if (on == on_)
            return;
        on_ = on;
        invalidateRowsFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        if (!on_)
            return true;
        const auto& review = static_cast<AnswerReviewModel*>(sourceModel())->review();
        return row < review.rowCount() && review.row(row).unanswered();
    }

private:
    bool on_ = false;
};

} // namespace

AnswerReviewDock::AnswerReviewDock(AnswerReviewModel& model, QWidget* parent)
    : QDockWidget(tr("Review Answers"), parent), model_(model) {
    setObjectName(QStringLiteral("answerReviewDock"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* body = new QWidget(this);

    unansweredOnly_ = new QCheckBox(tr("Unanswered &only"), body);
    unansweredOnly_->setObjectName(QStringLiteral("unansweredOnly"));
    unansweredOnly_->setAccessibleName(tr("Unanswered only"));

    filter_ = new UnansweredFilter(this);
    filter_->setSourceModel(&model_);
    table_ = new QTableView(body);
    table_->setObjectName(QStringLiteral("answerReviewTable"));
    table_->setAccessibleName(tr("Answers"));
    table_->setAccessibleDescription(tr("Every question of the form in order; Enter goes to the question, "
                                        "F2 changes the answer"));
    table_->horizontalHeader()->setAccessibleName(tr("Answer columns"));
    table_->verticalHeader()->hide();
    table_->setModel(filter_);
    table_->setItemDelegateForColumn(AnswerReviewModel::Answer,
                                     new AnswerEditDelegate(model_, *filter_, table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->horizontalHeader()->setSectionResizeMode(AnswerReviewModel::Question, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(AnswerReviewModel::Answer, QHeaderView::Stretch);
    // Fixed widths for the short columns: sizing them to their contents would measure
    // every row at each change.
    const QFontMetrics metrics(table_->font());
    for (auto [c, sample] : {std::pair{AnswerReviewModel::Number, "0000"},
                             std::pair{AnswerReviewModel::Calculated, "Calculated"},
                             std::pair{AnswerReviewModel::Page, "Page"}}) {
        table_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Fixed);
        table_->setColumnWidth(c, metrics.horizontalAdvance(QString::fromLatin1(sample)) +
                                      16); // and the margins
    }
    table_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("No. 000 Calculated Page 0")) +
                            2 * metrics.horizontalAdvance(QStringLiteral("Who is buying?")));
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(metrics.lineSpacing() + 6);

    useEverywhere_ = new QPushButton(tr("&Use for Every Blank"), body);
    useEverywhere_->setObjectName(QStringLiteral("useEverywhere"));
    useEverywhere_->setAccessibleName(tr("Use this answer for every blank occurrence"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(unansweredOnly_);
    buttons->addStretch();
    buttons->addWidget(useEverywhere_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(table_);
    setWidget(body);
    setFocusProxy(table_);
    table_->installEventFilter(this);

    connect(unansweredOnly_, &QCheckBox::toggled, this,
            [this](bool on) { static_cast<UnansweredFilter*>(filter_)->setOn(on); });
    // Enter, or a double-click outside the answer cell (which edits it), jumps.
    connect(table_, &QAbstractItemView::activated, this, [this](const QModelIndex& at) {
        const QModelIndex source = filter_->mapToSource(at);
        if (source.isValid())
            emit jumpRequested(source.row());
    });
    connect(useEverywhere_, &QPushButton::clicked, this, [this] {
        if (currentOccurrence() >= 0)
            emit useEverywhereRequested(currentOccurrence());
    });
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int k = currentOccurrence();
        if (k < 0)
            return;
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("answerReviewMenu"));
        QAction* go = menu.addAction(tr("&Go to This Question"));
        connect(go, &QAction::triggered, this, [this, k] { emit jumpRequested(k); });
        QAction* use = menu.addAction(useEverywhereText(k));
        use->setObjectName(QStringLiteral("useEverywhereAction"));
        use->setEnabled(useEverywhere_->isEnabled());
        connect(use, &QAction::triggered, this, [this, k] { emit useEverywhereRequested(k); });
        if (contextMenuHook_)
            contextMenuHook_(menu);
        else
            menu.exec(table_->viewport()->mapToGlobal(at));
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &AnswerReviewDock::updateUseEverywhere);
    connect(&model_, &QAbstractItemModel::dataChanged, this, &AnswerReviewDock::updateUseEverywhere);
    connect(&model_, &QAbstractItemModel::modelReset, this, &AnswerReviewDock::updateUseEverywhere);
    updateUseEverywhere();
}

bool AnswerReviewDock::eventFilter(QObject* watched, QEvent* event) {
    // An open editor takes Escape itself; the list passes it on as "back to the bar".
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit leaveRequested();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

int AnswerReviewDock::currentOccurrence() const {
    const QModelIndex source = filter_->mapToSource(table_->currentIndex());
    return source.isValid() ? source.row() : -1;
}

void AnswerReviewDock::selectOccurrence(int k) {
    const QModelIndex at = filter_->mapFromSource(model_.index(k, AnswerReviewModel::Answer));
    if (at.isValid())
        table_->setCurrentIndex(at);
}

QString AnswerReviewDock::useEverywhereText(int k) const {
    return tr("Use this answer for every blank occurrence of %1")
        .arg(QString::fromStdString(CodePage::toUtf8(model_.review().nameOf(k))));
}

void AnswerReviewDock::updateUseEverywhere() {
    // Only a real answer with blank occurrences of the same name left to fill has
    // anything to give.
    const int k = currentOccurrence();
    const AnswerReview& review = model_.review();
    const bool can = k >= 0 && k < review.rowCount() && review.row(k).state == AnswerState::Answered &&
                     !review.row(k).inputCell && !review.BlankOccurrencesOfSameName(k).empty();
    useEverywhere_->setEnabled(can);
    useEverywhere_->setToolTip(k >= 0 ? useEverywhereText(k) : QString());
}

} // namespace qv
