#include "catalogue/CatalogueData.h"
#include "catalogue/FormLauncher.h"
#include "platform/ConfigPaths.h"
#include "platform/DesktopAssociations.h"
#include "platform/DesktopIcons.h"
#include "platform/DesktopMenu.h"
#include "platform/Drives.h"
#include "platform/IniProfile.h"
#include "platform/LzExpand.h"
#include "platform/PrivateProfile.h"
#include "platform/ProcessStarter.h"
#include "platform/ProgramStart.h"
#include "platform/RegistryStore.h"
#include "setup/FormsArchive.h"
#include "setup/InstallProcedure.h"
#include "setup/InstallRecord.h"
#include "setup/SetupUi.h"
#include "setup/UninstallProcedure.h"
#include "support/DesktopEntryCheck.h"
#include "support/MessageRecorder.h"
#include "support/ScopedPath.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <deque>
#include <fstream>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace qv::setup;
using qv::MessageReply;
using qv::platform::RegistryStore;
using qv::test::TempDir;
using Root = RegistryStore::Root;

namespace {

const std::filesystem::path kDisk = QV_DISK_DIR;
const std::filesystem::path kStage = QV_STAGE_DIR;
const std::string kGroup = "Q-V Davov Software";

/// Answers the setup's windows from a script and records what they showed.
class ScriptedUi : public SetupUi {
public:
    bool AskFolder(std::string& folder) override {
        shown.push_back(folder);
        if (answers.empty())
            return false;
        const std::string answer = answers.front();
        answers.pop_front();
        if (answer == "<default>")
            return true;
        folder = answer;
        return folder != "<cancel>";
    }
    void ShowProgress() override { progressShown = true; }
    void SetDescription(const std::string& text) override { descriptions.push_back(text); }
    void SetRange(int minimum, int maximum) override { ranges.push_back({minimum, maximum}); }
    void Advance(int delta) override { advanced += delta; }
    void CloseProgress() override {}
    void LogOff() override { ++logOffs; }

    std::deque<std::string> answers;
    std::vector<std::string> shown;
    std::vector<std::string> descriptions;
    std::vector<std::pair<int, int>> ranges;
    int advanced = 0;
    int logOffs = 0;
    bool progressShown = false;
};

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        // Tools for the desktop's databases stay, the opener is a quiet stand-in.
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\nexit 0\n";
        std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
        path.prepend(bin.path());
        // The shared libraries are there, unless a test takes them away.
        std::filesystem::create_directories(qv::platform::ConfigPaths::systemFolder());
        std::ofstream(qv::platform::ConfigPaths::systemFolder() / "MFCANS32.DLL") << "x";
    }

    /// A copy of the disk: small files copied, the programs linked.
    std::filesystem::path diskCopy() {
        const auto disk = work / "disk";
        std::filesystem::create_directories(disk);
        for (const auto& e : std::filesystem::directory_iterator(kDisk)) {
            if (e.is_directory())
                std::filesystem::create_directory_symlink(e.path(), disk / e.path().filename());
            else if (e.file_size() > 100000)
                std::filesystem::create_symlink(e.path(), disk / e.path().filename());
            else
                std::filesystem::copy_file(e.path(), disk / e.path().filename());
        }
        return disk;
    }
    InstallProcedure::Environment env(bool longNames = true) {
        InstallProcedure::Environment e;
        e.systemFolder = qv::platform::ConfigPaths::systemFolder();
        e.rootFolder = home.home();
        e.longNames = longNames;
        return e;
    }
    int install(const std::filesystem::path& disk, const std::string& folder, bool longNames = true) {
        ui.answers.push_back(folder);
        return InstallProcedure((disk / "").string(), messages, ui, env(longNames)).Run();
    }
    std::vector<std::string> texts() { return messages.texts(); }

    qv::test::TempHome home;
    TempDir bin;
    TempDir work;
    qv::test::ScopedPath path;
    qv::test::MessageRecorder messages;
    ScriptedUi ui;
};

std::string read(const std::filesystem::path& p) {
    return TempDir::read(p);
}

