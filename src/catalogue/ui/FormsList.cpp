#include "catalogue/ui/FormsList.h"

#include "catalogue/ui/CataloguePictures.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTreeView>

namespace qv::catalogue {
namespace {

constexpr int kDataRole = Qt::UserRole + 1;

} // namespace

FormsList::FormsList(QWidget* parent) : QWidget(parent) {
    model_ = new QStandardItemModel(this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Form Name")});
    selection_ = new QItemSelectionModel(model_, this);
    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("formsListView"));
    details_ = new QTreeView(this);
    details_->setObjectName(QStringLiteral("formsDetailsView"));
    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(list_), static_cast<QAbstractItemView*>(details_)}) {
        v->setModel(model_);
        v->setSelectionModel(selection_);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setAccessibleName(tr("Forms"));
        v->installEventFilter(this);
        v->viewport()->installEventFilter(this);
    }
    details_->setRootIsDecorated(false);
    // The one column keeps its 200 pixels; it does not stretch to the view's width.
    details_->header()->setStretchLastSection(false);
    details_->setColumnWidth(0, 200);
    details_->setIconSize(QSize(16, 16));
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(list_);
    stack_->addWidget(details_);
    setView(View::SmallIcons);
}

void FormsList::clear() {
    model_->removeRows(0, model_->rowCount());
}

void FormsList::addEntry(const QString& text, int image, int data) {
    auto* item = new QStandardItem(CataloguePictures::CategoryIconSet(image), text);
    item->setData(data, kDataRole);
    item->setData(image, kDataRole + 1);
    model_->appendRow(item);
}

int FormsList::count() const {
    return model_->rowCount();
}

int FormsList::selectedRow() const {
    const auto rows = selection_->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int FormsList::dataOf(int row) const {
    return model_->item(row)->data(kDataRole).toInt();
}

QString FormsList::textOf(int row) const {
    return model_->item(row)->text();
}

void FormsList::selectRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    selection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void FormsList::setView(View view) {
    view_ = view;
    if (view == View::Details) {
        stack_->setCurrentWidget(details_);
        return;
    }
    stack_->setCurrentWidget(list_);
    if (view == View::LargeIcons) {
        list_->setViewMode(QListView::IconMode);
        list_->setIconSize(QSize(32, 32));
        list_->setWordWrap(true);
        list_->setGridSize(QSize(110, 64));
    } else {
        list_->setViewMode(QListView::ListMode);
        list_->setFlow(QListView::TopToBottom);
        list_->setWrapping(true);
        list_->setIconSize(QSize(16, 16));
        list_->setGridSize(QSize());
    }
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
}

QWidget* FormsList::shownView() const {
    return stack_->currentWidget();
}

bool FormsList::eventFilter(QObject* watched, QEvent* event) {
    const bool onViewport = watched == list_->viewport() || watched == details_->viewport();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (!onViewport)
            break;
        auto* me = static_cast<QMouseEvent*>(event);
        auto* view = watched == list_->viewport() ? static_cast<QAbstractItemView*>(list_)
                                                  : static_cast<QAbstractItemView*>(details_);
        const QModelIndex at = view->indexAt(me->position().toPoint());
        // A click on blank space leaves nothing selected (the item views would keep the entry).
        if (!at.isValid() && (me->button() == Qt::LeftButton || me->button() == Qt::RightButton))
            selection_->clear();
        if (me->button() == Qt::RightButton) {
            // First as a click, then the menu.
            if (at.isValid())
                selection_->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
            emit clicked();
            emit rightClicked(me->globalPosition().toPoint());
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (onViewport && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit clicked();
        break;
    case QEvent::MouseButtonDblClick:
        if (onViewport) {
            emit activated();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        if (onViewport)
            break;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space) {
            emit clicked();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit activated();
            return true;
        }
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End ||
            key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
            // The view moves first; the panel then shows the tip.
            QMetaObject::invokeMethod(this, &FormsList::navigated, Qt::QueuedConnection);
            break;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qv::catalogue
