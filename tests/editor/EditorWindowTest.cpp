#include "editor/CRichEditDoc.h"
#include "editor/rtf/RtfReader.h"
#include "editor/ui/CMainFrame.h"
#include "editor/ui/CRichEditView.h"
#include "editor/ui/FormatBar.h"
#include "platform/IniProfile.h"
#include "platform/PrivateProfile.h"
#include "support/MessageRecorder.h"
#include "support/ProcessRunner.h"
#include "support/QtPrinters.h"
#include "support/SaveAsDriver.h"
#include "support/StubProgram.h"
#include "support/TempDir.h"
#include "shared/ui/QtMessages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace qv::editor;
using qv::test::StubProgram;
using qv::test::TempDir;

namespace {

const char* const kPrintFile =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs24 "
    "\\pard\\qc PROMISSORY NOTE\\par\\pard I, {\\ul Jane Roe}, promise.\\par}\r\n"
    "{\r\n\\mymargl720\r\n\\mymargr1080\r\n\\mymargt1440\r\n\\mymargb360\r\n\\orient2\r\n};";

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        frame = std::make_unique<CMainFrame>(profile, messages);
        frame->setProgramFolder(QString::fromStdString(programs.path().string()));
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void TearDown() override {
        frame->document().text().setModified(false);
        frame.reset();
    }
    std::string entry() {
        return qv::platform::PrivateProfile::ReadPrivateValue("Binding Data", "Run", "?", 255, "QVLEGAL.INI");
    }
    void select(int from, int to) {
        QTextCursor c = frame->view()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        frame->view()->setTextCursor(c);
        frame->UpdatePass();
    }

