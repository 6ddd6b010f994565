#include "catalogue/ui/CatalogueWindow.h"

#include "catalogue/ui/AboutBox.h"
#include "catalogue/ui/CataloguePictures.h"
#include "catalogue/ui/DisclaimerDialog.h"
#include "catalogue/ui/FormsList.h"
#include "catalogue/ui/KeywordSearchDialog.h"
#include "catalogue/ui/StatePictureButton.h"
#include "formengine/UserMessages.h"
#include "platform/CodePage.h"
#include "platform/ui/HelpLauncher.h"
#include "platform/ui/HelpWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

namespace qv::catalogue {
namespace {

const QPoint kPositions[CatalogueData::kCategories] = {{22, 81},   {212, 81},  {405, 81}, {22, 133},
                                                       {212, 133}, {405, 133}, {22, 185}, {212, 185},
                                                       {405, 185}, {22, 237},  {212, 237}};
const char* const kCaptions[CatalogueData::kCategories] = {"CorpOrg", "Minutes",  "Stock",     "Oper",
                                                           "Divid",   "Comp",     "Transfers", "Personal",
                                                           "Real",    "Business", "Other"};
const int kButtonIds[CatalogueData::kCategories] = {103,  1001, 1002, 1003, 1004, 1005,
                                                    1022, 1023, 1024, 1025, 1026};

QString fromCp1252(const std::string& s) {
    return QString::fromStdString(CodePage::toUtf8(s));
}

/// The client area: the background picture above y = 300, or the workspace colour
/// while the window grows.
class Client : public QWidget {
public:
    Client(const bool& growing, QWidget* parent) : QWidget(parent), growing_(growing) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        if (growing_) {
            p.fillRect(QRect(0, 300, 580, 200), palette().color(QPalette::Dark));
            return;
        }
        p.fillRect(event->rect(), palette().window());
        p.drawPixmap(0, 0, CataloguePictures::Background(129, devicePixelRatioF()));
    }

private:
    const bool& growing_;
};

} // namespace

const char* const CatalogueWindow::kTip =
    "Click an item or press [SPACE] while it's highlighted to see its description";