/// Runs an installed program headless on `argument` and waits until its recent-file list
/// names a file (what opening one does); that name, or "" when none came in 20 seconds.
std::string openedBy(const std::filesystem::path& program, const std::string& argument,
                     const std::string& application) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string opened;
    qv::platform::IniProfile profile(qv::platform::ConfigPaths::applicationSettings(application));
    for (int i = 0; i < 200 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        opened = profile.GetProfileString("Recent File List", "File1");
    }
    int status = 0;
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return opened;
}

} // namespace

TEST_F(Setup, InstallingFromTheDiskGivesAWorkingSuite) {
    const std::string folder = (home.home() / "Program Files" / "Q-V Davov Software").string();
    std::filesystem::create_directories(home.home() / "Program Files");
    ASSERT_EQ(install(kDisk, folder), 0);
    EXPECT_TRUE(texts().empty()) << texts()[0];
    EXPECT_EQ(ui.shown, std::vector<std::string>{folder}) << "the long-name default";
    EXPECT_EQ(ui.advanced, 724);
    EXPECT_EQ(ui.ranges, (std::vector<std::pair<int, int>>{{0, 864}, {100, 100}}));
    EXPECT_EQ(ui.descriptions.back(), "Program Manager and Start Menu Folders");
    EXPECT_EQ(ui.descriptions[5], "Tolvad Organizer Category Menu");
    for (const char* program : {"QVEDIT.EXE", "QVLEGAL.EXE", "UNINSTAL.EXE", "TOLVAD.EXE"}) {
        EXPECT_TRUE(qv::platform::ProcessStarter::IsExecutableFile(std::filesystem::path(folder) / program))
            << program;
        EXPECT_EQ(read(std::filesystem::path(folder) / program), read(kStage / program)) << program;
    }
    EXPECT_EQ(read(std::filesystem::path(folder) / "TOLVAD2.DAT"), read(kStage / "Tolvad2.Dat"));
    EXPECT_EQ(read(std::filesystem::path(folder) / "QVLEGAL.HLP"), read(kStage / "QVLEGAL.HLP"));
    int forms = 0;
    for (const auto& e : std::filesystem::directory_iterator(kStage / "Tolvad")) {
        ++forms;
        EXPECT_EQ(read(std::filesystem::path(folder) / "TOLVAD" / (e.path().stem().string() + ".QVF")),
                  read(e.path()));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(folder) / "TOLVAD"),
                            std::filesystem::directory_iterator()),
              forms);

    // Settings store: the keys and the command strings with quotes.
    EXPECT_TRUE(RegistryStore::KeyExists(Root::LocalMachine, "SOFTWARE\\Q-V Davov Software\\QVLegal\\4.0"));
    const std::string uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QVLEGAL";
    EXPECT_EQ(RegistryStore::Value(Root::LocalMachine, uninstallKey, "DisplayName"), "Q-V Davov Software");
    EXPECT_EQ(RegistryStore::Value(Root::LocalMachine, uninstallKey, "UninstallString"),
              "\"" + folder + "/Uninstal.Exe\"");
    EXPECT_EQ(RegistryStore::Value(Root::ClassesRoot, ".qvw", "@"), "QVLegal");
    EXPECT_EQ(RegistryStore::Value(Root::ClassesRoot, "QVPrint\\shell\\open\\command", "@"),
              "\"" + folder + "/QvEdit.Exe\" %1");
    EXPECT_EQ(RegistryStore::Value(Root::ClassesRoot, "QVLegal\\shell\\open\\command", "@"),
              "\"" + folder + "/QvLegal.Exe\" %1");
    EXPECT_EQ(RegistryStore::Value(Root::ClassesRoot, "QVLegal\\DefaultIcon", "@"), folder + "/Qvlegal.Exe");

    // The desktop menu and the file types.
    const std::string launcher = read(qv::platform::DesktopMenu::LauncherFile(kGroup, "Tolvad Organizer"));
    EXPECT_NE(launcher.find("Exec=\"" + folder + "/TOLVAD.EXE\""), std::string::npos) << launcher;
    EXPECT_TRUE(std::filesystem::exists(
        qv::platform::DesktopMenu::LauncherFile(kGroup, "Uninstall Q-V Davov Software")));
    const auto worksheet = work.write("Lease.qvw", "4QVWS");
    const auto query = [](std::vector<std::string> args) {
        const auto mime = qv::platform::ProcessStarter::FindOnPath("xdg-mime");
        const auto r =
            mime ? qv::platform::ProcessStarter::Run(*mime, args, std::chrono::seconds(10)) : std::nullopt;
        return r ? r->standardOutput : std::string();
    };
    EXPECT_EQ(query({"query", "filetype", worksheet.string()}), "application/x-qvdavov-worksheet\n");
    EXPECT_EQ(query({"query", "default", "application/x-qvdavov-worksheet"}),
              "q-v-davov-software-qvlegal.desktop\n");

    // A second install leaves one item of each.
    ASSERT_EQ(install(kDisk, folder), 0);
    int items = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(qv::platform::DesktopMenu::LauncherFolder(kGroup)))
        items += e.path().extension() == ".desktop";
    EXPECT_EQ(items, 2);

    // The installed catalogue reads its data; the installed QVLEGAL opens a form.
    qv::catalogue::CatalogueData data;
    std::string message;
    ASSERT_TRUE(data.Load(folder, message)) << message;
    for (const auto& category : data.categories())
        EXPECT_GE(category.items.size(), 5u) << "every category of the installed catalogue holds its forms";
    // The command line the catalogue builds names the forms folder and the form as its data
    // spell them ("Tolvad/P501.qvf"); the setup wrote "TOLVAD/P501.QVF".
    std::string item;
    for (const auto& category : data.categories())
        for (const auto& i : category.items)
            if (qv::catalogue::CatalogueData::CodeOf(i) == "P501")
                item = i;
    ASSERT_FALSE(item.empty());
    const std::string line = qv::catalogue::FormLauncher(folder + "/").FormCommandLine(item);
    EXPECT_EQ(line, folder + "/QVLegal.Exe " + folder + "/Tolvad/P501.qvf?Promissory Note");
    const auto start = qv::platform::ProgramStart::Resolve(line);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->program, std::filesystem::path(folder) / "QVLEGAL.EXE");
    ASSERT_EQ(start->arguments.size(), 1u);
    EXPECT_EQ(openedBy(start->program, start->arguments[0], "QVLegal"), folder + "/TOLVAD/P501.QVF")
        << "the installed program opens the catalogue's form";
}