    qv::test::TempHome home;
    TempDir files;
    TempDir programs;
    qv::platform::IniProfile profile{files / "QVEdit.ini"};
    qv::test::MessageRecorder messages;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST(MarginBlock, PageSetupUnitsAndTheBlockText) {
    EXPECT_EQ(CRichEditDoc::ToThousandths(1000), 694);
    EXPECT_EQ(CRichEditDoc::FromThousandths(694), 999);
    EXPECT_EQ(
        CRichEditDoc::MarginBlock({720, 1440, 1080, 360}, 2),
        QByteArray("{\r\n\\mymargl720\r\n\\mymargr1080\r\n\\mymargt1440\r\n\\mymargb360\r\n\\orient2\r\n};"));
}

TEST_F(Editor, APrintFileOpensWithItsMarginsAndSavesWithOneBlock) {
    const auto path = files.write("note.qvp", kPrintFile);
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(path.string())));
    EXPECT_EQ(frame->document().margins(), (std::array<int, 4>{720, 1440, 1080, 360}));
    EXPECT_EQ(frame->orientation(), 2);
    EXPECT_EQ(frame->document().text().toPlainText(),
              QStringLiteral("PROMISSORY NOTE\nI, Jane Roe, promise.\n"));
    // Landscape: the line is the page's height less the side margins.
    EXPECT_EQ(frame->document().lineWidth(), frame->document().paper()[0] - 720 - 1080);
    EXPECT_GT(frame->document().paper()[0], frame->document().paper()[1]);

    const auto saved = files / "saved.qvp";
    ASSERT_TRUE(frame->SaveTo(QString::fromStdString(saved.string())));
    ASSERT_TRUE(frame->SaveTo(QString::fromStdString(saved.string())));
    const std::string bytes = TempDir::read(saved);
    EXPECT_EQ(bytes.find("\\mymargl"), bytes.rfind("\\mymargl")) << "one block after saving twice";
    EXPECT_TRUE(
        QByteArray::fromStdString(bytes).endsWith(CRichEditDoc::MarginBlock({720, 1440, 1080, 360}, 2)));

    frame->NewDocument();
    EXPECT_EQ(frame->orientation(), 1);
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(saved.string())));
    EXPECT_EQ(frame->document().margins(), (std::array<int, 4>{720, 1440, 1080, 360}));
    EXPECT_EQ(frame->orientation(), 2);
    EXPECT_EQ(frame->document().text().toPlainText(),
              QStringLiteral("PROMISSORY NOTE\nI, Jane Roe, promise.\n"));
    EXPECT_EQ(frame->document().text().begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST_F(Editor, FilesWithoutAWholeBlockGetTheDefaults) {
    const auto plain = files.write("plain.qvp", "{\\rtf1 text}");
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(plain.string())));
    EXPECT_EQ(frame->document().margins(), (std::array<int, 4>{1440, 1440, 1440, 1440}));
    EXPECT_EQ(frame->orientation(), 1);
    const auto shifted = files.write("shifted.qvp", "{\\rtf1 x}\r\nx\\mymargl100\r\n");
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(shifted.string())));
    EXPECT_EQ(frame->document().margins()[0], 1440) << "text before \\mymargl is no block";
    const auto cut = files.write("cut.qvp", "{\\rtf1 x}\r\n{\r\n\\mymargl500\r\n\\mymargr600\r\n");
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(cut.string())));
    EXPECT_EQ(frame->document().margins(), (std::array<int, 4>{500, 1440, 600, 1440}));
    // Margins far outside any page: the line width and page setup's units stay in range.
    const auto huge = files.write("huge.qvp", "{\\rtf1 x}{\r\n\\mymargl2147483647\r\n\\mymargr99999999999\r\n"
                                              "\\mymargt-99999999999\r\n\\mymargb0\r\n\\orient2\r\n};");
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(huge.string())));
    EXPECT_EQ(frame->document().margins(), (std::array<int, 4>{INT_MAX, INT_MIN, INT_MAX, 0}));
    EXPECT_EQ(frame->document().lineWidth(), -CRichEditDoc::kMaxLineWidth);
    frame->document().setMargins({INT_MIN, 0, INT_MIN, 0});
    EXPECT_EQ(frame->document().lineWidth(), CRichEditDoc::kMaxLineWidth);
    EXPECT_EQ(CRichEditDoc::ToThousandths(INT_MAX), 1491308088);
    EXPECT_EQ(CRichEditDoc::FromThousandths(INT_MAX), INT_MAX);
    EXPECT_EQ(CRichEditDoc::FromThousandths(INT_MIN), INT_MIN);
    EXPECT_FALSE(frame->OpenDocumentFile(QString::fromStdString(files.write("x.qvp", "not rtf").string())));
    EXPECT_EQ(messages.entries().back().text, "Failed to open document.");
}

TEST_F(Editor, SizeBoxTakesUpTo127Points) {
    QLineEdit* size = frame->formatBar()->sizeBox()->lineEdit();
    frame->view()->setFocus();
    QTest::keyClicks(frame->view(), QStringLiteral("abc"));
    select(0, 3);
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, QStringLiteral("127"));
    frame->view()->setFocus();
    QTextCursor c(&frame->document().text());
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontPointSize() * 20, 2540);
    size->setFocus();
    size->selectAll();
    QTest::keyClicks(size, QStringLiteral("128"));
    frame->view()->setFocus();
    ASSERT_FALSE(messages.entries().empty());
    EXPECT_EQ(messages.entries().back().text, "I'm sorry, but you must specify a smaller font size");
    EXPECT_EQ(c.charFormat().fontPointSize(), 127);
    // An empty box changes nothing.
    size->setFocus();
    size->clear();
    frame->view()->setFocus();
    EXPECT_EQ(c.charFormat().fontPointSize(), 127);
}

