#include "catalogue/ui/CatalogueWindow.h"
#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "catalogue/ui/AboutBox.h"
#include "catalogue/ui/CatalogueApp.h"
#include "catalogue/ui/DisclaimerDialog.h"
#include "catalogue/ui/FormsList.h"
#include "catalogue/ui/KeywordSearchDialog.h"
#include "catalogue/ui/StartScreen.h"
#include "catalogue/ui/StatePictureButton.h"
#include "platform/PrivateProfile.h"
#include "support/MessageRecorder.h"
#include "support/QtPrinters.h"
#include "support/StubProgram.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <fstream>

using namespace qv::catalogue;
using qv::test::StubProgram;
using qv::test::TempDir;

namespace {

/// A program folder with three small data files and a stand-in for QVLEGAL.EXE.
class CatalogueWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("Tolvad.Dat", ":Family/Personal Records\r\n\r\n    CO01 Articles of Incorporation\r\n"
                                   "    CO02 Bylaws\r\n:Business Forms\r\n\r\n:Educational Records\r\n\r\n"
                                   "    ST01 Stock Power\r\n:END\r\n");
        folder.write("Tolvad2.Dat",
                     "    Forms a corporation.\r\n    Adopts bylaws.\r\n    Transfers shares.\r\n");
        folder.write("Tolvad3.Dat",
                     "CO01 articles incorporation\r\nCO02 bylaws\r\nST01 stock power shares\r\nEND\r\n");
        StubProgram::install(folder.path(), "QVLEGAL.EXE");
        std::string message;
        ASSERT_TRUE(data.Load(folder.path(), message));
        window = std::make_unique<CatalogueWindow>(data, launcher, messages, hooks);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    std::string entry() {
        return qv::platform::PrivateProfile::ReadPrivateValue("Binding Data", "Run", "?", 255, "QVLEGAL.INI");
    }
    QString description() { return window->description()->text(); }
    QWidget* listView() { return window->formsList()->shownView(); }

    qv::test::TempHome home;
    TempDir folder;
    CatalogueData data;
    FormLauncher launcher{(folder.path() / "").string()};
    qv::test::MessageRecorder messages;
    WindowHooks hooks;
    std::unique_ptr<CatalogueWindow> window;
};

} // namespace

TEST(CatalogueCommandLine, OnlyNewExactlySkipsTheStartScreen) {
    EXPECT_TRUE(CatalogueApp::SkipsStartScreen(QStringLiteral("/New")));
    for (const char* other : {"/new", "/New ", "", "/NEW", "x /New"})
        EXPECT_FALSE(CatalogueApp::SkipsStartScreen(QString::fromLatin1(other))) << other;
}

TEST_F(CatalogueWindowTest, ACategoryGrowsTheWindowOnceAndFillsTheList) {
    EXPECT_EQ(window->clientArea()->height(), CatalogueWindow::kCollapsed);
    EXPECT_EQ(window->clientArea()->width(), 580);
    QTest::mouseClick(window->categoryButton(0), Qt::LeftButton);
    const int grown = window->clientArea()->height();
    EXPECT_TRUE(grown == 400 || grown == 450) << grown;
    EXPECT_EQ(window->formsList()->count(), 2);
    EXPECT_EQ(window->formsList()->textOf(0), QStringLiteral("Articles of Incorporation"));
    EXPECT_EQ(window->formsList()->selectedRow(), 0) << "the first entry is selected";
    EXPECT_EQ(description(), QString::fromLatin1(CatalogueWindow::kTip)) << "until a click or Space";
    EXPECT_FALSE(window->categoryButton(0)->isEnabled());
    EXPECT_EQ(window->categoryButton(0)->shownState(), CataloguePictures::State::Disabled);

    QTest::mouseClick(window->categoryButton(2), Qt::LeftButton);
    EXPECT_EQ(window->clientArea()->height(), grown) << "the window grows only once";
    EXPECT_TRUE(window->categoryButton(0)->isEnabled());
    EXPECT_EQ(window->formsList()->count(), 1);
    QTest::mouseClick(window->categoryButton(1), Qt::LeftButton);
    EXPECT_EQ(window->formsList()->count(), 0) << "an empty category";
    EXPECT_EQ(description(), QString::fromLatin1(CatalogueWindow::kTip));
}