TEST_F(Setup, TheEditorOpensAPrintFileNamedInAnotherCase) {
    const std::string folder = (work / "suite").string();
    ASSERT_EQ(install(kDisk, folder), 0);
    const auto file = work.write("Notes/Lease.QVP", "{\\rtf1\\ansi Lease}");
    EXPECT_EQ(openedBy(folder + "/QVEDIT.EXE", (work / "notes" / "lease.qvp").string(), "QVEdit"),
              file.string());
}

TEST_F(Setup, TheDefaultFolderWorksInAFreshHomeAndFilesGetTheUsualModes) {
    using std::filesystem::perms;
    const auto modes = [](const std::filesystem::path& folder) {
        std::map<std::string, perms> m;
        for (const char* name : {"QVLEGAL.HLP", "TOLVAD.DAT", "TOLVAD3.DAT", "TOLVAD/P501.QVF", "QVLEGAL.EXE",
                                 "TOLVAD.EXE", "QVEDIT.EXE", "UNINSTAL.EXE"})
            m[name] = std::filesystem::status(folder / name).permissions();
        return m;
    };
    const auto expected = [](perms data, perms program) {
        std::map<std::string, perms> m;
        for (const char* name : {"QVLEGAL.HLP", "TOLVAD.DAT", "TOLVAD3.DAT", "TOLVAD/P501.QVF"})
            m[name] = data;
        for (const char* name : {"QVLEGAL.EXE", "TOLVAD.EXE", "QVEDIT.EXE", "UNINSTAL.EXE"})
            m[name] = program;
        return m;
    };
    const auto folder = home.home() / "Program Files" / "Q-V Davov Software";
    ASSERT_FALSE(std::filesystem::exists(home.home() / "Program Files"));
    const mode_t saved = ::umask(022);
    ui.answers = {"<default>"};
    InstallProcedure((kDisk / "").string(), messages, ui, env()).Run();
    ::umask(077);
    install(kDisk, (work / "private").string());
    ::umask(saved);
    EXPECT_TRUE(texts().empty()) << texts()[0];
    EXPECT_EQ(ui.shown[0], folder.string());
    EXPECT_EQ(modes(folder), expected(perms(0644), perms(0755)));
    EXPECT_EQ(modes(work / "private"), expected(perms(0600), perms(0700)));
}

