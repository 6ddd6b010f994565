#include "platform/ui/HelpWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv::platform {
namespace {

constexpr int kPageRole = Qt::UserRole + 1;

const char* const kHowToUseHelp =
    "<h2>How to use help</h2>"
    "<p><b>Contents</b> lists the topics by subject. Click a topic to read it; click the arrow "
    "beside a book to see the topics in it.</p>"
    "<p><b>Index</b> lists the keywords. Type the first letters of a word in the box above the "
    "list: the list moves to the first keyword that begins with them. Press Enter or double-click "
    "a keyword to read its topic.</p>"
    "<p>Underlined words in a topic lead to other topics. Use Alt+Left to go back.</p>";

void addTopics(QTreeWidgetItem* parent, QTreeWidget* tree, const QList<HelpFile::Topic>& topics) {
    for (const auto& t : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, t.title);
        item->setData(0, kPageRole, t.page);
        addTopics(item, tree, t.children);
    }
}

} // namespace

HelpWindow::HelpWindow(std::unique_ptr<HelpFile> file, QWidget* owner)
    : QWidget(owner, Qt::Window), file_(std::move(file)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(file_->title().isEmpty() ? tr("Help") : file_->title());
    setAttribute(Qt::WA_DeleteOnClose, false);

    tabs_ = new QTabWidget(this);
    tree_ = new QTreeWidget(tabs_);
    tree_->setObjectName(QStringLiteral("helpContents"));
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName(tr("Contents"));
    addTopics(nullptr, tree_, file_->contents());
    tree_->expandToDepth(0);
    tabs_->addTab(tree_, tr("&Contents"));

    auto* indexPage = new QWidget(tabs_);
    keyword_ = new QLineEdit(indexPage);
    keyword_->setObjectName(QStringLiteral("helpKeyword"));
    keyword_->setAccessibleName(tr("Keyword"));
    auto* label = new QLabel(tr("&Type the first few letters of the word you're looking for:"), indexPage);
    label->setWordWrap(true);
    label->setBuddy(keyword_);
    list_ = new QListWidget(indexPage);
    list_->setObjectName(QStringLiteral("helpIndex"));
    list_->setAccessibleName(tr("Index"));
    for (const auto& k : file_->index()) {
        auto* item = new QListWidgetItem(k.keyword, list_);
        item->setData(kPageRole, k.page);
    }
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(label);
    indexLayout->addWidget(keyword_);
    indexLayout->addWidget(list_);
    tabs_->addTab(indexPage, tr("I&ndex"));

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpPage"));
    browser_->setAccessibleName(tr("Help topic"));
    browser_->setSearchPaths({QLatin1Char(':') + file_->root()});
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 520});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(800, 560);

    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && !item->data(0, kPageRole).toString().isEmpty())
            openPage(item->data(0, kPageRole).toString());
    });
    connect(keyword_, &QLineEdit::textEdited, this, [this](const QString& text) {
        // The list moves to the first keyword beginning with what was typed.
        for (int i = 0; i < list_->count(); ++i) {
            if (list_->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
                list_->setCurrentRow(i);
                list_->scrollToItem(list_->item(i), QAbstractItemView::PositionAtTop);
                return;
            }
        }
    });
    const auto openKeyword = [this] {
        if (QListWidgetItem* item = list_->currentItem())
            openPage(item->data(kPageRole).toString());
    };
    connect(keyword_, &QLineEdit::returnPressed, this, openKeyword);
    connect(list_, &QListWidget::itemActivated, this, openKeyword);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::openPage(const QString& page) {
    browser_->setSource(QUrl(QStringLiteral("qrc:") + file_->root() + QLatin1Char('/') + page));
}

void HelpWindow::present() {
    show();
    raise();
    activateWindow();
}

void HelpWindow::showContents() {
    tabs_->setCurrentIndex(0);
    if (tree_->topLevelItemCount() > 0 && !tree_->currentItem())
        tree_->setCurrentItem(tree_->topLevelItem(0));
    present();
    tree_->setFocus();
}

void HelpWindow::showIndex(const QString& keyword) {
    tabs_->setCurrentIndex(1);
    keyword_->setText(keyword);
    emit keyword_->textEdited(keyword);
    present();
    keyword_->setFocus();
}

bool HelpWindow::showContext(int context) {
    const QString page = file_->pageOf(context);
    if (page.isEmpty())
        return false;
    openPage(page);
    present();
    return true;
}

void HelpWindow::showHowToUseHelp() {
    browser_->setHtml(QString::fromLatin1(kHowToUseHelp));
    present();
}

} // namespace qv::platform