TEST_F(Editor, MixedBoldShowsIndeterminateAndTwoPressesMakeItBoldThenPlain) {
    QTest::keyClicks(frame->view(), QStringLiteral("plain "));
    frame->action(CMainFrame::Bold)->trigger();
    QTest::keyClicks(frame->view(), QStringLiteral("bold"));
    select(0, 10);
    EXPECT_EQ(frame->markOf(CMainFrame::Bold), CMainFrame::Mark::Indeterminate);
    EXPECT_TRUE(frame->action(CMainFrame::Bold)->property("indeterminate").toBool());
    frame->action(CMainFrame::Bold)->trigger();
    EXPECT_EQ(frame->markOf(CMainFrame::Bold), CMainFrame::Mark::Marked);
    EXPECT_TRUE(frame->action(CMainFrame::Bold)->isChecked());
    frame->action(CMainFrame::Bold)->trigger();
    EXPECT_EQ(frame->markOf(CMainFrame::Bold), CMainFrame::Mark::Unmarked);
    // Alignment: marked, unmarked, or mixed over the selected paragraphs.
    frame->action(CMainFrame::AlignCenter)->trigger();
    EXPECT_EQ(frame->markOf(CMainFrame::AlignCenter), CMainFrame::Mark::Marked);
    EXPECT_EQ(frame->markOf(CMainFrame::AlignLeft), CMainFrame::Mark::Unmarked);
}

TEST_F(Editor, EditCommandsFollowTheSelectionAndUndo) {
    frame->NewDocument();
    EXPECT_FALSE(frame->action(CMainFrame::Undo)->isEnabled());
    EXPECT_FALSE(frame->action(CMainFrame::Cut)->isEnabled());
    EXPECT_FALSE(frame->action(CMainFrame::Copy)->isEnabled());
    QTest::keyClicks(frame->view(), QStringLiteral("text"));
    frame->UpdatePass();
    EXPECT_TRUE(frame->action(CMainFrame::Undo)->isEnabled());
    select(0, 2);
    EXPECT_TRUE(frame->action(CMainFrame::Cut)->isEnabled());
    EXPECT_TRUE(frame->action(CMainFrame::Copy)->isEnabled());
    frame->NewDocument();
    EXPECT_FALSE(frame->action(CMainFrame::Undo)->isEnabled()) << "nothing to undo after New";
}

TEST_F(Editor, ClosingRunsTheHandOffAndNewFormAddsNew) {
    const std::string catalogue = StubProgram::install(programs / "Q V", "TOLVAD.EXE").string();
    ::setenv("QV_STUB_LOG", (programs / "stub.log").c_str(), 1);
    qv::platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", catalogue, "QVLEGAL.INI");
    frame->setStartedWithoutFile(false);
    frame->action(CMainFrame::NewForm)->trigger();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(StubProgram::lines(programs.path()), std::vector<std::string>{"TOLVAD.EXE\t/New"});
    EXPECT_EQ(entry(), "");

    frame->show();
    qv::platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", catalogue, "QVLEGAL.INI");
    QTest::keyClicks(frame->view(), QStringLiteral("changed"));
    messages.setNextReply(qv::MessageReply::Cancel);
    frame->close();
    EXPECT_TRUE(frame->isVisible()) << "a cancelled save question keeps the editor open";
    EXPECT_EQ(entry(), catalogue);
    messages.setNextReply(qv::MessageReply::No);
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(StubProgram::lines(programs.path(), 2),
              (std::vector<std::string>{"TOLVAD.EXE\t/New", "TOLVAD.EXE"}));
    EXPECT_EQ(entry(), "");
    ::unsetenv("QV_STUB_LOG");
}

TEST_F(Editor, SaveAsAsksBeforeReplacingANameTypedWithoutExtension) {
    const auto existing = files.write("lease.qvp", "an earlier print file");
    QTest::keyClicks(frame->view(), QStringLiteral("changed"));
    {
        qv::test::SaveAsDriver driver(QString::fromStdString((files / "lease").string()), QMessageBox::No);
        frame->action(CMainFrame::SaveAs)->trigger();
        EXPECT_TRUE(driver.dialogShown());
        EXPECT_TRUE(driver.question().contains(QStringLiteral("lease.qvp"))) << driver.question().toStdString();
    }
    EXPECT_EQ(TempDir::read(existing), "an earlier print file");
    EXPECT_TRUE(frame->document().text().isModified());
    {
        qv::test::SaveAsDriver driver(QString::fromStdString((files / "fresh").string()), QMessageBox::No);
        frame->action(CMainFrame::SaveAs)->trigger();
        EXPECT_TRUE(driver.question().isEmpty());
    }
    EXPECT_NE(TempDir::read(files / "fresh.qvp").find("changed"), std::string::npos);
}

