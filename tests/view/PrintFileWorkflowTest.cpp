#include "view/PrintFileWorkflow.h"
#include "formengine/DocumentOpener.h"
#include "support/DocFixture.h"
#include "support/ScopedPath.h"
#include "support/StubProgram.h"
#include "support/TemplateBuilder.h"

#include <cstdlib>
#include <fstream>

using namespace qv;
using qv::test::StubProgram;
using qv::test::TempDir;
using qv::test::TemplateBuilder;

namespace {

/// A filled-in form, a temporary home, and stand-ins for the print file editor and the
/// desktop's opener.
class Workflow : public qv::test::DocFixture {
protected:
    void SetUp() override {
        StubProgram::install(programs.path(), "QVEDIT.EXE");
        StubProgram::install(programs.path(), "xdg-open");
        path.prepend(programs.path());
        const auto form = dir.write("lease.qvf", TemplateBuilder::simple({"NAME"}, "Lease to |NAME|."));
        ASSERT_TRUE(DocumentOpener::OpenDocumentFile(doc, form.string() + "?Office Lease"));
        doc.StoreAnswer(0, "Jane Roe");
        profile.WriteProfileInt("Q-V Davov Forms Defaults", "First Time Save As", 1);
    }

    bool done() {
        PrintFileWorkflow::Hooks hooks;
        hooks.firstTimeHelp = [this] {
            ++helpShown;
            return helpResult;
        };
        hooks.askPrintFilePath = [this](const std::string& extension, const std::string& filter) {
            asked.push_back(extension + " " + filter);
            return printPath;
        };
        hooks.closeProgram = [this] { ++closed; };
        hooks.page = [] { return PrintFilePage{}; };
        hooks.programFolder = programs.path();
        return PrintFileWorkflow(doc, profile, messages, hooks).OnDone();
    }
    void associateRtfWith(const std::string& desktopFile, const std::filesystem::path& program) {
        const auto apps = home.home() / ".local/share/applications";
        std::filesystem::create_directories(apps);
        std::ofstream(apps / desktopFile)
            << "[Desktop Entry]\nType=Application\nName=W\nExec=" << program.string() << " %f\n";
        std::filesystem::create_directories(home.configHome());
        std::ofstream(home.configHome() / "mimeapps.list")
            << "[Default Applications]\ntext/rtf=" << desktopFile << "\napplication/rtf=" << desktopFile
            << "\n";
    }
    std::vector<std::string> started(std::size_t atLeast = 1) {
        return StubProgram::lines(programs.path(), atLeast);
    }

    qv::test::TempHome home;
    TempDir programs;
    TempDir work;
    qv::test::ScopedPath path;
    std::string printPath = (work / "Office lease.qvp").string();
    int helpShown = 0;
    int helpResult = 2;
    int closed = 0;
    std::vector<std::string> asked;
};

} // namespace

TEST_F(Workflow, YesOnAnUnnamedWorksheetSavesItUnderThePrintFilesNameAndStartsTheEditor) {
    messages.setNextReply(MessageReply::Yes);
    ASSERT_TRUE(done());
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text,
              "Would you like to save the current file before editing the print file?");
    EXPECT_EQ(messages.entries()[0].caption, "Confirmation");
    EXPECT_EQ(messages.entries()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(messages.entries()[0].icon, MessageIcon::Question);
    EXPECT_EQ(asked, std::vector<std::string>{"qvp Q-V Print Files|*.qvp||"});
    EXPECT_TRUE(std::filesystem::exists(work / "Office lease.QVW"));
    EXPECT_EQ(doc.GetPathName(), (work / "Office lease.QVW").string());
    EXPECT_EQ(host.recentFiles.back(), (work / "Office lease.QVW").string());
    const std::string rtf = TempDir::read(printPath);
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf.find("Jane Roe"), std::string::npos);
    // The editor's command line: program folder, "QVEdit.EXE ", the path unquoted.
    EXPECT_EQ(started(), std::vector<std::string>{"QVEDIT.EXE\t" + printPath});
    EXPECT_TRUE(state.handOffPassed);
    EXPECT_EQ(closed, 1);
}

TEST_F(Workflow, YesOnANamedWorksheetSavesItUnderItsOwnName) {
    const auto worksheet = work / "Lease.qvw";
    doc.SetPathName(worksheet.string());
    messages.setNextReply(MessageReply::Yes);
    ASSERT_TRUE(done());
    EXPECT_EQ(messages.entries()[0].text,
              "You have already saved your worksheet as \"Lease.qvw\".  Would you like to "
              "save any changes before naming your print file?");
    EXPECT_TRUE(std::filesystem::exists(worksheet));
    EXPECT_FALSE(std::filesystem::exists(work / "Office lease.QVW"));
    EXPECT_TRUE(std::filesystem::exists(printPath));
}

