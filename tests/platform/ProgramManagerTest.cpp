#include "platform/ProgramManager.h"
#include "platform/DesktopAssociations.h"
#include "platform/DesktopIcons.h"
#include "platform/DesktopMenu.h"
#include "platform/FileAssociations.h"
#include "platform/ProcessStarter.h"
#include "support/DesktopEntryCheck.h"
#include "support/ScopedPath.h"
#include "support/StubProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>

using qv::platform::DesktopAssociations;
using qv::platform::DesktopMenu;
using qv::platform::FileAssociations;
using qv::platform::ProgramManager;
using qv::test::DesktopEntryCheck;
using qv::test::StubProgram;
using qv::test::TempDir;
using qv::test::TempHome;

namespace {

const std::string kGroup = "Q-V Davov Software";

/// Every file below `root`, relative to it.
std::set<std::string> filesBelow(const std::filesystem::path& root) {
    std::set<std::string> out;
    if (!std::filesystem::exists(root))
        return out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            out.insert(std::filesystem::relative(e.path(), root).string());
    return out;
}

/// A temporary home whose PATH starts with a folder of stand-ins (an opener that logs).
class DesktopHome : public ::testing::Test {
protected:
    void SetUp() override {
        StubProgram::install(bin.path(), "xdg-open");
        path.prepend(bin.path());
    }

    std::set<std::string> menuFiles() const {
        std::set<std::string> all;
        for (const auto& f : filesBelow(home.home() / ".local/share"))
            if (f.find("mimeinfo.cache") == std::string::npos)
                all.insert("data/" + f);
        for (const auto& f : filesBelow(home.home() / ".config/menus"))
            all.insert("menus/" + f);
        return all;
    }

    TempHome home;
    TempDir bin;
    qv::test::ScopedPath path;
};

} // namespace

TEST(ProgramManagerRequests, AreParsedExactlyAsWritten) {
    auto r = ProgramManager::Parse("[AddItem(/opt/Q V/TOLVAD.EXE,Tolvad Organizer)]");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->command, "AddItem");
    EXPECT_EQ(r->arguments, (std::vector<std::string>{"/opt/Q V/TOLVAD.EXE", "Tolvad Organizer"}));
    r = ProgramManager::Parse("[ShowGroup(Q-V Davov Software,1)]");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->arguments, (std::vector<std::string>{kGroup, "1"}));
    for (const char* bad : {"", "[]", "ShowGroup(G,1)", "[ShowGroup(G)]", "[CreateGroup()]",
                            "[CreateGroup(G)", "[AddItem(,Title)]", "[(G)]"})
        EXPECT_FALSE(ProgramManager::Parse(bad)) << bad;
}

TEST_F(DesktopHome, InstallRequestsMakeOneSubmenuWithItsLaunchersEvenWhenSentTwice) {
    const std::string tolvad = (bin / "Q V" / "TOLVAD.EXE").string();
    StubProgram::install(bin / "Q V", "TOLVAD.EXE");
    const std::vector<std::string> install{"[CreateGroup(" + kGroup + ")]",
                                           "[AddItem(" + tolvad + ",Tolvad Organizer)]",
                                           "[AddItem(" + tolvad + " /New,Tolvad Forms)]"};
    ProgramManager::SendProgramManagerRequests(install);
    ProgramManager::SendProgramManagerRequests(install);
    EXPECT_EQ(menuFiles(),
              (std::set<std::string>{"data/applications/q-v-davov-software/tolvad-organizer.desktop",
                                     "data/applications/q-v-davov-software/tolvad-forms.desktop",
                                     "data/desktop-directories/q-v-davov-software.directory",
                                     "menus/applications-merged/q-v-davov-software.menu"}));
    const std::string launcher = TempDir::read(DesktopMenu::LauncherFile(kGroup, "Tolvad Organizer"));
    EXPECT_NE(launcher.find("Name=Tolvad Organizer\n"), std::string::npos);
    EXPECT_NE(launcher.find("Exec=\"" + tolvad + "\"\n"), std::string::npos);
    EXPECT_NE(launcher.find("Categories=Office;X-q-v-davov-software;\n"), std::string::npos);
    EXPECT_NE(TempDir::read(DesktopMenu::LauncherFile(kGroup, "Tolvad Forms"))
                  .find("Exec=\"" + tolvad + "\" \"/New\"\n"),
              std::string::npos);
    const std::string menu = TempDir::read(DesktopMenu::MergeFile(kGroup));
    EXPECT_NE(menu.find("<Name>Q-V Davov Software</Name>"), std::string::npos);
    EXPECT_NE(menu.find("<Category>X-q-v-davov-software</Category>"), std::string::npos);
    EXPECT_NE(TempDir::read(DesktopMenu::DirectoryFile(kGroup)).find("Name=Q-V Davov Software\n"),
              std::string::npos);
}