TEST_F(Setup, AFolderStartingWithTildeIsInTheHomeAndARelativeOneIsRefused) {
    const auto disk = diskCopy();
    ui.answers = {"suite", "~/Suite"};
    ASSERT_EQ(InstallProcedure((disk / "").string(), messages, ui, env()).Run(), 0);
    EXPECT_EQ(texts(),
              std::vector<std::string>{"That folder could not be created.  Please try another name."});
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1], "suite") << "the typed text stays for the next try";
    EXPECT_FALSE(std::filesystem::exists(disk / "suite"));
    const std::string folder = (home.home() / "Suite").string();
    EXPECT_TRUE(std::filesystem::exists(folder + "/TOLVAD.EXE"));
    EXPECT_EQ(RegistryStore::Value(Root::ClassesRoot, "QVPrint\\shell\\open\\command", "@"),
              "\"" + folder + "/QvEdit.Exe\" %1");
    EXPECT_EQ(InstallProcedure::ExpandHome("~", "/h"), "/h");
    EXPECT_EQ(InstallProcedure::ExpandHome("~other/x", "/h"), "~other/x");
    EXPECT_EQ(InstallProcedure::ExpandHome("/opt/~/x", "/h"), "/opt/~/x");
}

TEST_F(Setup, TheArchiveExpandsUnderTmpdirAndTheLongNameFlagComesFromTheDisk) {
    const char* was = std::getenv("TMPDIR");
    const std::optional<std::string> saved = was ? std::optional<std::string>(was) : std::nullopt;
    std::string bytes;
    ::setenv("TMPDIR", (work / "missing").c_str(), 1);
    const int refused = qv::platform::LzExpand::ReadAll(kDisk / "FORMS.WA_", bytes, 64u << 20);
    std::filesystem::create_directories(work / "tmp");
    ::setenv("TMPDIR", (work / "tmp").c_str(), 1);
    const int expanded = qv::platform::LzExpand::ReadAll(kDisk / "FORMS.WA_", bytes, 64u << 20);
    // A limit below the length the header states: refused, and nothing left behind.
    std::string limited = "old";
    const int overLimit = qv::platform::LzExpand::ReadAll(kDisk / "FORMS.WA_", limited, 1000);
    if (saved)
        ::setenv("TMPDIR", saved->c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_EQ(refused, qv::platform::LzExpand::kBadOutHandle) << "never a fixed folder";
    EXPECT_EQ(expanded, 0);
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_EQ(overLimit, qv::platform::LzExpand::kRead);
    EXPECT_TRUE(limited.empty());
    EXPECT_TRUE(std::filesystem::is_empty(work / "tmp"));

    EXPECT_TRUE(qv::platform::Drives::AllowsLongNames(kDisk / ""));
    // Not the folder the launcher was started from.
    EXPECT_FALSE(qv::platform::Drives::AllowsLongNames(work / "no disk" / ""));
    EXPECT_FALSE(qv::platform::Drives::AllowsLongNames(""));
}

TEST_F(Setup, ShortNamesGiveTheShortDefaultAndNoQuotes) {
    const std::string folder = (home.home() / "QVWIN").string();
    EXPECT_EQ(InstallProcedure("/disk/", messages, ui, env(false)).DefaultFolder(), folder);
    const auto strings = InstallProcedure::CommandStrings(folder, false);
    EXPECT_EQ(strings, (std::vector<std::string>{folder + "/Uninstal.EXE", folder + "/Uninstal.Exe",
                                                 folder + "/QvEdit.Exe %1", folder + "/QvLegal.Exe %1"}));
    const auto quoted = InstallProcedure::CommandStrings("/opt/Q V", true);
    EXPECT_EQ(quoted[1], "\"/opt/Q V/Uninstal.Exe\"");
    EXPECT_EQ(quoted[2], "\"/opt/Q V/QvEdit.Exe\" %1");
    EXPECT_EQ(InstallProcedure::GroupRequests(folder, false)[3],
              "[AddItem(" + folder + "/TOLVAD.EXE,Tolvad Organizer)]");
}

TEST_F(Setup, TheGuardAndTheFolderLoops) {
    EXPECT_EQ(InstallProcedure("", messages, ui, env()).Run(), 0);
    EXPECT_EQ(InstallProcedure("/disk", messages, ui, env()).Run(), 0);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0],
              "This program cannot be run from Explorer, File Manager, or the Command Prompt.  Please run "
              "SETUP.");
    messages.clear();
    ui.answers = {"bad|name", (work / "no" / "such" / "deep").string(), "<cancel>"};
    EXPECT_EQ(InstallProcedure((kDisk / "").string(), messages, ui, env()).Run(), 0);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0], "A folder cannot have any of the following symbols in its name:\n * ? \" < > | ");
    EXPECT_EQ(texts()[1], "That folder could not be created.  Please try another name.");
    EXPECT_EQ(ui.shown[1], "bad|name") << "the typed text stays for the next try";
    EXPECT_FALSE(ui.progressShown);
}