TEST_F(Editor, PrintsEveryPageInsideTheDocumentsMargins) {
    QByteArray rtf = "{\\rtf1\\f0\\fs24 ";
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            rtf += "\\page ";
        for (int i = 1; i <= 10; ++i)
            rtf += "Page " + QByteArray::number(page) + " line " + QByteArray::number(i) + ".\\par ";
    }
    rtf += "}\r\n{\r\n\\mymargl2880\r\n\\mymargr1440\r\n\\mymargt1440\r\n\\mymargb1440\r\n\\orient1\r\n};";
    const auto path = files.write("long.qvp", std::string(rtf.constData(), rtf.size()));
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(path.string())));
    const auto pdf = files / "long.pdf";
    frame->printer().setOutputFormat(QPrinter::PdfFormat);
    frame->printer().setOutputFileName(QString::fromStdString(pdf.string()));
    frame->setModalHook([](QDialog& d) { d.setResult(QDialog::Accepted); });
    frame->action(CMainFrame::Print)->trigger();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const auto info = qv::test::ProcessRunner::run("/usr/bin/pdfinfo", {pdf.string()});
    ASSERT_EQ(info.exitCode, 0) << "poppler-utils are installed by the test command";
    const auto pages = info.out.find("Pages:");
    ASSERT_NE(pages, std::string::npos);
    EXPECT_EQ(std::stoi(info.out.substr(pages + 6)), 3) << info.out;
    // The first line starts two inches in (144 points).
    const auto box = qv::test::ProcessRunner::run("/usr/bin/pdftotext",
                                                  {"-bbox", "-f", "1", "-l", "1", pdf.string(), "-"});
    const auto at = box.out.find("<word xMin=\"");
    ASSERT_NE(at, std::string::npos);
    const double x = std::stod(box.out.substr(at + 12));
    EXPECT_NEAR(x, 144.0, 3.0);
}

namespace {

// Read only up to the over-long control word: what follows it is lost to the editor.
const char* const kDamagedFile =
    "{\\rtf1\\ansi Read part.\\par \\averylongcontrolwordthatnoreaderknowsaboutatall Lost part.\\par}\r\n"
    "{\r\n\\mymargl720\r\n\\mymargr720\r\n\\mymargt720\r\n\\mymargb720\r\n\\orient1\r\n};";

const char* const kReplaceQuestionEnd =
    ". Saving it would replace the original with only what could be read. "
    "Save it under another name instead?";

} // namespace

TEST_F(Editor, AFileReadOnlyInPartOpensWithAMessageSayingWhatCouldNotBeRead) {
    const auto path = files.write("damaged.qvp", kDamagedFile);
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(path.string())));
    const QString problem = frame->document().readProblem();
    ASSERT_FALSE(problem.isEmpty());
    EXPECT_TRUE(frame->document().text().toPlainText().startsWith(QStringLiteral("Read part.")));
    EXPECT_EQ(frame->document().margins(), (std::array<int, 4>{720, 720, 720, 720}));
    ASSERT_EQ(messages.entries().size(), 1u);
    const auto& shown = messages.entries().back();
    EXPECT_EQ(shown.text.rfind("damaged.qvp could not be read completely: ", 0), 0u) << shown.text;
    QString quoted = problem.trimmed();
    while (quoted.endsWith(QLatin1Char('.')))
        quoted.chop(1);
    EXPECT_NE(shown.text.find(quoted.toStdString()), std::string::npos) << shown.text;
    EXPECT_EQ(shown.icon, qv::MessageIcon::Exclamation);

    // A whole file afterwards: no message, nothing remembered.
    messages.clear();
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(files.write("whole.qvp", kPrintFile).string())));
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_TRUE(frame->document().readProblem().isEmpty());
}

