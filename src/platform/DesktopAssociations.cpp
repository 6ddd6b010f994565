#include "platform/DesktopAssociations.h"

#include "platform/AtomicFile.h"
#include "platform/ConfigPaths.h"
#include "platform/IniProfile.h"
#include "platform/ProcessStarter.h"

#include <system_error>

namespace qv::platform {
namespace {

constexpr std::chrono::milliseconds kTimeOut{10000};

std::string quoted(const std::filesystem::path& p) {
    std::string out = "\"";
    for (char c : p.string()) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += "\\\\";
        out += c;
    }
    return out + "\"";
}

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

} // namespace

std::filesystem::path DesktopAssociations::MimePackage() {
    return ConfigPaths::dataHome() / "mime" / "packages" / "q-v-davov-software.xml";
}

void DesktopAssociations::Register(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(MimePackage().parent_path(), ec);
    const auto type = [](const char* name, const char* comment, const char* extension) {
        std::string upper = extension;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return std::string("  <mime-type type=\"") + name + "\">\n    <comment>" + comment +
               "</comment>\n    <glob pattern=\"*." + extension + "\"/>\n    <glob pattern=\"*." + upper +
               "\"/>\n  </mime-type>\n";
    };
    (void)AtomicFile::write(MimePackage(),
                            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n" +
                                type(kFormType, "Q-V Davov Form", "qvf") +
                                type(kWorksheetType, "Q-V Davov Worksheet", "qvw") +
                                type(kPrintFileType, "Q-V Print File", "qvp") + "</mime-info>\n");
    std::filesystem::create_directories(applications(), ec);
    const auto launcher = [&](const char* file, const char* name, const char* program,
                              const std::string& types) {
        (void)AtomicFile::write(applications() / file,
                                std::string("[Desktop Entry]\nType=Application\nName=") + name +
                                    "\nExec=" + quoted(folder / program) + " %f\nPath=" + folder.string() +
                                    "\nMimeType=" + types + "\nNoDisplay=true\nTerminal=false\n");
    };
    launcher(kLegalLauncher, "Q-V Variable Entry", "QVLEGAL.EXE",
             std::string(kFormType) + ";" + kWorksheetType + ";");
    launcher(kEditLauncher, "Q-V Print File Editor", "QVEDIT.EXE", std::string(kPrintFileType) + ";");
    IniProfile defaults(mimeApps());
    defaults.WriteProfileString("Default Applications", kFormType, kLegalLauncher);
    defaults.WriteProfileString("Default Applications", kWorksheetType, kLegalLauncher);
    defaults.WriteProfileString("Default Applications", kPrintFileType, kEditLauncher);
    refresh();
}

void DesktopAssociations::Unregister() {
    std::error_code ec;
    std::filesystem::remove(MimePackage(), ec);
    std::filesystem::remove(applications() / kLegalLauncher, ec);
    std::filesystem::remove(applications() / kEditLauncher, ec);
    IniProfile defaults(mimeApps());
    for (const char* type : {kFormType, kWorksheetType, kPrintFileType})
        defaults.removeEntry("Default Applications", type);
    refresh();
}

} // namespace qv::platform