TEST_F(Setup, MissingLibrariesAreExpandedIntoTheSystemFolder) {
    std::filesystem::remove(qv::platform::ConfigPaths::systemFolder() / "MFCANS32.DLL");
    messages.setNextReply(MessageReply::Ok);
    ASSERT_EQ(install(kDisk, (work / "suite").string()), 0);
    EXPECT_EQ(texts()[0],
              "Before you proceed with Setup, you must install two files not found in your System folder");
    EXPECT_EQ(texts()[1], "Please insert Windows 16-bit Drivers Disk 2");
    EXPECT_EQ(texts()[2], "Please insert the Tolvad Organizer Disk again.");
    EXPECT_TRUE(std::filesystem::exists(qv::platform::ConfigPaths::systemFolder() / "MFCUIA32.DLL"));
}

TEST_F(Setup, AMissingOrDamagedFileHaltsWithoutAHalfWrittenCopy) {
    auto disk = diskCopy();
    std::filesystem::remove(disk / "TOLVAD2.DA_");
    install(disk, (work / "a").string());
    EXPECT_EQ(texts().back(), (disk / "").string() + "TOLVAD2.DA_ could not be found.  Setup was halted");
    messages.clear();
    // A compressed file cut short.
    std::string damaged = read(kDisk / "TOLVAD2.DA_");
    damaged.resize(damaged.size() / 2);
    std::ofstream(disk / "TOLVAD2.DA_", std::ios::binary) << damaged;
    install(disk, (work / "b").string());
    EXPECT_EQ(texts().back(),
              "I could not copy " + (disk / "").string() +
                  "TOLVAD2.DA_.  The disk may be damaged your hard drive may be full.  Setup was halted");
    EXPECT_FALSE(std::filesystem::exists(work / "b" / "TOLVAD2.DAT"));
    for (const auto& e : std::filesystem::directory_iterator(work / "b"))
        EXPECT_EQ(e.path().filename().string().find(".TOLVAD2"), std::string::npos) << "no temporary left";
}

TEST_F(Setup, FormsArchivesEdgeCases) {
    const auto disk = diskCopy();
    const auto installArchive = [&](const std::string& archive, const std::string& folder) {
        std::filesystem::remove(disk / "FORMS.WA_");
        std::ofstream(disk / "FORMS.WA_", std::ios::binary) << archive; // plain files pass through
        messages.clear();
        install(disk, (work / folder).string());
    };
    installArchive(FormsArchive::Write({}), "empty");
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(std::filesystem::is_empty(work / "empty" / "TOLVAD"));

    installArchive(FormsArchive::Write({{"AB", "two letters"}}), "two");
    EXPECT_EQ(read(work / "two" / "TOLVAD" / "AB.QVF"), "two letters");

    std::string hostile = FormsArchive::Write({{"ok", "fine"}});
    hostile.insert(hostile.size() - 8, std::string("../x", 4) + std::string("\x03\0\0\0", 4) + "bad");
    installArchive(hostile, "hostile");
    EXPECT_EQ(texts().back(), "The forms archive FORMS.WA_ on the disk is damaged.  Setup was halted");
    EXPECT_FALSE(std::filesystem::exists(work / "hostile" / "x.QVF"));
    EXPECT_FALSE(std::filesystem::exists(work / "x.QVF"));

    installArchive(FormsArchive::Write({{"BIG", std::string(30001, 'x')}}), "big");
    EXPECT_EQ(texts().back(), "The forms archive FORMS.WA_ on the disk is damaged.  Setup was halted");
    const std::string noEnd = FormsArchive::Write({{"A1", "x"}});
    installArchive(noEnd.substr(0, noEnd.size() - 8), "noend");
    EXPECT_EQ(texts().back(), "The forms archive FORMS.WA_ on the disk is damaged.  Setup was halted");

    // A compressed archive cut short is there, but damaged.
    std::string cut = read(kDisk / "FORMS.WA_");
    cut.resize(cut.size() / 2);
    installArchive(cut, "cut");
    EXPECT_EQ(texts(), std::vector<std::string>{
                           "The forms archive FORMS.WA_ on the disk is damaged.  Setup was halted"});

    std::filesystem::remove(disk / "FORMS.WA_");
    messages.clear();
    install(disk, (work / "none").string());
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0], "FORMS.WA_ could not be found.  Setup was halted");
    EXPECT_EQ(texts()[1], "ErrorCode -1");
}