TEST_F(Editor, SavingOverAFileReadOnlyInPartAsksFirst) {
    struct Row {
        const char* what;
        qv::MessageReply reply;
        bool originalKept;
        bool otherWritten;
    };
    const Row rows[] = {
        {"Cancel writes nothing", qv::MessageReply::Cancel, true, false},
        {"No replaces the original", qv::MessageReply::No, false, false},
        {"Yes saves under another name", qv::MessageReply::Yes, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto path = files.write("damaged.qvp", kDamagedFile);
        const auto other = files / "other.qvp";
        std::filesystem::remove(other);
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(path.string())));
        frame->setFileChooser([&](bool) { return QString::fromStdString((files / "other").string()); });
        QTest::keyClicks(frame->view(), QStringLiteral("typed "));
        messages.clear();
        messages.setNextReply(row.reply);
        frame->action(CMainFrame::Save)->trigger();
        ASSERT_EQ(messages.entries().size(), 1u);
        const auto& asked = messages.entries().front();
        EXPECT_EQ(asked.text.rfind("damaged.qvp could not be read completely: ", 0), 0u) << asked.text;
        EXPECT_TRUE(QByteArray::fromStdString(asked.text).endsWith(kReplaceQuestionEnd)) << asked.text;
        EXPECT_EQ(asked.buttons, qv::MessageButtons::YesNoCancel);
        EXPECT_EQ(asked.caption, "Q-V Print File Editor");
        EXPECT_EQ(TempDir::read(path) == kDamagedFile, row.originalKept);
        EXPECT_EQ(std::filesystem::exists(other), row.otherWritten);
        if (row.otherWritten) {
            EXPECT_NE(TempDir::read(other).find("typed"), std::string::npos);
        }
        EXPECT_EQ(frame->document().text().isModified(), row.reply == qv::MessageReply::Cancel);

        // Once saved somewhere, saving again asks nothing.
        if (row.reply != qv::MessageReply::Cancel) {
            messages.clear();
            frame->action(CMainFrame::Save)->trigger();
            EXPECT_TRUE(messages.entries().empty());
        }
    }
}

TEST_F(Editor, SaveAsToAnotherNameAndClosingWithSaveAreGuardedOnlyOverTheOriginal) {
    const auto path = files.write("damaged.qvp", kDamagedFile);
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(path.string())));
    QTest::keyClicks(frame->view(), QStringLiteral("typed "));
    messages.clear();
    frame->setFileChooser([&](bool) { return QString::fromStdString((files / "copy.qvp").string()); });
    frame->action(CMainFrame::SaveAs)->trigger();
    EXPECT_TRUE(messages.entries().empty()) << "another name is free";
    EXPECT_TRUE(std::filesystem::exists(files / "copy.qvp"));
    // Back over the original under Save As: asked again.
    frame->setFileChooser([&](bool) { return QString::fromStdString(path.string()); });
    messages.setNextReply(qv::MessageReply::Cancel);
    frame->action(CMainFrame::SaveAs)->trigger();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(TempDir::read(path), kDamagedFile);

    // Closing: Yes to saving changes, then Cancel to replacing the original keeps the window.
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(path.string())));
    QTest::keyClicks(frame->view(), QStringLiteral("typed "));
    messages.clear();
    messages.setNextReply(qv::MessageReply::Yes);
    messages.setNextReply(qv::MessageReply::Cancel);
    frame->close();
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(messages.entries().size(), 2u);
    EXPECT_TRUE(QByteArray::fromStdString(messages.entries()[1].text).endsWith(kReplaceQuestionEnd));
    EXPECT_EQ(TempDir::read(path), kDamagedFile);
}