TEST_F(DesktopHome, ShowDeleteItemAndDeleteGroup) {
    ProgramManager::SendProgramManagerRequests({"[ShowGroup(" + kGroup + ",1)]"});
    EXPECT_TRUE(StubProgram::lines(bin.path(), 0).empty()) << "no group yet: nothing opens";

    ProgramManager::SendProgramManagerRequests({"[CreateGroup(" + kGroup + ")]",
                                                "[AddItem(/bin/true,Tolvad Organizer)]",
                                                "[AddItem(/bin/true,Uninstall)]"});
    ProgramManager::SendProgramManagerRequests({"[ShowGroup(" + kGroup + ",1)]",
                                                "[DeleteItem(Tolvad Organizer)]", "[Bogus(x)]",
                                                "[DeleteItem(No Such Item)]"});
    EXPECT_EQ(StubProgram::lines(bin.path()),
              std::vector<std::string>{"xdg-open\t" + DesktopMenu::LauncherFolder(kGroup).string()});
    EXPECT_FALSE(std::filesystem::exists(DesktopMenu::LauncherFile(kGroup, "Tolvad Organizer")));
    EXPECT_TRUE(std::filesystem::exists(DesktopMenu::LauncherFile(kGroup, "Uninstall")));

    ProgramManager::SendProgramManagerRequests({"[DeleteGroup(" + kGroup + ")]"});
    EXPECT_EQ(menuFiles(), std::set<std::string>{});
}

TEST_F(DesktopHome, AssociatedProgramComesFromTheDesktopsMimeDatabase) {
    TempDir docs;
    const auto rtf = docs.write("Office lease.rtf", "{\\rtf1\\ansi Lease}");
    EXPECT_EQ(FileAssociations::FindAssociatedProgram(rtf), "");
    EXPECT_LE(FileAssociations::OpenWithShell(rtf), 32);

    const auto apps = home.home() / ".local/share/applications";
    std::filesystem::create_directories(apps);
    // xdg-mime names only programs that exist.
    const auto wordpad = StubProgram::install(bin / "WINDOWS", "WORDPAD.EXE");
    std::ofstream(apps / "wordpad.desktop")
        << "[Desktop Entry]\nType=Application\nName=WordPad\nExec=" << wordpad.string() << " %f\n";
    std::filesystem::create_directories(home.configHome());
    std::ofstream(home.configHome() / "mimeapps.list")
        << "[Default Applications]\ntext/rtf=wordpad.desktop\napplication/rtf=wordpad.desktop\n";
    EXPECT_EQ(FileAssociations::FindAssociatedProgram(rtf), wordpad.string());

    StubProgram::install(bin.path(), "writer");
    std::ofstream(apps / "writer.desktop")
        << "[Desktop Entry]\nType=Application\nName=Writer\nExec=writer %U\n";
    std::ofstream(home.configHome() / "mimeapps.list")
        << "[Default Applications]\ntext/rtf=writer.desktop\napplication/rtf=writer.desktop\n";
    EXPECT_EQ(FileAssociations::FindAssociatedProgram(rtf), (bin / "writer").string());
    EXPECT_GT(FileAssociations::OpenWithShell(rtf), 32);
    EXPECT_EQ(StubProgram::lines(bin.path()), std::vector<std::string>{"xdg-open\t" + rtf.string()});
}

