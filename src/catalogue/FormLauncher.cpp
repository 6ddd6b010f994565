#include "catalogue/FormLauncher.h"

#include "catalogue/CatalogueData.h"
#include "platform/CodePage.h"
#include "platform/PrivateProfile.h"
#include "platform/ProgramStart.h"

#include <algorithm>
#include <cctype>

namespace qv::catalogue {
namespace {

void writeRelaunch(const std::string& command) {
    platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", command, "QVLEGAL.INI");
}

std::string lastThreeLower(const std::string& path) {
    std::string tail = path.size() >= 3 ? path.substr(path.size() - 3) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail;
}

} // namespace

std::string FormLauncher::FormCommandLine(const std::string& item) const {
    // Titles are Windows-1252 in the data files; command lines are the system's UTF-8.
    return folder_ + "QVLegal.Exe " + folder_ + "Tolvad/" + CatalogueData::CodeOf(item) + ".qvf?" +
           CodePage::toUtf8(CatalogueData::TitleOf(item));
}

void FormLauncher::OpenForm(const std::string& item) const {
    // Whether the program starts is not examined: the catalogue ends either way.
    platform::ProgramStart::StartCommandLine(FormCommandLine(item), platform::ProgramStart::kShowNormal);
    writeRelaunch(folder_ + "Tolvad.exe /New");
}

bool FormLauncher::OpenSavedDocument(const std::string& path) const {
    const std::string kind = lastThreeLower(path);
    const char* program = kind == "qvp" ? "QVEdit.Exe " : kind == "qvw" ? "QVLegal.Exe " : nullptr;
    if (!program)
        return false;
    writeRelaunch(folder_ + "Tolvad.exe");
    platform::ProgramStart::StartCommandLine(folder_ + program + path, platform::ProgramStart::kShowNormal);
    return true;
}

} // namespace qv::catalogue
