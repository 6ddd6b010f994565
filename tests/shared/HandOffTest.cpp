#include "shared/HandOff.h"
#include "formengine/ProgramState.h"
#include "platform/DesktopMenu.h"
#include "platform/PrivateProfile.h"
#include "platform/ProgramManager.h"
#include "support/ScopedPath.h"
#include "support/StubProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using qv::HandOff;
using qv::ProgramState;
using qv::platform::PrivateProfile;
using qv::test::StubProgram;
using qv::test::TempDir;
using qv::test::TempHome;

namespace {

/// A temporary home with the catalogue's stand-in installed in a folder with blanks and
/// an opener on PATH that logs what it is asked to show.
class HandOffTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue = StubProgram::install(programs / "Q V Davov", "TOLVAD.EXE").string();
        StubProgram::install(programs.path(), "xdg-open");
        path.prepend(programs.path());
        ::setenv("QV_STUB_LOG", (programs / "stub.log").c_str(), 1);
        // The program group exists, as after setup, so showing it opens its folder.
        qv::platform::ProgramManager::SendProgramManagerRequests({"[CreateGroup(Q-V Davov Software)]"});
    }
    void TearDown() override { ::unsetenv("QV_STUB_LOG"); }
    void setEntry(const std::string& value) {
        PrivateProfile::WritePrivateValue("Binding Data", "Run", value, "QVLEGAL.INI");
    }
    std::string entry() {
        return PrivateProfile::ReadPrivateValue("Binding Data", "Run", "?", 255, "QVLEGAL.INI");
    }
    std::vector<std::string> started(std::size_t atLeast = 1) {
        return StubProgram::lines(programs.path(), atLeast);
    }
    std::string showGroup() {
        return "xdg-open\t" + qv::platform::DesktopMenu::LauncherFolder("Q-V Davov Software").string();
    }

    TempHome home;
    TempDir programs;
    std::string catalogue;
    qv::test::ScopedPath path;
    ProgramState state;
    HandOff handOff{state};
};

} // namespace

TEST_F(HandOffTest, ClosingRunsAnEntryWithNewUnchangedAndEmptiesIt) {
    setEntry(catalogue + " /New");
    handOff.CloseWithHandOff();
    EXPECT_EQ(started(), std::vector<std::string>{"TOLVAD.EXE\t/New"});
    EXPECT_EQ(entry(), "");
}

TEST_F(HandOffTest, NewFormAddsNewWhilePlainClosingDoesNot) {
    setEntry(catalogue);
    handOff.NewForm();
    EXPECT_EQ(started(), std::vector<std::string>{"TOLVAD.EXE\t/New"});
    EXPECT_EQ(entry(), "");

    setEntry(catalogue);
    handOff.CloseWithHandOff();
    EXPECT_EQ(started(2), (std::vector<std::string>{"TOLVAD.EXE\t/New", "TOLVAD.EXE"}));
    EXPECT_EQ(entry(), "");
}

TEST_F(HandOffTest, WithNothingWaitingNewFormShowsTheGroupAndClosingStartsNothing) {
    handOff.CloseWithHandOff();
    EXPECT_EQ(entry(), "");
    handOff.NewForm();
    EXPECT_EQ(started(), std::vector<std::string>{showGroup()});
}

TEST_F(HandOffTest, StartedEmptyNewFormShowsTheGroupAndLeavesTheEntryForClosing) {
    state.startedEmpty = true;
    setEntry(catalogue + " /New");
    handOff.NewForm();
    EXPECT_EQ(started(), std::vector<std::string>{showGroup()});
    EXPECT_EQ(entry(), catalogue + " /New");
    handOff.CloseWithHandOff();
    EXPECT_EQ(started(2), (std::vector<std::string>{showGroup(), "TOLVAD.EXE\t/New"}));
    EXPECT_EQ(entry(), "");
}

TEST_F(HandOffTest, AfterThePrintFileWorkflowClosingLeavesTheEntryForTheEditor) {
    setEntry(catalogue + " /New");
    state.handOffPassed = true;
    handOff.CloseWithHandOff();
    EXPECT_EQ(entry(), catalogue + " /New");
    EXPECT_TRUE(StubProgram::lines(programs.path(), 0).empty());
}

TEST_F(HandOffTest, AnEntryThatCannotStartIsDroppedAllTheSame) {
    setEntry((programs / "missing" / "TOLVAD.EXE").string() + " /New");
    handOff.CloseWithHandOff();
    EXPECT_EQ(entry(), "");
}