TEST_F(Editor, PrintSetupAndPagePropertiesPrinterButtonChooseThePrinter) {
    // Print setup: the printer selection dialog on the editor's printer; the page follows it.
    std::vector<QString> shown;
    frame->setModalHook([&](QDialog& dialog) {
        shown.push_back(QString::fromLatin1(dialog.metaObject()->className()));
        if (auto* chooser = qobject_cast<QPrintDialog*>(&dialog)) {
            chooser->printer()->setPageSize(QPageSize(QPageSize::Legal));
            chooser->done(QDialog::Accepted);
        }
    });
    ASSERT_NE(frame->action(CMainFrame::PrintSetup), nullptr);
    frame->action(CMainFrame::PrintSetup)->trigger();
    ASSERT_EQ(shown, std::vector<QString>{QStringLiteral("QPrintDialog")});
    EXPECT_EQ(frame->document().paper()[1], 20160) << "Legal is 14 inches long";

    // "Printer..." in Page Properties: the same dialog, on the page dialog's own settings.
    shown.clear();
    QPrinter* chosenOn = nullptr;
    frame->setModalHook([&](QDialog& dialog) {
        shown.push_back(QString::fromLatin1(dialog.metaObject()->className()));
        if (auto* chooser = qobject_cast<QPrintDialog*>(&dialog)) {
            chosenOn = chooser->printer();
            chosenOn->setPageSize(QPageSize(QPageSize::A4));
            chooser->done(QDialog::Accepted);
        } else {
            dialog.findChild<QPushButton*>(QStringLiteral("printer1026"))->click();
            dialog.done(QDialog::Accepted);
        }
    });
    frame->action(CMainFrame::PageSetup)->trigger();
    EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("qv::PagePropertiesDialog"),
                                           QStringLiteral("QPrintDialog")}));
    EXPECT_NE(chosenOn, &frame->printer()) << "Cancel must leave the printer as it was";
    EXPECT_TRUE(frame->printer().pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A4)));
}

TEST_F(Editor, AMixedSelectionLooksMixedOnItsButtons) {
    QTest::keyClicks(frame->view(), QStringLiteral("plain "));
    for (auto c : {CMainFrame::Bold, CMainFrame::Italic, CMainFrame::Underline})
        frame->action(c)->trigger();
    QTest::keyClicks(frame->view(), QStringLiteral("marked"));
    QTest::keyClick(frame->view(), Qt::Key_Return);
    frame->action(CMainFrame::AlignCenter)->trigger();
    QTest::keyClicks(frame->view(), QStringLiteral("centred"));
    auto* bar = frame->findChild<QToolBar*>(QStringLiteral("toolbar128"));
    ASSERT_NE(bar, nullptr);
    const CMainFrame::Command formats[] = {CMainFrame::Bold,      CMainFrame::Italic,
                                           CMainFrame::Underline, CMainFrame::AlignLeft,
                                           CMainFrame::AlignCenter, CMainFrame::AlignRight};
    std::map<int, QImage> plain;
    select(0, 3); // uniform: nothing mixed
    for (auto c : formats)
        plain[c] = frame->action(c)->icon().pixmap(16, 16).toImage();
    select(0, 16); // plain and marked text over a left and a centred paragraph
    for (auto c : formats) {
        SCOPED_TRACE(frame->action(c)->toolTip().toStdString());
        EXPECT_EQ(bar->widgetForAction(frame->action(c))->accessibleDescription(), QStringLiteral("mixed"));
        EXPECT_NE(frame->action(c)->icon().pixmap(16, 16).toImage(), plain[c]) << "mixed must look different";
    }
    select(0, 3);
    for (auto c : formats) {
        SCOPED_TRACE(frame->action(c)->toolTip().toStdString());
        EXPECT_EQ(bar->widgetForAction(frame->action(c))->accessibleDescription(), QString());
        EXPECT_EQ(frame->action(c)->icon().pixmap(16, 16).toImage(), plain[c]);
    }
}

TEST_F(Editor, PasteFollowsTheClipboardWithoutTheCaretMoving) {
    QGuiApplication::clipboard()->clear();
    QTest::keyClicks(frame->view(), QStringLiteral("copy me"));
    select(0, 4);
    EXPECT_FALSE(frame->action(CMainFrame::Paste)->isEnabled());
    frame->action(CMainFrame::Copy)->trigger();
    EXPECT_TRUE(frame->action(CMainFrame::Paste)->isEnabled());
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(frame->action(CMainFrame::Paste)->isEnabled());
}

