#include "platform/ui/HelpWindow.h"
#include "platform/ui/HelpFile.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <QListWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

using qv::platform::HelpFile;
using qv::platform::HelpWindow;

namespace {

const QString kHelp = QStringLiteral(QV_STAGE_DIR "/QVLEGAL.HLP");

void collect(const QList<HelpFile::Topic>& topics, std::set<QString>& pages) {
    for (const auto& t : topics) {
        pages.insert(t.page);
        collect(t.children, pages);
    }
}

} // namespace

TEST(HelpFile, EveryTopicOfTheContentsIndexAndContextsOpens) {
    auto file = HelpFile::Open(kHelp);
    ASSERT_NE(file, nullptr);
    std::set<QString> pages;
    collect(file->contents(), pages);
    for (const auto& k : file->index())
        pages.insert(k.page);
    ASSERT_FALSE(file->pageOf(1234).isEmpty()) << "print files and the editing options";
    ASSERT_FALSE(file->pageOf(2345).isEmpty()) << "variable sets";
    pages.insert(file->pageOf(1234));
    pages.insert(file->pageOf(2345));
    for (const QString& page : pages) {
        QFile f(QLatin1Char(':') + file->root() + QLatin1Char('/') + page);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << page.toStdString();
        EXPECT_TRUE(f.readAll().startsWith("<h2>")) << page.toStdString();
    }
    // The guide covers what the suite does.
    QStringList keywords;
    for (const auto& k : file->index())
        keywords << k.keyword;
    for (const char* topic : {"Keyword Search", "Fill In Later", "Print File Options", "Variable sets",
                              "Print file editor", "Setup", "Uninstalling", "Page Setup", "Worksheets"})
        EXPECT_TRUE(keywords.contains(QString::fromLatin1(topic))) << topic;
}

TEST(HelpFile, MissingOrForeignFilesAreRefused) {
    qv::test::TempDir dir;
    EXPECT_EQ(HelpFile::Open(QString::fromStdString((dir / "QVLEGAL.HLP").string())), nullptr);
    EXPECT_EQ(HelpFile::Open(QString::fromStdString(dir.write("QVLEGAL.HLP", "not a help file").string())),
              nullptr);
}

TEST(HelpWindow, ContextNumbersOpenTheirTopics) {
    HelpWindow window(HelpFile::Open(kHelp));
    EXPECT_TRUE(window.showContext(2345));
    EXPECT_TRUE(window.page()->toPlainText().contains(QStringLiteral("Variable sets")));
    EXPECT_FALSE(window.showContext(99));
    window.showContents();
    EXPECT_GE(window.contentsTree()->topLevelItemCount(), 5);
    window.contentsTree()->setCurrentItem(window.contentsTree()->topLevelItem(1));
    EXPECT_TRUE(window.page()->toPlainText().contains(QStringLiteral("Choosing a form")));
    window.showHowToUseHelp();
    EXPECT_TRUE(window.page()->toPlainText().contains(QStringLiteral("How to use help")));
}
