#include "support/LibreOffice.h"

#include "support/ProcessRunner.h"
#include "support/TempDir.h"

namespace qv::test {

std::string LibreOffice::program() {
    for (const char* p : {"/usr/bin/soffice", "/usr/lib/libreoffice/program/soffice"})
        if (std::filesystem::exists(p))
            return p;
    return {};
}

std::string LibreOffice::convert(const std::vector<std::filesystem::path>& files, const std::string& filter,
                                 const std::filesystem::path& outDir, const std::filesystem::path& scratch) {
    std::vector<std::string> args{"-env:UserInstallation=file://" + (scratch / "profile").string(), "--headless",
                                  "--convert-to", filter, "--outdir", outDir.string()};
    for (const auto& f : files)
        args.push_back(f.string());
    const auto r = ProcessRunner::run(program(), args, {{"HOME", scratch.string()}});
    if (r.exitCode != 0)
        return "soffice exited with " + std::to_string(r.exitCode) + ": " + r.err;
    return {};
}

std::string LibreOffice::text(const std::filesystem::path& txt) {
    std::string raw = TempDir::read(txt);
    if (raw.rfind("\xEF\xBB\xBF", 0) == 0)
        raw.erase(0, 3);
    std::string text;
    for (char c : raw)
        if (c != '\r')
            text += c;
    return text;
}

std::string LibreOffice::part(const std::filesystem::path& odt, const std::string& name) {
    return ProcessRunner::run("/usr/bin/unzip", {"-p", odt.string(), name}).out;
}

} // namespace qv::test