TEST_F(CatalogueWindowTest, DescriptionsOnClickAndSpaceTheTipOnNavigation) {
    window->ShowCategory(0);
    QTest::keyClick(listView(), Qt::Key_Space);
    EXPECT_EQ(description(), QStringLiteral("Forms a corporation."));
    QTest::keyClick(listView(), Qt::Key_Down);
    QTest::qWait(5);
    EXPECT_EQ(description(), QString::fromLatin1(CatalogueWindow::kTip));
    EXPECT_EQ(window->formsList()->selectedRow(), 1);
    QTest::keyClick(listView(), Qt::Key_Space);
    EXPECT_EQ(description(), QStringLiteral("Adopts bylaws."));
}

TEST_F(CatalogueWindowTest, PopupMenusOfTheList) {
    window->ShowCategory(1); // empty: nothing selected
    QStringList items;
    hooks.contextMenu = [&](QMenu& menu) {
        items.clear();
        for (QAction* a : menu.actions())
            items << a->text();
    };
    auto* viewport = static_cast<QAbstractScrollArea*>(listView())->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(300, 10));
    EXPECT_EQ(items, (QStringList{"&Large Icons", "&Small Icons", "&Details"}));
    window->ShowCategory(0);
    auto* view = static_cast<QAbstractItemView*>(listView());
    const QPoint onSecond = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseClick(viewport, Qt::RightButton, {}, onSecond);
    EXPECT_EQ(items, QStringList{"Open"});
    EXPECT_EQ(window->formsList()->selectedRow(), 1);
    EXPECT_EQ(description(), QStringLiteral("Adopts bylaws.")) << "first as a click";
    // On blank space the right click is first a click there: nothing stays selected.
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(300, 10));
    EXPECT_EQ(items, (QStringList{"&Large Icons", "&Small Icons", "&Details"}));
    EXPECT_EQ(window->formsList()->selectedRow(), -1);
    EXPECT_EQ(description(), QString::fromLatin1(CatalogueWindow::kTip));
}

TEST_F(CatalogueWindowTest, ALeftClickOnBlankSpaceClearsTheSelectionAndTheDescription) {
    window->ShowCategory(0);
    for (FormsList::View v :
         {FormsList::View::SmallIcons, FormsList::View::LargeIcons, FormsList::View::Details}) {
        window->formsList()->setView(v);
        window->formsList()->selectRow(0);
        QTest::keyClick(listView(), Qt::Key_Space);
        ASSERT_EQ(description(), QStringLiteral("Forms a corporation."));
        auto* viewport = static_cast<QAbstractScrollArea*>(listView())->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          QPoint(viewport->width() - 5, viewport->height() - 5));
        EXPECT_EQ(window->formsList()->selectedRow(), -1) << int(v);
        EXPECT_EQ(description(), QString::fromLatin1(CatalogueWindow::kTip)) << int(v);
    }
}

TEST_F(CatalogueWindowTest, TheDetailsColumnIsTwoHundredPixelsWide) {
    window->ShowCategory(0);
    window->formsList()->setView(FormsList::View::Details);
    auto* details = qobject_cast<QTreeView*>(listView());
    ASSERT_NE(details, nullptr);
    ASSERT_GT(details->viewport()->width(), 300);
    EXPECT_EQ(details->header()->sectionSize(0), 200);
    EXPECT_EQ(details->columnWidth(0), 200);
}

TEST_F(CatalogueWindowTest, OpeningAFormStartsTheVariableEntryProgramAndEnds) {
    window->ShowCategory(2);
    QTest::keyClick(listView(), Qt::Key_Return);
    const std::string forms = (folder / "Tolvad" / "ST01.qvf").string();
    EXPECT_EQ(StubProgram::lines(folder.path()),
              std::vector<std::string>{"QVLEGAL.EXE\t" + forms + "?Stock Power"});
    EXPECT_EQ(entry(), (folder / "Tolvad.exe").string() + " /New");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(CatalogueWindowTest, OpenWithNothingSelectedSaysSo) {
    window->ShowCategory(1);
    window->OpenSelectedForm();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text, "You must first have a form selected before opening it.");
    EXPECT_EQ(messages.entries()[0].icon, qv::MessageIcon::Exclamation);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(StubProgram::lines(folder.path(), 0).empty());
}