TEST_F(Workflow, NoWritesOnlyThePrintFile) {
    messages.setNextReply(MessageReply::No);
    ASSERT_TRUE(done());
    EXPECT_TRUE(std::filesystem::exists(printPath));
    EXPECT_FALSE(std::filesystem::exists(work / "Office lease.QVW"));
    EXPECT_EQ(doc.GetPathName(), "*");
    EXPECT_EQ(closed, 1);
}

TEST_F(Workflow, CancelInTheQuestionOrInSaveAsWritesNothing) {
    messages.setNextReply(MessageReply::Cancel);
    EXPECT_FALSE(done());
    EXPECT_TRUE(asked.empty());
    messages.setNextReply(MessageReply::Yes);
    printPath.clear();
    EXPECT_FALSE(done());
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));
    EXPECT_EQ(doc.GetPathName(), "*");
    EXPECT_FALSE(state.handOffPassed);
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(StubProgram::lines(programs.path(), 0).empty());
}

TEST_F(Workflow, AMissingEditorIsReportedAndTheProgramStays) {
    std::filesystem::remove(programs / "QVEDIT.EXE");
    messages.setNextReply(MessageReply::No);
    EXPECT_TRUE(done());
    EXPECT_EQ(messages.entries().back().text,
              "The Q-V Print File Editor could not be started.  This is very likely "
              "because the program has not been installed properly.");
    EXPECT_EQ(messages.entries().back().icon, MessageIcon::Stop);
    EXPECT_TRUE(std::filesystem::exists(printPath));
    EXPECT_FALSE(state.handOffPassed);
    EXPECT_EQ(closed, 0);
}

TEST_F(Workflow, FirstTimeHelpUntilTheUserTicksNeverAgain) {
    profile.WriteProfileInt("Q-V Davov Forms Defaults", "First Time Save As", 0);
    messages.setNextReply(MessageReply::Cancel);
    done();
    EXPECT_EQ(helpShown, 1);
    EXPECT_EQ(profile.GetProfileInt("Q-V Davov Forms Defaults", "First Time Save As", 0), 0);
    helpResult = 1;
    messages.setNextReply(MessageReply::Cancel);
    done();
    EXPECT_EQ(helpShown, 2);
    EXPECT_EQ(profile.GetProfileInt("Q-V Davov Forms Defaults", "First Time Save As", 0), 1);
    messages.setNextReply(MessageReply::Cancel);
    done();
    EXPECT_EQ(helpShown, 2);
}

TEST_F(Workflow, WordProcessorGetsRtfAndTheProgramStaysOpen) {
    profile.WriteProfileInt("Q-V Davov Forms Defaults", "Use External", 1);
    associateRtfWith("writer.desktop", StubProgram::install(programs / "office", "writer"));
    printPath = (work / "Office lease.rtf").string();
    messages.setNextReply(MessageReply::No);
    ASSERT_TRUE(done());
    EXPECT_EQ(asked, std::vector<std::string>{"rtf Rich Text Files|*.rtf||"});
    EXPECT_TRUE(TempDir::read(printPath) == PrintFileWriter::WordProcessorRtf(doc))
        << "the word-processor variant";
    EXPECT_EQ(started(), std::vector<std::string>{"xdg-open\t" + printPath});
    EXPECT_TRUE(state.handOffPassed);
    EXPECT_EQ(closed, 0);
}

TEST_F(Workflow, WordPadIsRefusedAndItsPrintFileRemoved) {
    profile.WriteProfileInt("Q-V Davov Forms Defaults", "Use External", 1);
    associateRtfWith("wordpad.desktop", StubProgram::install(programs / "WINDOWS", "WORDPAD.EXE"));
    printPath = (work / "Office lease.rtf").string();
    messages.setNextReply(MessageReply::No);
    done();
    EXPECT_FALSE(std::filesystem::exists(printPath));
    EXPECT_EQ(messages.entries().back().text,
              "I'm sorry, but Q-V Davov Software does not support WordPad as a word processor.");
    EXPECT_EQ(messages.entries().back().icon, MessageIcon::None);
    EXPECT_FALSE(state.handOffPassed);
}

TEST_F(Workflow, AWordProcessorThatCannotStartIsReported) {
    profile.WriteProfileInt("Q-V Davov Forms Defaults", "Use External", 1);
    printPath = (work / "Office lease.rtf").string();
    messages.setNextReply(MessageReply::No);
    done();
    EXPECT_TRUE(std::filesystem::exists(printPath));
    EXPECT_EQ(messages.entries().back().text,
              "I'm sorry, but your word processor could not be started.  This could either be because you "
              "are low on "
              "memory, the word processor does not support the file format Q-V Davov Forms uses.");
    EXPECT_EQ(messages.entries().back().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(state.handOffPassed);
}
