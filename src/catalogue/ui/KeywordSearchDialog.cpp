#include "catalogue/ui/KeywordSearchDialog.h"

#include "catalogue/CategoryNames.h"
#include "catalogue/KeywordSuggestions.h"
#include "catalogue/ui/CatalogueWindow.h"
#include "catalogue/ui/FormsList.h"
#include "formengine/UserMessages.h"
#include "platform/CodePage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv::catalogue {
namespace {

QString fromCp1252(const std::string& s) {
    return QString::fromStdString(CodePage::toUtf8(s));
}

} // namespace

KeywordSearchDialog::KeywordSearchDialog(const CatalogueData& data, const FormLauncher& launcher,
                                         UserMessages& messages, WindowHooks& hooks, QWidget* parent)
    : QDialog(parent), data_(data), launcher_(launcher), messages_(messages), hooks_(hooks) {
    setObjectName(QStringLiteral("keywordSearch149"));
    setWindowTitle(QStringLiteral("Keyword Search"));
    auto* layout = new QVBoxLayout(this);
    menu_ = new QMenuBar(this);
    layout->setMenuBar(menu_);

    search_ = new QComboBox(this);
    search_->setObjectName(QStringLiteral("searchFor1012"));
    search_->setEditable(true);
    search_->setInsertPolicy(QComboBox::NoInsert);
    // The text searched for is the text typed: the suggestions stay in the drop-down list and
    // are never completed into the edit field ("ca" must not become "call").
    search_->setCompleter(nullptr);
    search_->setMaxVisibleItems(15);
    QStringList suggestions;
    for (const auto& w : KeywordSuggestions::All())
        suggestions << QString::fromStdString(w);
    suggestions.sort(Qt::CaseInsensitive);
    search_->addItems(suggestions);
    search_->setCurrentIndex(-1);
    search_->setEditText(QString());
    search_->setAccessibleName(tr("Search for"));
    lookIn_ = new QComboBox(this);
    lookIn_->setObjectName(QStringLiteral("lookIn1011"));
    lookIn_->addItem(QStringLiteral("All Categories"));
    for (const char* text : kCategoryNames)
        lookIn_->addItem(QString::fromLatin1(text));
    lookIn_->setAccessibleName(tr("Look in"));

    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget(tabs);
    auto* form = new QFormLayout(page);
    auto* searchLabel = new QLabel(QStringLiteral("&Search for:"), page);
    searchLabel->setBuddy(search_);
    auto* lookInLabel = new QLabel(QStringLiteral("&Look in:"), page);
    lookInLabel->setBuddy(lookIn_);
    form->addRow(searchLabel, search_);
    form->addRow(lookInLabel, lookIn_);
    tabs->addTab(page, QStringLiteral("Keyword && Location"));

    findNow_ = new QPushButton(QStringLiteral("&Find Now"), this);
    findNow_->setObjectName(QStringLiteral("findNow1015"));
    findNow_->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("close2"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNow_);
    buttons->addWidget(close);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(tabs, 1);
    top->addLayout(buttons);
    layout->addLayout(top);

    results_ = new FormsList(this);
    results_->setObjectName(QStringLiteral("results1013"));
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("description1014"));
    description_->setReadOnly(true);
    description_->setMaximumHeight(70);
    description_->setAccessibleName(tr("Description"));
    layout->addWidget(results_, 1);
    layout->addWidget(description_);
    // Collapsed: the search fields and buttons only, until the first search.
    results_->hide();
    description_->hide();

    QMenu* file = menu_->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open"), this, [this] { OpenResult(true); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Close"), this, &QDialog::reject);
    QMenu* view = menu_->addMenu(QStringLiteral("&View"));
    view->addAction(QStringLiteral("&Large Icons"), this,
                    [this] { results_->setView(FormsList::View::LargeIcons); });
    view->addAction(QStringLiteral("&Small Icons"), this,
                    [this] { results_->setView(FormsList::View::SmallIcons); });
    view->addAction(QStringLiteral("&Details"), this,
                    [this] { results_->setView(FormsList::View::Details); });

    connect(findNow_, &QPushButton::clicked, this, &KeywordSearchDialog::FindNow);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(search_, &QComboBox::editTextChanged, this, &KeywordSearchDialog::updateFindNow);
    connect(search_, &QComboBox::currentIndexChanged, this, &KeywordSearchDialog::updateFindNow);
    connect(results_, &FormsList::clicked, this, &KeywordSearchDialog::showDescription);
    connect(results_, &FormsList::navigated, this,
            [this] { description_->setPlainText(QString::fromLatin1(CatalogueWindow::kTip)); });
    connect(results_, &FormsList::activated, this, [this] {
        if (results_->selectedRow() >= 0)
            OpenResult(false);
    });
    connect(results_, &FormsList::rightClicked, this, [this, view](const QPoint& at) {
        QMenu menu(this);
        if (results_->selectedRow() < 0)
            menu.addActions(view->actions());
        else
            menu.addAction(QStringLiteral("Open"), this, [this] { OpenResult(true); });
        if (hooks_.contextMenu)
            hooks_.contextMenu(menu);
        else
            menu.exec(at);
    });
    updateFindNow();
    resize(520, sizeHint().height());
}

void KeywordSearchDialog::updateFindNow() {
    findNow_->setEnabled(!search_->currentText().isEmpty() || search_->currentIndex() >= 0);
}

void KeywordSearchDialog::FindNow() {
    if (results_->isAncestorOf(focusWidget())) {
        if (results_->selectedRow() >= 0)
            OpenResult(false);
        return;
    }
    if (!grown_) {
        grown_ = true;
        results_->show();
        description_->show();
        resize(width(), qMax(height() + 240, sizeHint().height()));
    }
    found_.clear();
    results_->clear();
    description_->setPlainText(QString::fromLatin1(CatalogueWindow::kTip));
    found_ = KeywordSearch::Find(data_, CodePage::fromUtf8(search_->currentText().toStdString()),
                                 lookIn_->currentIndex());
    for (std::size_t r = 0; r < found_.size(); ++r)
        results_->addEntry(fromCp1252(CatalogueData::TitleOf(found_[r].item)), found_[r].category,
                           static_cast<int>(r));
}

void KeywordSearchDialog::showDescription() {
    const int row = results_->selectedRow();
    if (row >= 0 && static_cast<std::size_t>(row) < found_.size())
        description_->setPlainText(fromCp1252(found_[row].description));
    else
        description_->setPlainText(QString::fromLatin1(CatalogueWindow::kTip));
}

void KeywordSearchDialog::OpenResult(bool fromMenu) {
    const int row = results_->selectedRow();
    if (row < 0 || static_cast<std::size_t>(row) >= found_.size()) {
        if (fromMenu)
            messages_.show("You must have a form selected to open it.", MessageIcon::None, MessageButtons::Ok,
                           "Banrow");
        return;
    }
    launcher_.OpenForm(found_[row].item);
    done(kOpened);
}

} // namespace qv::catalogue