TEST_F(CatalogueWindowTest, EnterPressesTheFocusedPictureButton) {
    window->categoryButton(2)->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_EQ(window->currentCategory(), 2);
    EXPECT_EQ(window->formsList()->count(), 1);
}

TEST_F(CatalogueWindowTest, SavedDocumentFromTheFileMenu) {
    StubProgram::install(folder.path(), "QVEDIT.EXE");
    hooks.openFile = [&] { return QString::fromStdString((folder / "My Lease.QVP").string()); };
    QAction* open = window->menu()->actions()[0]->menu()->actions()[0];
    EXPECT_EQ(open->text(), QStringLiteral("&Open saved document..."));
    open->trigger();
    EXPECT_EQ(StubProgram::lines(folder.path()),
              std::vector<std::string>{"QVEDIT.EXE\t" + (folder / "My Lease.QVP").string()});
    EXPECT_EQ(entry(), (folder / "Tolvad.exe").string());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CatalogueWindowTest, KeywordSearchStatesResultsAndOpening) {
    int result = -1;
    hooks.modal = [&](QDialog& d) {
        auto* search = qobject_cast<KeywordSearchDialog*>(&d);
        ASSERT_NE(search, nullptr);
        EXPECT_FALSE(search->grown());
        EXPECT_FALSE(search->findNowButton()->isEnabled());
        EXPECT_EQ(search->searchBox()->count(), 559);
        EXPECT_EQ(search->lookInBox()->count(), 12);
        EXPECT_EQ(search->lookInBox()->itemText(1), QStringLiteral("Family/Personal Records"));
        QTest::keyClicks(search->searchBox()->lineEdit(), QStringLiteral("SHARES"));
        EXPECT_TRUE(search->findNowButton()->isEnabled());
        QTest::mouseClick(search->findNowButton(), Qt::LeftButton);
        EXPECT_TRUE(search->grown());
        ASSERT_EQ(search->resultsList()->count(), 1);
        EXPECT_EQ(search->resultsList()->textOf(0), QStringLiteral("Stock Power"));
        // Open with nothing selected.
        search->OpenResult(true);
        ASSERT_EQ(messages.entries().size(), 1u);
        EXPECT_EQ(messages.entries()[0].text, "You must have a form selected to open it.");
        EXPECT_EQ(messages.entries()[0].caption, "Banrow");
        EXPECT_EQ(messages.entries()[0].icon, qv::MessageIcon::None);
        search->resultsList()->selectRow(0);
        QTest::keyClick(search->resultsList()->shownView(), Qt::Key_Space);
        EXPECT_EQ(search->descriptionBox()->toPlainText(), QStringLiteral("Transfers shares."));
        QTest::keyClick(search->resultsList()->shownView(), Qt::Key_Return);
        result = d.result();
    };
    QTest::mouseClick(window->keywordButton(), Qt::LeftButton);
    EXPECT_EQ(result, KeywordSearchDialog::kOpened);
    EXPECT_EQ(StubProgram::lines(folder.path()),
              std::vector<std::string>{"QVLEGAL.EXE\t" + (folder / "Tolvad" / "ST01.qvf").string() +
                                       "?Stock Power"});
    EXPECT_FALSE(window->isVisible()) << "the catalogue ends with the dialog";
}

TEST_F(CatalogueWindowTest, KeywordSearchTextIsWhatWasTypedNeverCompleted) {
    KeywordSearchDialog search(data, launcher, messages, hooks, window.get());
    search.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&search));
    // "st" begins the suggestions "stock" and "standardized"; "bylaw" none of them.
    for (const QString& typed : {QStringLiteral("st"), QStringLiteral("Sto"), QStringLiteral("bylaw")}) {
        search.searchBox()->lineEdit()->clear();
        QTest::keyClicks(search.searchBox()->lineEdit(), typed);
        EXPECT_EQ(search.searchBox()->currentText(), typed);
        EXPECT_EQ(search.searchBox()->lineEdit()->text(), typed);
    }
    search.searchBox()->lineEdit()->clear();
    QTest::keyClicks(search.searchBox()->lineEdit(), QStringLiteral("st"));
    search.FindNow();
    EXPECT_EQ(search.resultsList()->count(), 1) << "ST01 and its keywords hold st";
}