CatalogueWindow::CatalogueWindow(const CatalogueData& data, const FormLauncher& launcher,
                                 UserMessages& messages, WindowHooks& hooks, QWidget* parent)
    : QDialog(parent), data_(data), launcher_(launcher), messages_(messages), hooks_(hooks) {
    setObjectName(QStringLiteral("catalogue102"));
    help_ = std::make_unique<platform::HelpLauncher>(
        this, QString::fromStdString(launcher_.programFolder()) + QStringLiteral("QVLEGAL.HLP"),
        [this](const std::string& text) { messages_.show(text, MessageIcon::Exclamation); });
    setWindowTitle(QStringLiteral("Tolvad Organizer"));
    setWindowIcon(CataloguePictures::WindowIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menu_ = new QMenuBar(this);
    layout->setMenuBar(menu_);
    client_ = new Client(growing_, this);
    client_->setObjectName(QStringLiteral("clientArea"));
    client_->installEventFilter(this);
    layout->addWidget(client_);

    for (int k = 0; k < CatalogueData::kCategories; ++k) {
        auto* b = new StatePictureButton(
            QString::fromLatin1(kCaptions[k]), QSize(157, 47),
            [k](CataloguePictures::State s, qreal scale) {
                return CataloguePictures::CategoryButton(k, s, scale);
            },
            client_);
        b->setObjectName(QStringLiteral("category%1").arg(kButtonIds[k]));
        b->setAccessibleName(CataloguePictures::CategoryName(k));
        b->move(kPositions[k]);
        connect(b, &QAbstractButton::clicked, this, [this, k] { ShowCategory(k); });
        buttons_[k] = b;
    }
    keyword_ = new StatePictureButton(
        QStringLiteral("Keyword"), QSize(103, 39),
        [](CataloguePictures::State s, qreal scale) { return CataloguePictures::KeywordButton(s, scale); },
        client_);
    keyword_->setObjectName(QStringLiteral("keyword1017"));
    keyword_->move(432, 245);
    connect(keyword_, &QAbstractButton::clicked, this, &CatalogueWindow::KeywordSearch);

    list_ = new FormsList(client_);
    list_->setObjectName(QStringLiteral("formsList1006"));
    description_ = new QLabel(client_);
    description_->setObjectName(QStringLiteral("description1007"));
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description_->setFrameShape(QFrame::StyledPanel);
    description_->setMargin(4);
    description_->setAutoFillBackground(true);
    description_->setAccessibleName(tr("Description"));
    connect(list_, &FormsList::clicked, this, &CatalogueWindow::showDescription);
    connect(list_, &FormsList::navigated, this, [this] { description_->setText(QString::fromLatin1(kTip)); });
    connect(list_, &FormsList::activated, this, [this] {
        if (list_->selectedRow() >= 0)
            OpenSelectedForm();
    });
    connect(list_, &FormsList::rightClicked, this, &CatalogueWindow::showPopup);
    createMenu();

    // Laid out as for a 400-pixel client area, then collapsed to the buttons.
    client_->setFixedWidth(580);
    client_->resize(580, 400);
    layoutClient();
    setFixedWidth(580);
    client_->setMinimumHeight(kCollapsed);
    resize(580, menu_->sizeHint().height() + kCollapsed);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

CatalogueWindow::~CatalogueWindow() = default;

QMenu* CatalogueWindow::viewMenu(QWidget* parent) {
    auto* view = new QMenu(QStringLiteral("&View"), parent);
    view->addAction(QStringLiteral("&Large Icons"), this,
                    [this] { list_->setView(FormsList::View::LargeIcons); });
    view->addAction(QStringLiteral("&Small Icons"), this,
                    [this] { list_->setView(FormsList::View::SmallIcons); });
    view->addAction(QStringLiteral("&Details"), this, [this] { list_->setView(FormsList::View::Details); });
    return view;
}

void CatalogueWindow::createMenu() {
    QMenu* file = menu_->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open saved document..."), this, [this] {
        if (OpenSavedDocument())
            reject();
    });
    file->addSeparator();
    file->addAction(QStringLiteral("&Keyword Search..."), this, &CatalogueWindow::KeywordSearch);
    file->addSeparator();
    file->addAction(QStringLiteral("&Exit"), this, &QDialog::reject);
    menu_->addMenu(viewMenu(menu_));
    QMenu* help = menu_->addMenu(QStringLiteral("&Help"));
    QAction* contents = help->addAction(QStringLiteral("&Contents\tF1"), this, [this] { openHelp(57669); });
    contents->setShortcut(QKeySequence(Qt::Key_F1));
    help->addAction(QStringLiteral("&Index"), this, [this] { openHelp(57666); });
    help->addAction(QStringLiteral("&How to use help"), this, [this] { openHelp(57667); });
    help->addSeparator();
    help->addAction(QStringLiteral("About Q-V Davov Software..."), this, [this] {
        AboutBox about(this);
        hooks_.run(about);
    });
    help->addAction(QStringLiteral("Q-V Davov Disclaimer"), this, [this] {
        DisclaimerDialog disclaimer(this);
        hooks_.run(disclaimer);
    });
    addAction(contents);
}

void CatalogueWindow::layoutClient() {
    const int h = client_->height();
    const int p = panelHeight_;
    if (p + kCollapsed < h) {
        description_->setGeometry(0, h - p, 580, p);
        list_->setGeometry(0, kCollapsed, 580, h - p - kCollapsed);
    }
}

bool CatalogueWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutClient();
    return QDialog::eventFilter(watched, event);
}

