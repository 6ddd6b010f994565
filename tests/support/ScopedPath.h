#pragma once

#include <filesystem>
#include <string>

namespace qv::test {

/// PATH for the life of the object: stand-in programs first, or a folder alone;
/// the old value comes back at the end.
class ScopedPath {
public:
    ScopedPath();
    ~ScopedPath();
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

    /// `folder` in front of the PATH the object found.
    void prepend(const std::filesystem::path& folder);
    /// `folder` and nothing else.
    void only(const std::filesystem::path& folder);
    /// Back to the PATH the object found.
    void restore();

private:
    std::string saved_;
};

} // namespace qv::test