TEST_F(CatalogueWindowTest, KeywordSearchLooksInOneCategoryAndReplacesResults) {
    KeywordSearchDialog search(data, launcher, messages, hooks, window.get());
    search.searchBox()->setEditText(QStringLiteral("o"));
    search.FindNow();
    EXPECT_EQ(search.resultsList()->count(), 3);
    search.lookInBox()->setCurrentIndex(3); // the third category alone
    search.FindNow();
    ASSERT_EQ(search.resultsList()->count(), 1);
    EXPECT_EQ(search.resultsList()->textOf(0), QStringLiteral("Stock Power"));
    // An empty text with a picked suggestion finds every form with a keyword line.
    search.lookInBox()->setCurrentIndex(0);
    search.searchBox()->setCurrentIndex(0);
    search.searchBox()->setEditText(QString());
    EXPECT_TRUE(search.findNowButton()->isEnabled());
    search.FindNow();
    EXPECT_EQ(search.resultsList()->count(), 3);
}

TEST_F(CatalogueWindowTest, AboutBoxClosesOnAClickAndTheDisclaimerHasFiveParagraphs) {
    AboutBox about(window.get());
    about.show();
    EXPECT_EQ(about.size(), QSize(426, 154));
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_EQ(about.result(), QDialog::Accepted);
    DisclaimerDialog disclaimer(window.get());
    const QString text = disclaimer.text()->toPlainText();
    EXPECT_EQ(text.split(QStringLiteral("\n\n")).size(), 5);
    EXPECT_NEAR(text.size(), 2459, 60);
    EXPECT_TRUE(disclaimer.text()->isReadOnly());
    EXPECT_EQ(disclaimer.windowTitle(), QStringLiteral("Q-V Davov Disclaimer"));
}

TEST_F(CatalogueWindowTest, StartScreenSelectGoesOnAndOpenEndsAfterAStart) {
    StartScreen start(launcher, hooks);
    start.show();
    EXPECT_EQ(start.size(), QSize(580, 400));
    QTest::mouseClick(start.selectButton(), Qt::LeftButton);
    EXPECT_EQ(start.result(), QDialog::Accepted);

    StartScreen again(launcher, hooks);
    again.show();
    hooks.openFile = [&] { return QString::fromStdString((folder / "notes.txt").string()); };
    QTest::mouseClick(again.openButton(), Qt::LeftButton);
    EXPECT_TRUE(again.isVisible()) << "nothing was started";
    hooks.openFile = [&] { return QString::fromStdString((folder / "Lease.qvw").string()); };
    QTest::mouseClick(again.openButton(), Qt::LeftButton);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(StubProgram::lines(folder.path()),
              std::vector<std::string>{"QVLEGAL.EXE\t" + (folder / "Lease.qvw").string()});
}

TEST_F(CatalogueWindowTest, CategoryNamesAgreeInTheBundledDataOnTheButtonsAndInTheSearchList) {
    std::vector<QString> headers;
    std::ifstream in(std::filesystem::path(QV_STAGE_DIR) / "Tolvad.Dat", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(':', 0) == 0 && line != ":END")
            headers.push_back(QString::fromLatin1(line.substr(1)));
    }
    ASSERT_EQ(headers.size(), 11u) << "the staged Tolvad.Dat";
    KeywordSearchDialog search(data, launcher, messages, hooks, window.get());
    ASSERT_EQ(search.lookInBox()->count(), 12);
    EXPECT_EQ(search.lookInBox()->itemText(0), QStringLiteral("All Categories"));
    for (int k = 0; k < 11; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(CataloguePictures::CategoryName(k), headers[k]);
        EXPECT_EQ(search.lookInBox()->itemText(k + 1), headers[k]);
        EXPECT_EQ(window->categoryButton(k)->accessibleName(), headers[k]);
        // The longest names wrap onto three lines; none shrinks past legibility.
        EXPECT_GE(QFontInfo(CataloguePictures::CategoryFont(k)).pixelSize(), 10) << headers[k].toStdString();
    }
}
