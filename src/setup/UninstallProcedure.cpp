#include "setup/UninstallProcedure.h"

#include "formengine/UserMessages.h"
#include "platform/CaseBlindPath.h"
#include "platform/ConfigPaths.h"
#include "platform/DesktopAssociations.h"
#include "platform/DesktopIcons.h"
#include "platform/FontAlias.h"
#include "platform/PrivateProfile.h"
#include "platform/ProgramManager.h"
#include "platform/RegistryStore.h"
#include "platform/SetupFootprint.h"
#include "setup/InstallProcedure.h"
#include "setup/InstallRecord.h"
#include "setup/SetupUi.h"

#include <algorithm>
#include <system_error>

namespace qv::setup {
namespace {

using Root = platform::RegistryStore::Root;

void removeFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

/// The forms the setup wrote, never a worksheet or print file the user saved beside
/// them. Without a record of the install (an older setup wrote none), the form
/// templates: files named ".QVF" in any case.
void removeForms(const std::filesystem::path& forms, const InstallRecord& record) {
    std::error_code ec;
    if (record.present) {
        for (const auto& name : record.forms)
            if (name.find('/') == std::string::npos && name != "." && name != "..")
                std::filesystem::remove(forms / name, ec);
    } else {
        for (std::filesystem::directory_iterator it(forms, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code removeEc;
            if (it->is_regular_file(removeEc) &&
                platform::CaseBlindPath::SameName(it->path().extension().string(), ".QVF"))
                std::filesystem::remove(it->path(), removeEc);
        }
    }
    // Only an empty folder goes.
    std::filesystem::remove(forms, ec);
}

/// What the install made around the suite and nobody uses any more: the parent of the
/// uninstall key, the folders above the install folder, the desktop's folders and files.
void removeLeftovers(const std::filesystem::path& folder, const InstallRecord& record) {
    const std::string uninstallParent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    if (record.uninstallParentCreated &&
        !platform::RegistryStore::HasContent(Root::LocalMachine, uninstallParent))
        platform::RegistryStore::DeleteKey(Root::LocalMachine, uninstallParent);
    auto installFolder = folder.lexically_normal();
    if (!installFolder.has_filename())
        installFolder = installFolder.parent_path();
    std::vector<std::filesystem::path> created;
    for (const auto& place : record.created)
        created.emplace_back(place);
    for (auto p = installFolder.parent_path(); p.has_relative_path(); p = p.parent_path()) {
        if (std::find(created.begin(), created.end(), p) == created.end())
            continue;
        std::error_code ec;
        std::filesystem::remove(p, ec);
    }
    // The shared-library stand-ins and their folders, where the install brought them.
    const auto system = platform::ConfigPaths::systemFolder();
    for (const auto& p : {system / "MFCANS32.DLL", system / "MFCUIA32.DLL", system, system.parent_path()}) {
        if (std::find(created.begin(), created.end(), p) == created.end())
            continue;
        std::error_code ec;
        std::filesystem::remove(p, ec); // a folder only when empty
    }
    platform::SetupFootprint::RemoveLeftovers(created);
}

} // namespace

UninstallProcedure::UninstallProcedure(std::string commandLine, UserMessages& messages, SetupUi& ui)
    : commandLine_(std::move(commandLine)), messages_(messages), ui_(ui) {}

std::vector<std::pair<int, std::string>> UninstallProcedure::Keys() {
    const std::string user = "Software\\Q-V Davov Software\\";
    return {{Root::ClassesRoot, ".qvp"},
            {Root::ClassesRoot, ".qvf"},
            {Root::ClassesRoot, ".qvw"},
            {Root::ClassesRoot, "QVLegal\\shell\\open\\command"},
            {Root::ClassesRoot, "QVLegal\\shell\\open"},
            {Root::ClassesRoot, "QVLegal\\shell"},
            {Root::ClassesRoot, "QVLegal\\DefaultIcon"},
            {Root::ClassesRoot, "QVLegal"},
            {Root::ClassesRoot, "QVPrint\\shell\\open\\command"},
            {Root::ClassesRoot, "QVPrint\\shell\\open"},
            {Root::ClassesRoot, "QVPrint\\shell"},
            {Root::ClassesRoot, "QVPrint\\DefaultIcon"},
            {Root::ClassesRoot, "QVPrint"},
            {Root::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QVLegal"},
            {Root::CurrentUser, user + "QVLegal\\Q-V Davov Forms Defaults"},
            {Root::CurrentUser, user + "QVLegal\\Settings"},
            {Root::CurrentUser, user + "QVLegal\\Recent File List"},
            {Root::CurrentUser, user + "QVLegal\\Variable Sets"},
            {Root::CurrentUser, user + "QVLegal\\VarSection 0"},
            {Root::CurrentUser, user + "QVLegal\\VarSection 1"},
            {Root::CurrentUser, user + "QVLegal\\VarSection 2"},
            {Root::CurrentUser, user + "QVLegal"},
            {Root::CurrentUser, user + "QVEdit\\Recent File List"},
            {Root::CurrentUser, user + "QVEdit\\Settings"},
            {Root::CurrentUser, user + "QVEdit"},
            {Root::CurrentUser, "Software\\Q-V Davov Software"},
            {Root::LocalMachine, "Software\\Q-V Davov Software\\QVLegal\\4.0"},
            {Root::LocalMachine, "Software\\Q-V Davov Software\\QVLegal"},
            {Root::LocalMachine, "Software\\Q-V Davov Software"}};
}

int UninstallProcedure::Run() {
    const std::string rest = commandLine_.size() > 3 ? commandLine_.substr(3) : std::string();
    const auto bar = rest.find('|');
    if (bar == std::string::npos)
        return 0;
    const std::string folder = rest.substr(0, bar);
    const std::string title = InstallProcedure::kTitle;
    const std::string stem = InstallProcedure::kStem;
    const InstallRecord record = InstallRecord::Load();
    if (messages_.show("Are you sure you wish to uninstall " + title + "?", MessageIcon::Question,
                       MessageButtons::YesNo, kCaption) != MessageReply::Yes)
        return 0;
    for (const std::string& name : {stem + ".EXE", stem + ".DAT", stem + "2.DAT", stem + "3.DAT"})
        removeFile(folder + name);
    removeForms(folder + stem, record);
    platform::ProgramManager::SendProgramManagerRequests(
        {"[ShowGroup(Q-V Davov Software,1)]", "[DeleteItem(" + title + ")]"});

    ui_.ToForeground();
    if (messages_.show("Do you have other Q-V Davov Software products installed on your system?",
                       MessageIcon::Question, MessageButtons::YesNo, kCaption) == MessageReply::Yes) {
        messages_.show(title + " has been successfully uninstalled!", MessageIcon::Exclamation,
                       MessageButtons::Ok, kCaption);
        return 0;
    }
    for (const char* name :
         {"QVLEGAL.EXE", "QVEDIT.EXE", "UNINSTAL.EXE", "QVLEGAL.HLP", "QVLEGAL.GID", "QVLEGAL.FTS"})
        removeFile(folder + name);
    // Only an empty folder goes: a user's own files keep it.
    std::error_code ec;
    std::filesystem::remove(folder, ec);
    for (const char* name : {"QVLEGAL.INI", "QVEDIT.INI"})
        removeFile(platform::PrivateProfile::PathOf(name).string());
    for (const auto& [root, key] : Keys())
        platform::RegistryStore::DeleteKey(static_cast<Root>(root), key);
    platform::DesktopAssociations::Unregister(record.defaultsSectionCreated);
    platform::DesktopIcons::Remove();
    platform::FontAlias::Remove();
    platform::ProgramManager::SendProgramManagerRequests({"[ShowGroup(Q-V Davov Software,1)]",
                                                          "[DeleteItem(Uninstall Q-V Davov Software)]",
                                                          "[DeleteGroup(Q-V Davov Software)]"});
    removeLeftovers(folder, record);
    messages_.show("All Q-V Davov Software has been successfully uninstalled!", MessageIcon::Exclamation,
                   MessageButtons::Ok, kCaption);
    if (messages_.show(
            "Now to finalize the uninstall, please press [OK] to restart Windows, or [Cancel] to restart "
            "Windows yourself.",
            MessageIcon::None, MessageButtons::OkCancel, kCaption) == MessageReply::Ok)
        ui_.LogOff();
    return 0;
}

} // namespace qv::setup
