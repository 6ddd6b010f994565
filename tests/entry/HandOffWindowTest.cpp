// The hand-off, the print-file workflow and the utility launches, driven through the
// main window's real commands, buttons and dialogs.
#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "platform/PrivateProfile.h"
#include "platform/ui/HelpWindow.h"
#include "support/DocFixture.h"
#include "support/QtPrinters.h"
#include "support/SaveAsDriver.h"
#include "support/ScopedPath.h"
#include "support/StubProgram.h"
#include "support/TemplateBuilder.h"
#include "view/ui/FirstTimeHelpDialog.h"
#include "view/ui/PrintFileOptionsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

using namespace qv;
using qv::platform::PrivateProfile;
using qv::test::StubProgram;
using qv::test::TempDir;
using qv::test::TemplateBuilder;

namespace {

class HandOffWindow : public qv::test::DocFixture {
protected:
    void SetUp() override {
        catalogue = StubProgram::install(programs / "Q V", "TOLVAD.EXE").string();
        StubProgram::install(programs.path(), "QVEDIT.EXE");
        // The program folder holds QVEDIT.EXE (a stand-in) and the real help file.
        std::filesystem::copy_file(std::filesystem::path(QV_STAGE_DIR) / "QVLEGAL.HLP",
                                   programs / "QVLEGAL.HLP");
        ::setenv("QV_STUB_LOG", (programs / "stub.log").c_str(), 1);
        frame =
            std::make_unique<CMainFrame>(doc, messages, profile, [] { return std::chrono::milliseconds(0); });
        frame->setProgramFolder(QString::fromStdString(programs.path().string()));
        host.forward = frame.get();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        const auto form = dir.write("lease.qvf", TemplateBuilder::simple({"NAME"}, "Lease to |NAME|."));
        ASSERT_TRUE(
            frame->OpenDocumentFile(QString::fromStdString(form.string()) + QStringLiteral("?Office Lease")));
    }
    void TearDown() override {
        ::unsetenv("QV_STUB_LOG");
        host.forward = nullptr;
        doc.SetModifiedFlag(false);
        frame.reset();
    }
    void setEntry(const std::string& v) {
        PrivateProfile::WritePrivateValue("Binding Data", "Run", v, "QVLEGAL.INI");
    }
    std::string entry() {
        return PrivateProfile::ReadPrivateValue("Binding Data", "Run", "?", 255, "QVLEGAL.INI");
    }
    std::vector<std::string> started(std::size_t atLeast = 1) {
        return StubProgram::lines(programs.path(), atLeast);
    }
    void type(const QString& text) {
        QTest::keyClicks(frame->interviewBar()->valueField(), text);
        frame->UpdatePass();
    }

    qv::test::TempHome home;
    TempDir programs;
    TempDir work;
    std::string catalogue;
    qv::test::ScopedPath path;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(HandOffWindow, CancelButtonClosesAndRunsTheWaitingCommand) {
    setEntry(catalogue + " /New");
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("cancel57665")), Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(started(), std::vector<std::string>{"TOLVAD.EXE\t/New"});
    EXPECT_EQ(entry(), "");
}

TEST_F(HandOffWindow, UnsavedAnswersAreAskedAboutBeforeAnyHandOff) {
    setEntry(catalogue);
    type(QStringLiteral("Jane Roe"));
    messages.setNextReply(MessageReply::Cancel);
    frame->action(CMainFrame::NewForm)->trigger();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(entry(), catalogue) << "Cancel stays and runs nothing";
    messages.setNextReply(MessageReply::No);
    frame->action(CMainFrame::NewForm)->trigger();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(started(), std::vector<std::string>{"TOLVAD.EXE\t/New"});
    EXPECT_EQ(entry(), "");
    EXPECT_EQ(messages.texts().size(), 2u) << "asked once per New Form, not again on closing";
}

TEST_F(HandOffWindow, DoneThroughTheRealDialogsStartsTheEditorAndLeavesTheEntry) {
    setEntry(catalogue + " /New");
    type(QStringLiteral("Jane Roe"));
    QStringList dialogs;
    frame->setModalHook([&](QDialog& d) {
        dialogs << d.windowTitle();
        if (auto* help = qobject_cast<FirstTimeHelpDialog*>(&d)) {
            help->neverAgain()->setChecked(true);
            QTest::mouseClick(help->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        }
    });
    const std::string printFile = (work / "Office lease.qvp").string();
    QString filter;
    frame->setPrintFileChooser([&](const QString&, const QString& f) {
        filter = f;
        return QString::fromStdString(printFile);
    });
    messages.setNextReply(MessageReply::Yes);
    QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("done101")), Qt::LeftButton);

