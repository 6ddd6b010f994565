#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace qv::platform {

/// The state of the Caps, Num and Scroll Lock keys, read from the keyboards' indicator
/// lights (/sys/class/leds), which every display server keeps in step. Where no keyboard
/// exposes its lights the state is unknown.
class KeyboardLocks {
public:
    enum Key { CapsLock, NumLock, ScrollLock };

    /// Finds the indicator files once; `ledsFolder` is replaceable for tests.
    explicit KeyboardLocks(std::filesystem::path ledsFolder = "/sys/class/leds");

    /// On, off, or unknown when no keyboard shows that light.
    std::optional<bool> isOn(Key key) const;

private:
    std::vector<std::filesystem::path> lights_[3];
};

} // namespace qv::platform
