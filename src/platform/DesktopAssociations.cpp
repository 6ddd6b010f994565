#include "platform/DesktopAssociations.h"

#include "platform/AtomicFile.h"
#include "platform/CaseBlindPath.h"
#include "platform/ConfigPaths.h"
#include "platform/DesktopEntryText.h"
#include "platform/DesktopIcons.h"
#include "platform/MimeAppsList.h"
#include "platform/ProcessStarter.h"

#include <system_error>

namespace qv::platform {
namespace {

constexpr std::chrono::milliseconds kTimeOut{10000};

void refresh() {
    if (const auto mime = ProcessStarter::FindOnPath("update-mime-database"))
        (void)ProcessStarter::Run(*mime, {(ConfigPaths::dataHome() / "mime").string()}, kTimeOut);
    if (const auto desktop = ProcessStarter::FindOnPath("update-desktop-database"))
        (void)ProcessStarter::Run(*desktop, {(ConfigPaths::dataHome() / "applications").string()}, kTimeOut);
}

std::filesystem::path applications() {
    return ConfigPaths::dataHome() / "applications";
}

std::filesystem::path mimeApps() {
    return ConfigPaths::configHome() / "mimeapps.list";
}

const char* const kDefaultsSection = "Default Applications";

MimeAppsList::Defaults defaults() {
    return {{DesktopAssociations::kFormType, DesktopAssociations::kLegalLauncher},
            {DesktopAssociations::kWorksheetType, DesktopAssociations::kLegalLauncher},
            {DesktopAssociations::kPrintFileType, DesktopAssociations::kEditLauncher}};
}

} // namespace

std::filesystem::path DesktopAssociations::MimePackage() {
    return ConfigPaths::dataHome() / "mime" / "packages" / "q-v-davov-software.xml";
}

bool DesktopAssociations::Register(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(MimePackage().parent_path(), ec);
    const auto type = [](const char* name, const char* comment, const char* extension) {
        std::string upper = extension;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return std::string("  <mime-type type=\"") + name + "\">\n    <comment>" + comment +
               "</comment>\n    <icon name=\"" + DesktopIcons::ForType(name) +
               "\"/>\n    <generic-icon name=\"x-office-document\"/>\n    <glob pattern=\"*." + extension +
               "\"/>\n    <glob pattern=\"*." + upper + "\"/>\n  </mime-type>\n";
    };
    (void)AtomicFile::write(MimePackage(),
                            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n" +
                                type(kFormType, "Q-V Davov Form", "qvf") +
                                type(kWorksheetType, "Q-V Davov Worksheet", "qvw") +
                                type(kPrintFileType, "Q-V Print File", "qvp") + "</mime-info>\n");
    std::filesystem::create_directories(applications(), ec);
    const auto launcher = [&](const char* file, const char* name, const char* comment, const char* program,
                              const std::string& types) {
        const auto path = CaseBlindPath::Resolve(folder / program);
        (void)AtomicFile::write(
            applications() / file,
            std::string("[Desktop Entry]\nType=Application\nName=") + name + "\nComment=" + comment +
                "\nIcon=" + DesktopIcons::ForProgram(path) +
                "\nExec=" + DesktopEntryText::Value(DesktopEntryText::ExecArgument(path.string()) + " %f") +
                "\nPath=" + DesktopEntryText::Value(folder.string()) + "\nMimeType=" + types +
                "\nCategories=Office;\nNoDisplay=true\nTerminal=false\n");
    };
    launcher(kLegalLauncher, "Q-V Variable Entry", "Fill in a Q-V Davov form or worksheet", "QVLEGAL.EXE",
             std::string(kFormType) + ";" + kWorksheetType + ";");
    launcher(kEditLauncher, "Q-V Print File Editor", "Edit and print a Q-V print file", "QVEDIT.EXE",
             std::string(kPrintFileType) + ";");
    const bool added = MimeAppsList(mimeApps()).SetDefaults(kDefaultsSection, defaults());
    refresh();
    return added;
}

void DesktopAssociations::Unregister(bool dropSection) {
    std::error_code ec;
    std::filesystem::remove(MimePackage(), ec);
    std::filesystem::remove(applications() / kLegalLauncher, ec);
    std::filesystem::remove(applications() / kEditLauncher, ec);
    MimeAppsList(mimeApps()).RemoveDefaults(kDefaultsSection, defaults(), dropSection);
    refresh();
}

} // namespace qv::platform