TEST_F(Setup, UninstallInItsStages) {
    const std::string folder = (work / "suite").string();
    ASSERT_EQ(install(kDisk, folder), 0);
    const std::string line = "/U " + folder + "/|" + folder + "/";
    qv::platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", "x", "QVLEGAL.INI");

    messages.setNextReply(MessageReply::No);
    UninstallProcedure(line, messages, ui).Run();
    EXPECT_TRUE(std::filesystem::exists(folder + "/TOLVAD.EXE")) << "No removes nothing";

    messages.clear();
    messages.setNextReply(MessageReply::Yes);
    messages.setNextReply(MessageReply::Yes);
    UninstallProcedure(line, messages, ui).Run();
    EXPECT_EQ(texts().back(), "Tolvad Organizer has been successfully uninstalled!");
    EXPECT_FALSE(std::filesystem::exists(folder + "/TOLVAD.EXE"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/TOLVAD"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/QVLEGAL.EXE"));
    EXPECT_FALSE(
        std::filesystem::exists(qv::platform::DesktopMenu::LauncherFile(kGroup, "Tolvad Organizer")));
    EXPECT_TRUE(std::filesystem::exists(
        qv::platform::DesktopMenu::LauncherFile(kGroup, "Uninstall Q-V Davov Software")));
    EXPECT_TRUE(RegistryStore::KeyExists(Root::ClassesRoot, "QVLegal"));

    // Everything, but a user's worksheet keeps the folder.
    std::ofstream(folder + "/mine.qvw") << "worksheet";
    messages.clear();
    messages.setNextReply(MessageReply::Yes);
    messages.setNextReply(MessageReply::No);
    messages.setNextReply(MessageReply::Ok);
    UninstallProcedure(line, messages, ui).Run();
    EXPECT_EQ(texts()[texts().size() - 2], "All Q-V Davov Software has been successfully uninstalled!");
    EXPECT_EQ(ui.logOffs, 1);
    EXPECT_FALSE(std::filesystem::exists(folder + "/QVLEGAL.EXE"));
    EXPECT_TRUE(std::filesystem::exists(folder + "/mine.qvw"));
    EXPECT_FALSE(std::filesystem::exists(qv::platform::PrivateProfile::PathOf("QVLEGAL.INI")));
    EXPECT_FALSE(RegistryStore::KeyExists(Root::ClassesRoot, "QVLegal"));
    EXPECT_FALSE(RegistryStore::KeyExists(
        Root::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QVLEGAL"));
    EXPECT_FALSE(std::filesystem::exists(qv::platform::DesktopMenu::LauncherFolder(kGroup)));
    EXPECT_FALSE(std::filesystem::exists(qv::platform::DesktopMenu::MergeFile(kGroup)));

    // Without a bar: at once, no question.
    messages.clear();
    UninstallProcedure("/U " + folder + "/", messages, ui).Run();
    EXPECT_TRUE(texts().empty());
}

namespace {

/// Every folder, file and link below `root` with what it holds, for comparing a home
/// before and after.
std::map<std::string, std::string> tree(const std::filesystem::path& root) {
    std::map<std::string, std::string> out;
    for (auto it = std::filesystem::recursive_directory_iterator(root); it != std::filesystem::end(it);
         ++it) {
        const auto name = std::filesystem::relative(it->path(), root).string();
        if (it->is_symlink())
            out[name] = "-> " + std::filesystem::read_symlink(it->path()).string();
        else if (it->is_directory())
            out[name + "/"] = "";
        else
            out[name] = read(it->path());
    }
    return out;
}

void uninstallAll(const std::string& folder, qv::test::MessageRecorder& messages, SetupUi& ui) {
    messages.setNextReply(MessageReply::Yes);
    messages.setNextReply(MessageReply::No);
    messages.setNextReply(MessageReply::Cancel);
    UninstallProcedure("/U " + folder + "/|" + folder + "/", messages, ui).Run();
}

} // namespace

TEST_F(Setup, EveryLauncherTheSetupWritesStartsAProgramThatIsThere) {
    ASSERT_TRUE(qv::test::DesktopEntryCheck::ValidatorInstalled())
        << "desktop-file-validate (desktop-file-utils)";
    // Blanks, a percent sign, a backslash, a dollar and letters beyond ASCII: all allowed in
    // the folder's name.
    const std::string folder = (work / "Q-V 100% \\ $HOME Gr\u00F6\u00DFe").string();
    ASSERT_EQ(install(kDisk, folder), 0);
    EXPECT_TRUE(texts().empty()) << texts()[0];
    const auto applications = home.home() / ".local/share/applications";
    int launchers = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(applications)) {
        if (e.path().extension() != ".desktop")
            continue;
        ++launchers;
        SCOPED_TRACE(e.path().string());
        const qv::test::DesktopEntryCheck entry(e.path());
        EXPECT_EQ(entry.validatorComplaints(), "");
        const auto words = entry.execWords();
        ASSERT_FALSE(words.empty());
        EXPECT_EQ(std::filesystem::path(words[0]).parent_path(), folder) << entry.raw("Exec");
        EXPECT_TRUE(qv::platform::ProcessStarter::IsExecutableFile(words[0])) << entry.raw("Exec");
        EXPECT_EQ(entry.value("Path"), folder);
        EXPECT_FALSE(entry.value("Comment").empty());
        EXPECT_EQ(entry.value("Categories").rfind("Office;", 0), 0u);
        EXPECT_TRUE(
            std::filesystem::exists(qv::platform::DesktopIcons::FileOf({entry.value("Icon"), "apps"})))
            << entry.value("Icon");
    }
    EXPECT_EQ(launchers, 4) << "the catalogue, the uninstaller and the two for the file types";
    const std::string package = read(qv::platform::DesktopAssociations::MimePackage());
    for (const char* type :
         {qv::platform::DesktopAssociations::kFormType, qv::platform::DesktopAssociations::kWorksheetType,
          qv::platform::DesktopAssociations::kPrintFileType}) {
        const std::string icon = qv::platform::DesktopIcons::ForType(type);
        EXPECT_NE(package.find("<icon name=\"" + icon + "\"/>"), std::string::npos) << type;
        EXPECT_NE(read(qv::platform::DesktopIcons::FileOf({icon, "mimetypes"})).find("<svg"),
                  std::string::npos)
            << icon;
    }
}

TEST_F(Setup, AFullUninstallLeavesTheHomeAsItWasBarTheUsersOwnFiles) {
    const std::string userList =
        "# Chosen by hand; keep.\n[Added Associations]\ntext/plain=editor.desktop;\n\n";
    struct Case {
        const char* what;
        std::string mimeapps;
        bool userFiles;             // a worksheet and a print file saved into the install and forms folders
        bool librariesThere = true; // otherwise the setup brings its shared-library stand-ins
    };
    const std::vector<Case> cases{
        {"a list without defaults, files of the user's own", userList, true},
        {"a list with defaults of its own, nothing of the user's",
         userList + "[Default Applications]\n# pdf\napplication/pdf=evince.desktop\n", false},
        {"a home without the shared libraries", userList, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qv::test::TempHome fresh;
        if (c.librariesThere) {
            std::filesystem::create_directories(qv::platform::ConfigPaths::systemFolder());
            std::ofstream(qv::platform::ConfigPaths::systemFolder() / "MFCANS32.DLL") << "x";
        }
        std::filesystem::create_directories(fresh.home() / ".local/share/applications");
        std::ofstream(fresh.home() / ".local/share/applications/editor.desktop")
            << "[Desktop Entry]\nType=Application\nName=Editor\nExec=true %f\nMimeType=text/plain;\n";
        std::filesystem::create_directories(fresh.home() / ".local/share/desktop-directories");
        std::filesystem::create_directories(fresh.configHome());
        std::ofstream(fresh.configHome() / "mimeapps.list") << c.mimeapps;
        const auto before = tree(fresh.home());

        const std::string folder = (fresh.home() / "Program Files" / "Q-V Davov Software").string();
        auto environment = env();
        environment.rootFolder = fresh.home();
        environment.systemFolder = qv::platform::ConfigPaths::systemFolder();
        ui.answers.push_back(folder);
        if (!c.librariesThere)
            messages.setNextReply(MessageReply::Ok);
        ASSERT_EQ(InstallProcedure((kDisk / "").string(), messages, ui, environment).Run(), 0);
        EXPECT_EQ(texts().size(), c.librariesThere ? 0u : 3u) << (texts().empty() ? "" : texts()[0]);
        EXPECT_TRUE(std::filesystem::exists(qv::platform::ConfigPaths::systemFolder() / "MFCUIA32.DLL") ||
                    c.librariesThere);
        messages.clear();
        // The programs have run: the handoff entry and their settings.
        qv::platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", "", "QVLEGAL.INI");
        qv::platform::IniProfile(qv::platform::ConfigPaths::applicationSettings("QVLegal"))
            .WriteProfileString("Settings", "Print Files", "1");
        if (c.userFiles) {
            std::ofstream(folder + "/TOLVAD/Lease.qvw") << "a worksheet";
            std::ofstream(folder + "/TOLVAD/Lease.qvp") << "{\\rtf1 a print file}";
            std::ofstream(folder + "/Notes.qvw") << "another";
        }

        // The catalogue only: the forms go, the user's files stay.
        messages.setNextReply(MessageReply::Yes);
        messages.setNextReply(MessageReply::Yes);
        UninstallProcedure("/U " + folder + "/|" + folder + "/", messages, ui).Run();
        EXPECT_EQ(std::filesystem::exists(folder + "/TOLVAD/Lease.qvw"), c.userFiles);
        EXPECT_EQ(std::filesystem::exists(folder + "/TOLVAD/Lease.qvp"), c.userFiles);
        EXPECT_FALSE(std::filesystem::exists(folder + "/TOLVAD/R101.QVF"));

        uninstallAll(folder, messages, ui);
        auto after = tree(fresh.home());
        if (c.userFiles) {
            std::map<std::string, std::string> kept;
            for (auto it = after.begin(); it != after.end();)
                if (it->first.rfind("Program Files/", 0) == 0) {
                    kept.insert(*it);
                    it = after.erase(it);
                } else {
                    ++it;
                }
            EXPECT_EQ(kept,
                      (std::map<std::string, std::string>{
                          {"Program Files/", ""},
                          {"Program Files/Q-V Davov Software/", ""},
                          {"Program Files/Q-V Davov Software/Notes.qvw", "another"},
                          {"Program Files/Q-V Davov Software/TOLVAD/", ""},
                          {"Program Files/Q-V Davov Software/TOLVAD/Lease.qvp", "{\\rtf1 a print file}"},
                          {"Program Files/Q-V Davov Software/TOLVAD/Lease.qvw", "a worksheet"}}));
        }
        EXPECT_EQ(after, before);
        messages.clear();
    }
}

TEST_F(Setup, WithoutARecordOfTheInstallOnlyFormTemplatesLeaveTheFormsFolder) {
    const std::string folder = (work / "suite").string();
    ASSERT_EQ(install(kDisk, folder), 0);
    EXPECT_TRUE(qv::setup::InstallRecord::Load().present);
    // A suite put there by an earlier setup, which kept no record.
    RegistryStore::DeleteKey(Root::LocalMachine, qv::setup::InstallRecord::kKey);
    std::ofstream(folder + "/TOLVAD/Lease.qvw") << "a worksheet";
    std::ofstream(folder + "/TOLVAD/mine.qvf") << "a form of the user's own making";
    messages.setNextReply(MessageReply::Yes);
    messages.setNextReply(MessageReply::Yes);
    UninstallProcedure("/U " + folder + "/|" + folder + "/", messages, ui).Run();
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(folder + "/TOLVAD"))
        left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"Lease.qvw"});
}
