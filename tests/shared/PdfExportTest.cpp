#include "shared/ui/PdfExport.h"
#include "editor/ui/CMainFrame.h"
#include "entry/ui/CMainFrame.h"
#include "entry/ui/InterviewBar.h"
#include "support/DocFixture.h"
#include "support/ProcessRunner.h"
#include "support/SaveAsDriver.h"
#include "support/ScopedPath.h"
#include "support/StubProgram.h"
#include "support/TemplateBuilder.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace qv;
using qv::test::StubProgram;
using qv::test::TempDir;
using qv::test::TemplateBuilder;

namespace {

bool havePdfToText() {
    return std::filesystem::exists("/usr/bin/pdftotext");
}

// The text of every page, pages split by form feeds.
std::string pdfText(const std::filesystem::path& pdf) {
    return qv::test::ProcessRunner::run("/usr/bin/pdftotext", {"-layout", pdf.string(), "-"}).out;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// What the modal dialogs of an export are answered with.
struct Answers {
    QString fileName;            // typed into the Save As dialog; empty cancels it
    const char* offer = nullptr; // the button pressed when the file is written; none closes
    int fileDialogs = 0;
    int offers = 0;
    int printDialogs = 0;

    std::function<void(QDialog&)> hook() {
        return [this](QDialog& d) {
            if (auto* files = qobject_cast<QFileDialog*>(&d)) {
                ++fileDialogs;
                if (fileName.isEmpty()) {
                    files->reject();
                } else {
                    files->selectFile(fileName);
                    static_cast<QDialog*>(files)->accept(); // the file dialog's own checks run
                }
            } else if (auto* box = qobject_cast<QMessageBox*>(&d)) {
                ++offers;
                if (offer)
                    box->findChild<QPushButton*>(QString::fromLatin1(offer))->click();
            } else {
                ++printDialogs; // the print dialog: OK with the printer as set
                d.setResult(QDialog::Accepted);
            }
        };
    }
};

class LegalExport : public qv::test::DocFixture {
protected:
    void SetUp() override {
        frame = std::make_unique<CMainFrame>(doc, messages, profile,
                                             [] { return std::chrono::milliseconds(50000); });
        host.forward = frame.get();
        std::string words;
        for (int i = 0; i < 900; ++i)
            words += "word ";
        const std::string form = dir.write("sale.qvf", TemplateBuilder()
                                                           .declare("BUYER", "Who is buying?")
                                                           .body("Sold to |BUYER|. " + words + "\xAE")
                                                           .bytes())
                                     .string();
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(form) + QStringLiteral("?Bill of Sale")));
        frame->interviewBar()->setFieldText("Jane Roe");
        frame->UpdatePass();
    }
    void TearDown() override {
        host.forward = nullptr;
        doc.SetModifiedFlag(false);
        frame.reset();
    }
    QAction* exportAction() {
        QAction* a = frame->findChild<QAction*>(QStringLiteral("cmd32810"));
        EXPECT_NE(a, nullptr);
        EXPECT_TRUE(a && a->isEnabled());
        return a;
    }