TEST_F(Editor, SizeBoxRefusesSizesBelowOne) {
    QLineEdit* size = frame->formatBar()->sizeBox()->lineEdit();
    QTest::keyClicks(frame->view(), QStringLiteral("abc"));
    select(0, 3);
    QTextCursor c(&frame->document().text());
    c.setPosition(2);
    for (const char* typed : {"12", "0", "-5", "x"}) {
        SCOPED_TRACE(typed);
        size->setFocus();
        size->selectAll();
        QTest::keyClicks(size, QString::fromLatin1(typed));
        frame->view()->setFocus();
        EXPECT_EQ(c.charFormat().fontPointSize(), 12);
    }
}

TEST_F(Editor, SendMailNeedsAMailProgram) {
    const QByteArray path = qgetenv("PATH");
    TempDir bin;
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()));
    {
        CMainFrame withoutMail(profile, messages);
        EXPECT_FALSE(withoutMail.action(CMainFrame::SendMail)->isEnabled());
    }
    StubProgram::install(bin.path(), "xdg-email");
    {
        CMainFrame withMail(profile, messages);
        EXPECT_TRUE(withMail.action(CMainFrame::SendMail)->isEnabled());
    }
    qputenv("PATH", path);
}

TEST_F(Editor, PreviewKeepsOneOrTwoPages) {
    QPrintPreviewWidget::ViewMode seen{};
    QPrintPreviewWidget::ViewMode leave = QPrintPreviewWidget::FacingPagesView;
    frame->setModalHook([&](QDialog& dialog) {
        auto* pages = dialog.findChild<QPrintPreviewWidget*>();
        ASSERT_NE(pages, nullptr);
        seen = pages->viewMode();
        pages->setViewMode(leave);
    });
    frame->action(CMainFrame::PrintPreview)->trigger();
    EXPECT_EQ(seen, QPrintPreviewWidget::SinglePageView);
    EXPECT_EQ(profile.GetProfileInt("Settings", "PreviewPages", 0), 2);
    leave = QPrintPreviewWidget::SinglePageView;
    frame->action(CMainFrame::PrintPreview)->trigger();
    EXPECT_EQ(seen, QPrintPreviewWidget::FacingPagesView);
    EXPECT_EQ(profile.GetProfileInt("Settings", "PreviewPages", 0), 1);
}

TEST_F(Editor, AFileOpensAtItsStart) {
    std::string rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 200; ++i)
        rtf += "Line " + std::to_string(i) + "\\par ";
    rtf += "}";
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(files.write("long.qvp", rtf).string())));
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->view()->textCursor().position(), 0);
    EXPECT_EQ(frame->view()->verticalScrollBar()->value(), 0);
}

TEST(FontNames, ListFamiliesByTheirOwnNames) {
    const QList<QPair<QString, QStringList>> families = {
        {QStringLiteral("C059 [urw]"), {QStringLiteral("Latin")}},
        {QStringLiteral("C059 [other]"), {QStringLiteral("Latin")}},
        {QStringLiteral("Nimbus Sans [urw]"), {QStringLiteral("Latin"), QStringLiteral("Greek")}},
        {QStringLiteral("Plain"), {QStringLiteral("Latin")}}};
    EXPECT_EQ(FormatBar::FontNames(families),
              (QStringList{QStringLiteral("C059"), QStringLiteral("Nimbus Sans (Greek)"),
                           QStringLiteral("Nimbus Sans (Latin)"), QStringLiteral("Plain")}));
}

TEST_F(Editor, FontBoxShowsNoFoundries) {
    const QComboBox* box = frame->formatBar()->fontBox();
    for (int i = 0; i < box->count(); ++i)
        EXPECT_FALSE(box->itemText(i).contains(QLatin1Char('['))) << box->itemText(i).toStdString();
}