    EXPECT_EQ(dialogs, QStringList{"Q-V Davov First-Time Help"});
    EXPECT_EQ(profile.GetProfileInt("Q-V Davov Forms Defaults", "First Time Save As", 0), 1);
    EXPECT_EQ(filter, QStringLiteral("Q-V Print Files|*.qvp||"));
    EXPECT_TRUE(std::filesystem::exists(work / "Office lease.QVW"));
    EXPECT_TRUE(std::filesystem::exists(printFile));
    EXPECT_EQ(started(), std::vector<std::string>{"QVEDIT.EXE\t" + printFile});
    EXPECT_FALSE(frame->isVisible()) << "the program closes for the editor";
    EXPECT_EQ(entry(), catalogue + " /New") << "left for the editor to run";
}

TEST_F(HandOffWindow, ThePrintFilesSaveAsAsksBeforeReplacingANameTypedWithoutExtension) {
    profile.WriteProfileInt("Q-V Davov Forms Defaults", "First Time Save As", 1);
    for (int external : {0, 1}) {
        const std::string extension = external ? "rtf" : "qvp";
        SCOPED_TRACE(extension);
        profile.WriteProfileInt("Q-V Davov Forms Defaults", "Use External", external);
        const auto existing = work.write("lease." + extension, "an earlier print file");
        messages.setNextReply(MessageReply::No); // the worksheet is not saved
        qv::test::SaveAsDriver driver(QString::fromStdString((work / "lease").string()), QMessageBox::No);
        QTest::mouseClick(frame->findChild<QPushButton*>(QStringLiteral("done101")), Qt::LeftButton);
        EXPECT_TRUE(driver.dialogShown());
        EXPECT_TRUE(driver.question().contains(QString::fromStdString("lease." + extension)))
            << driver.question().toStdString();
        EXPECT_EQ(TempDir::read(existing), "an earlier print file");
        EXPECT_TRUE(frame->isVisible());
    }
    EXPECT_FALSE(std::filesystem::exists(programs / "stub.log")) << "nothing was started";
}

TEST_F(HandOffWindow, PrintFileOptionsStoreTheChoiceOnOkOnly) {
    bool cancel = false;
    frame->setModalHook([&](QDialog& d) {
        auto* options = qobject_cast<PrintFileOptionsDialog*>(&d);
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Print File Options"));
        options->wordProcessorButton()->click();
        if (cancel)
            d.reject();
        else
            d.accept();
    });
    frame->action(CMainFrame::PrintFileOptions)->trigger();
    EXPECT_EQ(profile.GetProfileInt("Q-V Davov Forms Defaults", "Use External", 0), 1);
    profile.WriteProfileInt("Q-V Davov Forms Defaults", "Use External", 0);
    cancel = true;
    frame->action(CMainFrame::PrintFileOptions)->trigger();
    EXPECT_EQ(profile.GetProfileInt("Q-V Davov Forms Defaults", "Use External", 0), 0);
}

TEST_F(HandOffWindow, WhatsThisOpensTheHelpOnTheEditingOptions) {
    frame->setModalHook([](QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("whatsThis1039")), Qt::LeftButton);
        d.reject();
    });
    frame->action(CMainFrame::PrintFileOptions)->trigger();
    platform::HelpWindow* help = frame->helpWindow(true);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->page()->toPlainText().contains(QStringLiteral("Print files and editing options")));
}

