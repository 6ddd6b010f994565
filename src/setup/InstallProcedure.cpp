#include "setup/InstallProcedure.h"

#include "formengine/UserMessages.h"
#include "platform/DesktopAssociations.h"
#include "platform/DesktopIcons.h"
#include "platform/FontAlias.h"
#include "platform/LzExpand.h"
#include "platform/ProgramManager.h"
#include "platform/RegistryStore.h"
#include "platform/SetupFootprint.h"
#include "setup/FormsArchive.h"
#include "setup/InstallRecord.h"
#include "setup/SetupUi.h"
#include "setup/UninstallProcedure.h"

#include <cstdio>
#include <system_error>

namespace qv::setup {
namespace {

using Root = platform::RegistryStore::Root;
constexpr std::uintmax_t kMaxArchive = 64u << 20;

/// The string cut back so that it ends in its last separator.
std::string cutBack(const std::string& s) {
    const auto slash = s.rfind('/');
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

} // namespace

InstallProcedure::InstallProcedure(std::string commandLine, UserMessages& messages, SetupUi& ui,
                                   Environment environment)
    : commandLine_(std::move(commandLine)), messages_(messages), ui_(ui), env_(std::move(environment)) {}

std::vector<InstallProcedure::Row> InstallProcedure::FileTable() {
    const std::string stem = kStem;
    const std::string title = kTitle;
    return {{"QVEDIT.EX_", "QVEDIT.EXE", "Q-V Print File Editor", 100},
            {"QVLEGAL.EX_", "QVLEGAL.EXE", "Q-V Variable Entry", 100},
            {"QVLEGAL.HL_", "QVLEGAL.HLP", "Q-V Davov Forms Help", 100},
            {"UNINSTAL.EX_", "UNINSTAL.EXE", "Q-V Davov Forms Uninstaller", 68},
            {stem + ".EX_", stem + ".EXE", title + " Category Menu", 346},
            {stem + ".DA_", stem + ".DAT", title + " Data Files", 3},
            {stem + "2.DA_", stem + "2.DAT", title + " Data Files", 4},
            {stem + "3.DA_", stem + "3.DAT", title + " Data Files", 3}};
}

std::string InstallProcedure::DefaultFolder() const {
    return env_.longNames ? (env_.rootFolder / "Program Files" / "Q-V Davov Software").string()
                          : (env_.rootFolder / "QVWIN").string();
}

std::vector<std::string> InstallProcedure::CommandStrings(const std::string& folder, bool longNames) {
    const std::string quote = longNames ? "\"" : "";
    const std::string item = quote + folder + "/Uninstal.EXE" + quote;
    const std::string uninstall = cutBack(item) + "Uninstal.Exe" + quote;
    const std::string editor = cutBack(uninstall) + "QvEdit.Exe" + quote + " %1";
    const std::string entry = cutBack(editor) + "QvLegal.Exe" + quote + " %1";
    return {item, uninstall, editor, entry};
}

std::vector<std::string> InstallProcedure::GroupRequests(const std::string& folder, bool longNames) {
    const std::string quote = longNames ? "\"" : "";
    const std::string catalogue = quote + folder + "/" + kStem + ".EXE" + quote;
    const std::string item = CommandStrings(folder, longNames)[0];
    return {
        "[CreateGroup(Q-V Davov Software)]",          "[ShowGroup(Q-V Davov Software,1)]",
        std::string("[DeleteItem(") + kTitle + ")]",  "[AddItem(" + catalogue + "," + kTitle + ")]",
        "[DeleteItem(Uninstall Q-V Davov Software)]", "[AddItem(" + item + ",Uninstall Q-V Davov Software)]"};
}

std::string InstallProcedure::ForbiddenSymbolsMessage() {
    return "A folder cannot have any of the following symbols in its name:\n * ? \" < > | ";
}

void InstallProcedure::message(const std::string& text, int icon, const std::string& caption) {
    messages_.show(text, static_cast<MessageIcon>(icon), MessageButtons::Ok,
                   caption.empty() ? env_.programTitle : caption);
}

int InstallProcedure::Run() {
    if (commandLine_.empty() || commandLine_.back() != '/') {
        messages_.show(
            "This program cannot be run from Explorer, File Manager, or the Command Prompt.  Please run "
            "SETUP.",
            MessageIcon::Stop, MessageButtons::Ok, kCaption);
        return 0;
    }
    if (commandLine_.rfind("/U", 0) == 0)
        return UninstallProcedure(commandLine_, messages_, ui_).Run();
    std::error_code ec;
    std::filesystem::current_path(commandLine_, ec);
    // On this platform the shared libraries are the suite's own stand-ins: note those this
    // install brings, so that removing everything takes them away again.
    std::vector<std::string> systemCreated;
    for (const auto& p : {env_.systemFolder.parent_path(), env_.systemFolder, env_.systemFolder / "MFCANS32.DLL",
                          env_.systemFolder / "MFCUIA32.DLL"})
        if (!std::filesystem::exists(p, ec))
            systemCreated.push_back(p.string());
    if (!sharedLibraries())
        return 0;
    for (const auto& p : systemCreated)
        if (std::filesystem::exists(p, ec))
            record_.created.push_back(p);
    std::string folder = DefaultFolder();
    const std::filesystem::path programFiles = env_.rootFolder / "Program Files";
    const bool hadProgramFiles = std::filesystem::exists(programFiles, ec);
    if (!chooseFolder(folder))
        return 0;
    if (!hadProgramFiles && std::filesystem::exists(programFiles, ec))
        record_.created.push_back(programFiles.string());
    ui_.SetDescription("");
    ui_.ShowProgress();
    ui_.SetRange(0, kProgressMaximum);
    if (!copyFiles(folder) || !extractForms(folder)) {
        ui_.CloseProgress();
        return 0;
    }
    ui_.SetDescription("Program Manager and Start Menu Folders");
    ui_.SetRange(100, 100);
    for (const auto& place : platform::SetupFootprint::Absent())
        record_.created.push_back(place.string());
    // The icons first, so that the menu shows them from the start.
    platform::DesktopIcons::Install(commandLine_ + "ICONS");
    platform::ProgramManager::SendProgramManagerRequests(GroupRequests(folder, env_.longNames));
    registerEverything(folder);
    ui_.CloseProgress();
    return 0;
}

bool InstallProcedure::sharedLibraries() {
    std::error_code ec;
    if (std::filesystem::exists(env_.systemFolder / "MFCANS32.DLL", ec))
        return true;
    if (messages_.show(
            "Before you proceed with Setup, you must install two files not found in your System folder",
            MessageIcon::None, MessageButtons::OkCancel, "Setup") != MessageReply::Ok)
        return false;
    messages_.show("Please insert Windows 16-bit Drivers Disk 2", MessageIcon::None, MessageButtons::Ok,
                   "Setup");
    std::filesystem::create_directories(env_.systemFolder, ec);
    for (const char* name : {"MFCANS32", "MFCUIA32"}) {
        const std::string source = commandLine_ + name + ".DL_";
        if (platform::LzExpand::Open(source) != 0) {
            message(std::string(name) + ".DL_ could not be found.  Setup was halted");
            return false;
        }
        (void)platform::LzExpand::Copy(source, env_.systemFolder / (std::string(name) + ".DLL"));
    }
    messages_.show(std::string("Please insert the ") + kTitle + " Disk again.", MessageIcon::None,
                   MessageButtons::Ok, "Setup");
    return true;
}

std::string InstallProcedure::ExpandHome(const std::string& folder, const std::filesystem::path& home) {
    if (folder == "~")
        return home.string();
    if (folder.rfind("~/", 0) == 0)
        return (home / folder.substr(2)).string();
    return folder;
}

bool InstallProcedure::chooseFolder(std::string& folder) {
    for (;;) {
        if (!ui_.AskFolder(folder))
            return false;
        if (folder.find_first_of("*?\"<>|") != std::string::npos) {
            messages_.show(ForbiddenSymbolsMessage(), MessageIcon::Stop, MessageButtons::Ok, "Setup");
            continue;
        }
        const std::string target = ExpandHome(folder, env_.rootFolder);
        const std::filesystem::path path(target);
        std::error_code ec;
        // A relative folder would land wherever the disk is and be named so in the menu.
        if (path.is_absolute()) {
            if (std::filesystem::exists(path, ec)) {
                folder = target;
                return true;
            }
            // "C:\Program Files" was always there; its stand-in in a fresh home is not.
            std::string parent = target;
            while (parent.size() > 1 && parent.back() == '/')
                parent.pop_back();
            if (std::filesystem::path(parent).parent_path().lexically_normal() ==
                (env_.rootFolder / "Program Files").lexically_normal())
                std::filesystem::create_directories(env_.rootFolder / "Program Files", ec);
            // Otherwise one level only, as the original created it.
            if (std::filesystem::create_directory(path, ec) && !ec) {
                folder = target;
                return true;
            }
        }
        messages_.show("That folder could not be created.  Please try another name.",
                       MessageIcon::Exclamation, MessageButtons::Ok, "Setup");
    }
}

bool InstallProcedure::copyFiles(const std::string& folder) {
    for (const Row& row : FileTable()) {
        const std::string source = commandLine_ + row.source;
        if (platform::LzExpand::Open(source) != 0) {
            message(source + " could not be found.  Setup was halted");
            return false;
        }
        const std::filesystem::path destination = std::filesystem::path(folder) / row.destination;
        ui_.SetDescription(row.description);
        if (platform::LzExpand::Copy(source, destination) != 0) {
            message("I could not copy " + source +
                    ".  The disk may be damaged your hard drive may be full.  Setup "
                    "was halted");
            return false;
        }
        // The programs are to run from the install folder: whoever may read one may run it,
        // as a copy made under the user's umask gives.
        if (row.destination.size() > 4 && row.destination.substr(row.destination.size() - 4) == ".EXE") {
            using std::filesystem::perms;
            std::error_code ec;
            const perms mode = std::filesystem::status(destination, ec).permissions();
            perms exec = perms::none;
            if ((mode & perms::owner_read) != perms::none)
                exec |= perms::owner_exec;
            if ((mode & perms::group_read) != perms::none)
                exec |= perms::group_exec;
            if ((mode & perms::others_read) != perms::none)
                exec |= perms::others_exec;
            if (!ec)
                std::filesystem::permissions(destination, exec, std::filesystem::perm_options::add, ec);
        }
        ui_.Advance(row.weight);
    }
    return true;
}

bool InstallProcedure::extractForms(const std::string& folder) {
    const std::filesystem::path forms = std::filesystem::path(folder) / kStem;
    std::string bytes;
    const int code = platform::LzExpand::ReadAll(commandLine_ + "FORMS.WA_", bytes, kMaxArchive);
    if (code == platform::LzExpand::kBadInHandle) {
        message("FORMS.WA_ could not be found.  Setup was halted");
        char text[32];
        std::snprintf(text, sizeof text, "ErrorCode %d", code);
        message(text);
        return false;
    }
    // There, but it does not expand: a compressed file cut short or spoilt.
    if (code != 0) {
        message("The forms archive FORMS.WA_ on the disk is damaged.  Setup was halted");
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directory(forms, ec);
    std::vector<FormsArchive::Record> records;
    const auto status = FormsArchive::Read(bytes, records);
    for (const auto& r : records) {
        std::FILE* out = std::fopen((forms / (r.name + ".QVF")).c_str(), "wb");
        const bool written = out && std::fwrite(r.data.data(), 1, r.data.size(), out) == r.data.size();
        if (out && std::fclose(out) != 0)
            ec = std::make_error_code(std::errc::io_error);
        if (!written || ec) {
            message("Data could not be written to your hard drive.  This may be because of a damaged fisk or "
                    "a full "
                    "hard drive.  Setup was halted");
            return false;
        }
        record_.forms.push_back(r.name + ".QVF");
    }
    if (status == FormsArchive::Status::Damaged) {
        message("The forms archive FORMS.WA_ on the disk is damaged.  Setup was halted");
        return false;
    }
    return true;
}

void InstallProcedure::registerEverything(const std::string& folder) {
    using platform::RegistryStore;
    for (const char* key : {"SOFTWARE\\Q-V Davov Software", "SOFTWARE\\Q-V Davov Software\\QVLegal",
                            "SOFTWARE\\Q-V Davov Software\\QVLegal\\4.0"})
        RegistryStore::CreateKey(Root::LocalMachine, key);
    const auto commands = CommandStrings(folder, env_.longNames);
    const std::string uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    record_.uninstallParentCreated = !RegistryStore::KeyExists(Root::LocalMachine, uninstallKey);
    RegistryStore::CreateKey(Root::LocalMachine, uninstallKey);
    if (RegistryStore::CreateKey(Root::LocalMachine, uninstallKey + "\\QVLEGAL")) {
        RegistryStore::SetValue(Root::LocalMachine, uninstallKey + "\\QVLEGAL", "DisplayName",
                                "Q-V Davov Software");
        RegistryStore::SetValue(Root::LocalMachine, uninstallKey + "\\QVLEGAL", "UninstallString",
                                commands[1]);
    }
    RegistryStore::SetDefaultValue(Root::ClassesRoot, ".qvp", "QVPrint");
    RegistryStore::SetDefaultValue(Root::ClassesRoot, ".qvf", "QVLegal");
    RegistryStore::SetDefaultValue(Root::ClassesRoot, ".qvw", "QVLegal");
    const auto tree = [&](const std::string& cls, const std::string& name, const std::string& command,
                          const std::string& icon) {
        if (!RegistryStore::SetDefaultValue(Root::ClassesRoot, cls, name))
            return;
        RegistryStore::CreateKey(Root::ClassesRoot, cls + "\\shell");
        RegistryStore::SetDefaultValue(Root::ClassesRoot, cls + "\\shell\\open", "&Open");
        RegistryStore::SetDefaultValue(Root::ClassesRoot, cls + "\\shell\\open\\command", command);
        RegistryStore::SetDefaultValue(Root::ClassesRoot, cls + "\\DefaultIcon", folder + "/" + icon);
    };
    tree("QVPrint", "Q-V Print File", commands[2], "Qvedit.Exe");
    tree("QVLegal", "Q-V Davov Form", commands[3], "Qvlegal.Exe");
    // The desktop's own record of the file types.
    record_.defaultsSectionCreated = platform::DesktopAssociations::Register(folder);
    // Print files' fixed-pitch face, for the user's word processor.
    platform::FontAlias::Install();
    record_.Store();
}

} // namespace qv::setup