void CatalogueWindow::ShowCategory(int category) {
    list_->clear();
    if (client_->height() == kCollapsed) {
        // Grow in steps about the centre: the list and the panel come into view.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        growing_ = true;
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int steps = screen && screen->geometry().height() < 600 ? 10 : 15;
        for (int i = 0; i < steps; ++i) {
            QRect g = geometry();
            g.adjust(0, -5, 0, 5);
            setGeometry(g);
            client_->repaint();
            QThread::msleep(8);
        }
        growing_ = false;
        client_->update();
    }
    SelectCategoryButton(category);
    current_ = category;
    const auto& c = data_.categories()[category];
    for (std::size_t i = 0; i < c.items.size(); ++i)
        list_->addEntry(fromCp1252(CatalogueData::TitleOf(c.items[i])), category, static_cast<int>(i));
    description_->setText(QString::fromLatin1(kTip));
    list_->shownView()->setFocus();
    if (list_->count() > 0)
        list_->selectRow(0);
}

void CatalogueWindow::SelectCategoryButton(int category) {
    for (int k = 0; k < CatalogueData::kCategories; ++k)
        buttons_[k]->setEnabled(k != category);
}

void CatalogueWindow::showDescription() {
    const int row = list_->selectedRow();
    const auto& c = data_.categories()[current_];
    if (row >= 0 && static_cast<std::size_t>(row) < c.descriptions.size())
        description_->setText(fromCp1252(c.descriptions[row]));
    else
        description_->setText(QString::fromLatin1(kTip));
}

void CatalogueWindow::showPopup(const QPoint& at) {
    QMenu menu(this);
    if (list_->selectedRow() < 0) {
        QMenu* view = viewMenu(&menu);
        for (QAction* a : view->actions())
            menu.addAction(a);
    } else {
        menu.addAction(QStringLiteral("Open"), this, &CatalogueWindow::OpenSelectedForm);
    }
    if (hooks_.contextMenu)
        hooks_.contextMenu(menu);
    else
        menu.exec(at);
}

void CatalogueWindow::OpenSelectedForm() {
    const int row = list_->selectedRow();
    if (row < 0) {
        messages_.show("You must first have a form selected before opening it.", MessageIcon::Exclamation,
                       MessageButtons::Ok,
                       QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
        return;
    }
    launcher_.OpenForm(data_.categories()[current_].items[list_->dataOf(row)]);
    reject();
}

bool CatalogueWindow::OpenSavedDocument() {
    const QString path =
        hooks_.openFile
            ? hooks_.openFile()
            : QFileDialog::getOpenFileName(
                  this, QString(), QString(),
                  QStringLiteral("Q-V Davov Files (*.qvw *.qvp *.QVW *.QVP);;Q-V Davov Worksheets "
                                 "(*.qvw *.QVW);;Q-V Print Files (*.qvp *.QVP)"));
    if (path.isEmpty())
        return false;
    return launcher_.OpenSavedDocument(path.toStdString());
}

void CatalogueWindow::KeywordSearch() {
    KeywordSearchDialog dialog(data_, launcher_, messages_, hooks_, this);
    if (hooks_.run(dialog) == KeywordSearchDialog::kOpened)
        reject();
}

void CatalogueWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && list_->isAncestorOf(focus)) {
            if (list_->selectedRow() >= 0)
                OpenSelectedForm();
        } else if (focus) {
            // A focused picture button is pressed as with the space bar.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::sendEvent(focus, &press);
            QApplication::sendEvent(focus, &release);
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

platform::HelpWindow* CatalogueWindow::helpWindow(bool owned) const {
    return help_->window(owned);
}

void CatalogueWindow::openHelp(int command) {
    help_->Show(command == 57666   ? platform::HelpLauncher::Topic::Index
                : command == 57667 ? platform::HelpLauncher::Topic::HowToUseHelp
                                   : platform::HelpLauncher::Topic::Contents);
}

void CatalogueWindow::done(int result) {
    // The help goes with the catalogue.
    help_->Close();
    QDialog::done(result);
}

} // namespace qv::catalogue
