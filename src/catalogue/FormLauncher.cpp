#include "catalogue/FormLauncher.h"

#include "catalogue/CatalogueData.h"
#include "platform/CaseBlindPath.h"
#include "platform/CodePage.h"
#include "platform/PrivateProfile.h"
#include "platform/ProgramStart.h"

#include <string_view>

namespace qv::catalogue {
namespace {

void writeRelaunch(const std::string& command) {
    platform::PrivateProfile::WritePrivateValue("Binding Data", "Run", command, "QVLEGAL.INI");
}

bool endsIn(const std::string& path, std::string_view ending) {
    return path.size() >= ending.size() &&
           platform::CaseBlindPath::SameName(std::string_view(path).substr(path.size() - ending.size()),
                                             ending);
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
    const char* program = endsIn(path, "qvp")   ? "QVEdit.Exe "
                          : endsIn(path, "qvw") ? "QVLegal.Exe "
                                                : nullptr;
    if (!program)
        return false;
    writeRelaunch(folder_ + "Tolvad.exe");
    platform::ProgramStart::StartCommandLine(folder_ + program + path, platform::ProgramStart::kShowNormal);
    return true;
}

} // namespace qv::catalogue