    qv::test::TempHome home;
    TempDir out;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(LegalExport, WritesTheSamePagesAsPrintingToAPdfFile) {
    if (!havePdfToText())
        GTEST_SKIP() << "poppler-utils are installed by the test command";
    ASSERT_EQ(exportAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    Answers answers;
    frame->setModalHook(answers.hook());
    frame->printer().setOutputFormat(QPrinter::PdfFormat);
    frame->printer().setOutputFileName(QString::fromStdString((out / "printed.pdf").string()));
    frame->action(CMainFrame::Print)->trigger();
    ASSERT_EQ(answers.printDialogs, 1);

    // A name without extension gets ".pdf".
    answers.fileName = QString::fromStdString((out / "exported").string());
    exportAction()->trigger();
    EXPECT_EQ(answers.fileDialogs, 1);
    EXPECT_EQ(answers.offers, 1) << "the open offer comes once the file is written";
    ASSERT_TRUE(std::filesystem::exists(out / "exported.pdf"));
    const std::string printed = pdfText(out / "printed.pdf"), exported = pdfText(out / "exported.pdf");
    EXPECT_EQ(exported, printed);
    EXPECT_NE(exported.find("Jane Roe"), std::string::npos);
    EXPECT_NE(exported.find("- 2 -"), std::string::npos) << "a form of several pages";
    EXPECT_EQ(filesIn(out.path()), (std::vector<std::string>{"exported.pdf", "printed.pdf"}))
        << "no temporary file is left";
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(LegalExport, CancellingTheFileDialogWritesNothing) {
    Answers answers; // no file name: Cancel
    frame->setModalHook(answers.hook());
    exportAction()->trigger();
    EXPECT_EQ(answers.fileDialogs, 1);
    EXPECT_EQ(answers.offers, 0);
    EXPECT_TRUE(filesIn(out.path()).empty());
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(LegalExport, ANewFormIsSuggestedByItsNameAmongTheUsersDocuments) {
    // Not in the folder the program happened to be started from.
    std::filesystem::create_directories(home.home() / "Documents");
    QString suggested;
    frame->setModalHook([&](QDialog& d) {
        if (auto* files = qobject_cast<QFileDialog*>(&d))
            suggested = files->selectedFiles().value(0);
        d.reject();
    });
    exportAction()->trigger();
    EXPECT_EQ(suggested.toStdString(), (home.home() / "Documents" / "Bill of Sale.pdf").string());
}

TEST_F(LegalExport, AFolderThatTakesNoFilesBringsTheFileDialogBack) {
    const QStringList names{QStringLiteral("/proc/qv-export-test.pdf"),
                            QString::fromStdString((out / "sale.pdf").string())};
    int dialogs = 0;
    QStringList folders;
    frame->setModalHook([&](QDialog& d) {
        auto* files = qobject_cast<QFileDialog*>(&d);
        if (files && dialogs < names.size()) {
            folders << files->directory().absolutePath();
            files->selectFile(names[dialogs++]);
            static_cast<QDialog*>(files)->accept();
        } else {
            d.reject(); // a third dialog, or the "written" box: closed
        }
    });
    exportAction()->trigger();
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_NE(messages.entries()[0].text.find("the folder /proc cannot be written to"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(out / "sale.pdf"));
    // Back in the folder first offered, not the refused one: Qt's file dialog can hang
    // reading files in /proc.
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[1], folders[0]);
}

TEST_F(LegalExport, OpensTheFileOrItsFolderOnRequest) {
    TempDir programs;
    StubProgram::install(programs.path(), "xdg-open");
    qv::test::ScopedPath path;
    path.prepend(programs.path());
    ::setenv("QV_STUB_LOG", (programs / "stub.log").c_str(), 1);
    Answers answers;
    frame->setModalHook(answers.hook());
    answers.fileName = QString::fromStdString((out / "folder.pdf").string());
    answers.offer = PdfExport::kOpenFolderButton;
    exportAction()->trigger();
    answers.fileName = QString::fromStdString((out / "sale.pdf").string());
    answers.offer = PdfExport::kOpenFileButton;
    exportAction()->trigger();
    const auto started = StubProgram::lines(programs.path(), 2);
    ::unsetenv("QV_STUB_LOG");
    EXPECT_EQ(started, (std::vector<std::string>{"xdg-open\t" + out.path().string(),
                                                 "xdg-open\t" + (out / "sale.pdf").string()}));
}

TEST(PdfExportFailures, AFileThatCannotBeWrittenGetsAMessageAndLeavesNothing) {
    qv::test::TempHome home;
    TempDir out;
    qv::test::MessageRecorder messages;
    PdfExport exporter(nullptr, messages, [](QDialog& d) { return d.result(); });
    QPrinter settings(QPrinter::HighResolution);
    int pagesDrawn = 0;
    const PdfExport::Render onePage = [&](QPrinter& printer, const PdfExport::Progress& progress) {
        QPainter painter(&printer);
        if (!progress(1, 1))
            return false;
        painter.drawText(100, 100, QStringLiteral("page"));
        ++pagesDrawn;
        return true;
    };
    const struct {
        std::filesystem::path target;
        const char* said;
    } cases[] = {
        {out / "missing" / "form.pdf", "does not exist"},
        // Not even root creates files here.
        {"/proc/qv-export-test.pdf", "the folder /proc cannot be written to"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.string());
        messages.clear();
        EXPECT_FALSE(exporter.WriteTo(QString::fromStdString(c.target.string()), settings, onePage));
        ASSERT_EQ(messages.entries().size(), 1u);
        const std::string& text = messages.entries()[0].text;
        EXPECT_EQ(text.rfind("The PDF file " + c.target.string() + " could not be written: ", 0), 0u) << text;
        EXPECT_NE(text.find(c.said), std::string::npos) << text;
        EXPECT_FALSE(std::filesystem::exists(c.target));
    }
    EXPECT_EQ(pagesDrawn, 0) << "nothing is drawn for a file that cannot be made";

    // Cancelled while drawing: no file, no message, no temporary file, and an earlier
    // file of that name as it was.
    const auto earlier = out.write("kept.pdf", "an earlier file");
    messages.clear();
    const PdfExport::Render cancelled = [](QPrinter& printer, const PdfExport::Progress&) {
        QPainter painter(&printer);
        return false;
    };
    EXPECT_FALSE(exporter.WriteTo(QString::fromStdString(earlier.string()), settings, cancelled));
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(TempDir::read(earlier), "an earlier file");
    EXPECT_EQ(filesIn(out.path()), std::vector<std::string>{"kept.pdf"});
}

namespace {

class EditorExport : public ::testing::Test {
protected:
    void SetUp() override {
        frame = std::make_unique<editor::CMainFrame>(profile, messages);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        std::string body;
        for (int i = 0; i < 120; ++i)
            body += "Paragraph " + std::to_string(i) + " of the agreement.\\par ";
        // Landscape with wide margins, so that the layout the export copies matters.
        const auto file =
            files.write("note.qvp", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs24 " + body +
                                        "}\r\n{\r\n\\mymargl2880\r\n\\mymargr720\r\n"
                                        "\\mymargt1440\r\n\\mymargb1440\r\n\\orient2\r\n};");
        ASSERT_TRUE(frame->OpenDocumentFile(QString::fromStdString(file.string())));
    }
    void TearDown() override {
        frame->document().text().setModified(false);
        frame.reset();
    }

    qv::test::TempHome home;
    TempDir files;
    qv::platform::IniProfile profile{files / "QVEdit.ini"};
    qv::test::MessageRecorder messages;
    std::unique_ptr<editor::CMainFrame> frame;
};

} // namespace

TEST_F(EditorExport, WritesThePagesOfPrintAndAsksBeforeReplacingAFile) {
    if (!havePdfToText())
        GTEST_SKIP() << "poppler-utils are installed by the test command";
    QAction* exportPdf = frame->action(editor::CMainFrame::ExportPdf);
    ASSERT_TRUE(exportPdf && exportPdf->isEnabled());
    EXPECT_EQ(exportPdf->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    Answers answers;
    frame->setModalHook(answers.hook());
    frame->printer().setOutputFormat(QPrinter::PdfFormat);
    frame->printer().setOutputFileName(QString::fromStdString((files / "printed.pdf").string()));
    frame->action(editor::CMainFrame::Print)->trigger();
    // The file dialog suggests the document's own name.
    answers.fileName = QString::fromStdString((files / "note.pdf").string());
    exportPdf->trigger();
    ASSERT_TRUE(std::filesystem::exists(files / "note.pdf"));
    const std::string printed = pdfText(files / "printed.pdf");
    EXPECT_EQ(pdfText(files / "note.pdf"), printed);
    EXPECT_NE(printed.find("Paragraph 119"), std::string::npos);
    EXPECT_GE(std::count(printed.begin(), printed.end(), '\f'), 3) << "several pages";

    // Typed again without the extension: the dialog asks, and No keeps the file.
    const auto before = TempDir::read(files / "note.pdf");
    frame->setModalHook([](QDialog& d) { d.exec(); });
    {
        qv::test::SaveAsDriver driver(QString::fromStdString((files / "note").string()), QMessageBox::No);
        exportPdf->trigger();
        EXPECT_TRUE(driver.dialogShown());
        EXPECT_TRUE(driver.question().contains(QStringLiteral("note.pdf")))
            << driver.question().toStdString();
    }
    EXPECT_EQ(TempDir::read(files / "note.pdf"), before);
    EXPECT_TRUE(messages.entries().empty());
}
