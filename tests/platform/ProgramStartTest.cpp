#include "platform/ProgramStart.h"
#include "platform/PrivateProfile.h"
#include "support/ScopedPath.h"
#include "support/StubProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using qv::platform::PrivateProfile;
using qv::platform::ProgramStart;
using qv::test::StubProgram;
using qv::test::TempDir;
using qv::test::TempHome;

TEST(StartCommandLine, AProgramPathWithBlanksNeedsNoQuotesAndTheRestIsOneArgument) {
    TempDir dir;
    const auto folder = dir / "Program Files" / "Q V";
    StubProgram::install(folder, "TOLVAD.EXE");
    const std::string line = (folder / "TOLVAD.EXE").string() + " /New";
    EXPECT_GT(ProgramStart::StartCommandLine(line, ProgramStart::kShowNormal), 31);
    EXPECT_GT(ProgramStart::StartCommandLine((folder / "TOLVAD.EXE").string(), 1), 31);
    EXPECT_GT(ProgramStart::StartCommandLine((folder / "TOLVAD.EXE").string() + " " +
                                                 (dir / "My Forms" / "Office lease.qvp").string(),
                                             1),
              31);
    // The three run side by side, so their lines may come in any order.
    auto lines = StubProgram::lines(folder, 3);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"TOLVAD.EXE", "TOLVAD.EXE\t/New",
                                               "TOLVAD.EXE\t" + (dir / "My Forms" / "Office lease.qvp").string()}));
}

TEST(StartCommandLine, NamesMatchWithoutCaseAndExeEndingsFindPlainFiles) {
    TempDir dir;
    StubProgram::install(dir.path(), "QVEDIT.EXE");
    StubProgram::install(dir.path(), "qvlegal");
    // The exact name wins over a case-blind match.
    EXPECT_EQ(ProgramStart::Resolve((dir / "QVEdit.EXE").string() + " a b")->program, dir / "QVEDIT.EXE");
    EXPECT_EQ(ProgramStart::Resolve((dir / "QVEdit.EXE").string() + " a b")->arguments,
              std::vector<std::string>{"a b"});
    EXPECT_EQ(ProgramStart::Resolve((dir / "QVLEGAL.EXE").string())->program, dir / "qvlegal");
    EXPECT_TRUE(ProgramStart::Resolve((dir / "QVLEGAL.EXE").string())->arguments.empty());
    // Bare names are looked for on PATH.
    qv::test::ScopedPath path;
    path.only(dir.path());
    EXPECT_EQ(ProgramStart::Resolve("qvedit.exe x")->program, dir / "QVEDIT.EXE");
}

TEST(StartCommandLine, TheProgramsFolderMatchesWithoutCaseToo) {
    // A relaunch command names the folder as the catalogue spelt it, not as it was installed.
    TempDir dir;
    const auto folder = dir / "Program Files" / "Q-V Davov Software";
    StubProgram::install(folder, "TOLVAD.EXE");
    const auto resolved =
        ProgramStart::Resolve((dir / "program files" / "Q-V DAVOV Software").string() + "/Tolvad.exe /New");
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->program, folder / "TOLVAD.EXE");
    EXPECT_EQ(resolved->arguments, std::vector<std::string>{"/New"});
}

TEST(StartCommandLine, FailedStartsGiveCodesOf31OrLess) {
    TempDir dir;
    EXPECT_LE(ProgramStart::StartCommandLine((dir / "QVEdit.EXE").string() + " x.qvp", 1), 31);
    EXPECT_LE(ProgramStart::StartCommandLine("", 1), 31);
    EXPECT_LE(ProgramStart::StartCommandLine("   ", 1), 31);
    dir.write("notes.txt", "#!/bin/sh\n"); // not executable
    EXPECT_LE(ProgramStart::StartCommandLine((dir / "notes.txt").string(), 1), 31);
    // Without any calculator or region settings on this desktop the utilities fail too.
    qv::test::ScopedPath path;
    path.only(dir.path());
    EXPECT_LE(ProgramStart::StartCommandLine("Calc", ProgramStart::kShow), 31);
    EXPECT_LE(ProgramStart::StartCommandLine("CONTROL.EXE intl.cpl ,1", 1), 31);
    EXPECT_LE(ProgramStart::StartCommandLine("CONTROL International", 1), 31);
}

TEST(StartCommandLine, CalcAndControlStartTheDesktopsOwnTools) {
    TempDir dir;
    StubProgram::install(dir.path(), "galculator");
    StubProgram::install(dir.path(), "gnome-control-center");
    qv::test::ScopedPath path;
    path.only(dir.path());
    EXPECT_GT(ProgramStart::StartCommandLine("Calc", ProgramStart::kShow), 31);
    EXPECT_GT(ProgramStart::StartCommandLine("CONTROL.EXE intl.cpl ,2", 1), 31);
    const auto lines = StubProgram::lines(dir.path(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "galculator");
    EXPECT_EQ(lines[1], "gnome-control-center\tregion");
}

TEST(PrivateValues, DefaultsCapacityAndEmptyValuesAsTheCallersExpect) {
    TempHome home;
    EXPECT_EQ(PrivateProfile::ReadPrivateValue("Binding Data", "Run", "", 255, "QVLEGAL.INI"), "");
    EXPECT_EQ(PrivateProfile::ReadPrivateValue("Binding Data", "Run", "dflt", 255, "QVLEGAL.INI"), "dflt");
    ASSERT_TRUE(
        PrivateProfile::WritePrivateValue("Binding Data", "Run", "/opt/Q V/TOLVAD.EXE /New", "QVLEGAL.INI"));
    EXPECT_EQ(PrivateProfile::ReadPrivateValue("Binding Data", "Run", "", 255, "QVLEGAL.INI"),
              "/opt/Q V/TOLVAD.EXE /New");
    // The file lies in the Windows folder, apart from the settings files.
    EXPECT_TRUE(
        std::filesystem::exists(home.configHome() / "Q-V Davov Software" / "Windows" / "QVLEGAL.INI"));
    // Values longer than the buffer are cut to capacity - 1.
    PrivateProfile::WritePrivateValue("Binding Data", "Run", std::string(300, 'x'), "QVLEGAL.INI");
    EXPECT_EQ(PrivateProfile::ReadPrivateValue("Binding Data", "Run", "", 255, "QVLEGAL.INI").size(), 254u);
    // "" reads back as "", not as the default.
    PrivateProfile::WritePrivateValue("Binding Data", "Run", "", "QVLEGAL.INI");
    EXPECT_EQ(PrivateProfile::ReadPrivateValue("Binding Data", "Run", "dflt", 255, "QVLEGAL.INI"), "");
}