TEST_F(DesktopHome, EveryLauncherStartsTheProgramItNamesWhateverItsFolderHolds) {
    ASSERT_TRUE(DesktopEntryCheck::ValidatorInstalled()) << "desktop-file-validate (desktop-file-utils)";
    const std::vector<std::string> folders{"Q-V Davov Software", "100% sure",
                                           "a \"quoted\" name",  "back\\slash",
                                           "$HOME and `date`",   "Gr\u00F6\u00DFe \u00C7a va",
                                           "%f %% \\$\" all"};
    for (const auto& name : folders) {
        SCOPED_TRACE(name);
        const auto folder = bin / name;
        const auto uninstaller = StubProgram::install(folder, "UNINSTAL.EXE");
        const auto catalogue = StubProgram::install(folder, "TOLVAD.EXE");
        // The setup names the uninstaller in another case than the disk gives it.
        ProgramManager::SendProgramManagerRequests(
            {"[CreateGroup(" + kGroup + ")]",
             "[AddItem(\"" + (folder / "Uninstal.EXE").string() + "\",Uninstall Q-V Davov Software)]",
             "[AddItem(" + (folder / "tolvad.exe").string() + ",Tolvad Organizer)]"});
        const std::vector<std::pair<std::string, std::filesystem::path>> launchers{
            {"Uninstall Q-V Davov Software", uninstaller}, {"Tolvad Organizer", catalogue}};
        for (const auto& [title, program] : launchers) {
            const DesktopEntryCheck entry(DesktopMenu::LauncherFile(kGroup, title));
            EXPECT_EQ(entry.validatorComplaints(), "") << title;
            EXPECT_EQ(entry.execWords(), std::vector<std::string>{program.string()}) << entry.raw("Exec");
            EXPECT_EQ(entry.value("Path"), folder.string());
            EXPECT_EQ(entry.value("Name"), title);
            EXPECT_FALSE(entry.value("Comment").empty());
            EXPECT_EQ(entry.value("Icon"), title == "Tolvad Organizer"
                                               ? qv::platform::DesktopIcons::kCatalogue
                                               : qv::platform::DesktopIcons::kUninstall);
            EXPECT_EQ(entry.value("Categories"), "Office;X-q-v-davov-software;");
        }
        EXPECT_EQ(DesktopEntryCheck(DesktopMenu::DirectoryFile(kGroup)).validatorComplaints(), "");

        // The launchers of the file types.
        StubProgram::install(folder, "QVLEGAL.EXE");
        StubProgram::install(folder, "QVEDIT.EXE");
        DesktopAssociations::Register(folder);
        for (const auto& [file, program] : std::vector<std::pair<const char*, const char*>>{
                 {DesktopAssociations::kLegalLauncher, "QVLEGAL.EXE"},
                 {DesktopAssociations::kEditLauncher, "QVEDIT.EXE"}}) {
            const DesktopEntryCheck entry(home.home() / ".local/share/applications" / file);
            EXPECT_EQ(entry.validatorComplaints(), "") << file;
            EXPECT_EQ(entry.execWords(), (std::vector<std::string>{(folder / program).string(), "%f"}))
                << entry.raw("Exec");
            EXPECT_EQ(entry.value("Path"), folder.string());
            EXPECT_FALSE(entry.value("Icon").empty());
        }
        DesktopAssociations::Unregister(true);
        ProgramManager::SendProgramManagerRequests({"[DeleteGroup(" + kGroup + ")]"});
    }
}

TEST_F(DesktopHome, TheSubmenuKeepsItsLaunchersOutOfTheOfficeMenu) {
    ProgramManager::SendProgramManagerRequests({"[CreateGroup(" + kGroup + ")]"});
    const std::string menu = TempDir::read(DesktopMenu::MergeFile(kGroup));
    EXPECT_NE(
        menu.find("<Name>Office</Name>\n    <Exclude><Category>X-q-v-davov-software</Category></Exclude>"),
        std::string::npos)
        << menu;
}