TEST_F(HandOffWindow, VariableSetsHelpOpensTheHelpOnVariableSets) {
    frame->setModalHook([](QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("help1039")), Qt::LeftButton);
        d.reject();
    });
    frame->action(CMainFrame::VariableSets)->trigger();
    platform::HelpWindow* help = frame->helpWindow(true);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->page()->toPlainText().startsWith(QStringLiteral("Variable sets")));
}

TEST_F(HandOffWindow, HelpContentsStandsAloneAndTheIndexFindsKeywords) {
    frame->action(CMainFrame::HelpContents)->trigger();
    platform::HelpWindow* contents = frame->helpWindow(false);
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->parent(), nullptr);
    EXPECT_EQ(contents->tabs()->currentIndex(), 0);
    EXPECT_GT(contents->contentsTree()->topLevelItemCount(), 0);
    EXPECT_TRUE(contents->page()->toPlainText().contains(QStringLiteral("Welcome")));

    frame->action(CMainFrame::HelpIndex)->trigger();
    platform::HelpWindow* index = frame->helpWindow(true);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->parent(), frame.get());
    EXPECT_EQ(index->tabs()->currentIndex(), 1);
    EXPECT_TRUE(index->keywordBox()->text().isEmpty());
    QTest::keyClicks(index->keywordBox(), QStringLiteral("fill"));
    ASSERT_NE(index->indexList()->currentItem(), nullptr);
    EXPECT_EQ(index->indexList()->currentItem()->text(), QStringLiteral("Fill In Later"));
    QTest::keyClick(index->keywordBox(), Qt::Key_Return);
    EXPECT_TRUE(index->page()->toPlainText().contains(QStringLiteral("Leaving a blank")));

    frame->close();
    EXPECT_EQ(frame->helpWindow(false), nullptr) << "help goes with the program";
}

TEST_F(HandOffWindow, MissingUtilitiesAreReportedWithTheirMessages) {
    path.only(work.path()); // no calculator, no region settings
    frame->action(CMainFrame::Calculator)->trigger();
    frame->action(CMainFrame::InternationalSettings)->trigger();
    frame->action(CMainFrame::NumberSettings)->trigger();
    ASSERT_EQ(messages.entries().size(), 2u) << "International Settings fails silently";
    EXPECT_EQ(messages.entries()[0].caption, "Couldn't run the Windows Calculator");
    EXPECT_EQ(messages.entries()[0].text, "For unknown reasons, the Windows Calculator could not be run.");
    EXPECT_EQ(messages.entries()[0].icon, MessageIcon::Stop);
    EXPECT_EQ(messages.entries()[1].text,
              "The Windows 'International' or 'Regional Settings' Control Panel could not be executed");
    EXPECT_EQ(messages.entries()[1].icon, MessageIcon::None);

    StubProgram::install(work.path(), "kcalc");
    frame->action(CMainFrame::Calculator)->trigger();
    EXPECT_EQ(StubProgram::lines(programs.path()), std::vector<std::string>{"kcalc"});
    EXPECT_EQ(messages.entries().size(), 2u);
}

TEST_F(HandOffWindow, HelpFromTheEditingOptionsTakesInputWhileTheDialogIsUp) {
    QString typed;
    QString found;
    frame->setModalHook([&](QDialog& d) {
        QTimer::singleShot(0, &d, [&] {
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("whatsThis1039")), Qt::LeftButton);
            platform::HelpWindow* help = frame->helpWindow(true);
            if (help) {
                help->tabs()->setCurrentIndex(1);
                help->activateWindow();
                help->keywordBox()->setFocus();
                // Through the window system, where a blocked window's keys are dropped.
                for (char c : std::string("fill"))
                    QTest::keyClick(help->windowHandle(), c);
                typed = help->keywordBox()->text();
                if (help->indexList()->currentItem())
                    found = help->indexList()->currentItem()->text();
            }
            d.reject();
        });
        d.exec();
    });
    frame->action(CMainFrame::PrintFileOptions)->trigger();
    EXPECT_EQ(typed, QStringLiteral("fill"));
    EXPECT_EQ(found, QStringLiteral("Fill In Later"));
}
