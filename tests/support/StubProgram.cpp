#include "support/StubProgram.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace qv::test {

std::filesystem::path StubProgram::install(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    const auto target = folder / name;
    std::filesystem::copy_file(QV_STUB_EXE, target, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(target, std::filesystem::perms::owner_all |
                                             std::filesystem::perms::group_exec |
                                             std::filesystem::perms::others_exec);
    return target;
}

std::vector<std::string> StubProgram::lines(const std::filesystem::path& folder, std::size_t atLeast) {
    std::vector<std::string> result;
    for (int i = 0; i < 200; ++i) {
        result.clear();
        std::ifstream in(folder / "stub.log");
        for (std::string line; std::getline(in, line);)
            result.push_back(line);
        if (result.size() >= atLeast)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return result;
}

} // namespace qv::test
