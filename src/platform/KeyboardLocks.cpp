#include "platform/KeyboardLocks.h"

#include <fstream>
#include <string>
#include <system_error>

namespace qv::platform {
namespace {

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

KeyboardLocks::KeyboardLocks(std::filesystem::path ledsFolder) {
    static const char* const kSuffix[3] = {"::capslock", "::numlock", "::scrolllock"};
    std::error_code ec;
    for (std::filesystem::directory_iterator it(ledsFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (int k = 0; k < 3; ++k)
            if (endsWith(name, kSuffix[k]))
                lights_[k].push_back(it->path() / "brightness");
    }
}

std::optional<bool> KeyboardLocks::isOn(Key key) const {
    std::optional<bool> state;
    for (const auto& file : lights_[key]) {
        std::ifstream in(file);
        int brightness = 0;
        if (!(in >> brightness))
            continue;
        // Any keyboard showing the light counts: they all follow the same lock.
        state = state.value_or(false) || brightness > 0;
    }
    return state;
}

} // namespace qv::platform