TEST_F(Editor, UsualKeysFormatTheSelection) {
    const std::pair<QKeyCombination, CMainFrame::Command> keys[] = {
        {Qt::CTRL | Qt::Key_B, CMainFrame::Bold},      {Qt::CTRL | Qt::Key_I, CMainFrame::Italic},
        {Qt::CTRL | Qt::Key_U, CMainFrame::Underline}, {Qt::CTRL | Qt::Key_E, CMainFrame::AlignCenter},
        {Qt::CTRL | Qt::Key_R, CMainFrame::AlignRight}, {Qt::CTRL | Qt::Key_L, CMainFrame::AlignLeft}};
    QTest::keyClicks(frame->view(), QStringLiteral("text"));
    select(0, 4);
    for (const auto& [k, command] : keys) {
        SCOPED_TRACE(QKeySequence(k).toString().toStdString());
        QTest::keyClick(frame->view(), k.key(), k.keyboardModifiers());
        EXPECT_EQ(frame->markOf(command), CMainFrame::Mark::Marked);
    }
}

TEST(Messages, CarryTheirProgramsCaption) {
    QString caption;
    const auto answer = [&caption] {
        QTimer::singleShot(0, [&caption] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                caption = box->windowTitle();
                box->close();
            }
        });
    };
    answer();
    qv::QtMessages(nullptr, CMainFrame::kTitle).show("Saved.", qv::MessageIcon::Information);
    EXPECT_EQ(caption, QStringLiteral("Q-V Print File Editor"));
    answer();
    qv::QtMessages(nullptr, "TOLVAD").show("Saved.", qv::MessageIcon::Information);
    EXPECT_EQ(caption, QStringLiteral("TOLVAD"));
    answer();
    qv::QtMessages(nullptr, "TOLVAD")
        .show("Saved.", qv::MessageIcon::Information, qv::MessageButtons::Ok, "Banrow");
    EXPECT_EQ(caption, QStringLiteral("Banrow"));
}

TEST_F(Editor, ARecentFileThatNoLongerOpensLeavesTheList) {
    const auto kept = files.write("kept.qvp", kPrintFile);
    const auto gone = files.write("gone.qvp", kPrintFile);
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(kept.string())));
    ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(gone.string())));
    std::filesystem::remove(gone);
    QAction* first = frame->findChild<QAction*>(QStringLiteral("cmd57616"));
    ASSERT_EQ(first->data().toString().toStdString(), gone.string());
    first->trigger();
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), kept.string());
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File2"), "");
    EXPECT_FALSE(frame->findChild<QAction*>(QStringLiteral("cmd57617"))->isVisible());
}

TEST_F(Editor, ShiftF1TellsWhatTheNextButtonDoesAndF6MovesBetweenThePanes) {
    QTest::keyClicks(frame->view(), QStringLiteral("text"));
    select(0, 4);
    auto* toolbar = frame->findChild<QToolBar*>(QStringLiteral("toolbar128"));
    QWidget* bold = toolbar->widgetForAction(frame->action(CMainFrame::Bold));
    QTest::keyClick(frame->view(), Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    QTest::mouseClick(bold, Qt::LeftButton);
    EXPECT_EQ(frame->markOf(CMainFrame::Bold), CMainFrame::Mark::Unmarked) << "told, not done";
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(bold->whatsThis(), QStringLiteral("Makes the selection boldfaced"));
    QWhatsThis::hideText();

    // F6 goes on to the next pane, Shift+F6 back, round and round.
    const std::pair<QKeyCombination, QWidget*> steps[] = {
        {Qt::Key_F6 | Qt::NoModifier, frame->formatBar()->fontBox()},
        {Qt::Key_F6 | Qt::NoModifier, frame->view()},
        {Qt::SHIFT | Qt::Key_F6, frame->formatBar()->fontBox()},
        {Qt::SHIFT | Qt::Key_F6, frame->view()},
    };
    frame->view()->setFocus();
    for (const auto& [k, pane] : steps) {
        QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == pane || pane->isAncestorOf(focus)) << QKeySequence(k).toString().toStdString();
    }
}
