#include "support/ScopedPath.h"

#include <cstdlib>

namespace qv::test {

ScopedPath::ScopedPath() {
    const char* old = std::getenv("PATH");
    saved_ = old ? old : "";
}

ScopedPath::~ScopedPath() {
    restore();
}

void ScopedPath::prepend(const std::filesystem::path& folder) {
    ::setenv("PATH", (folder.string() + ":" + saved_).c_str(), 1);
}

void ScopedPath::only(const std::filesystem::path& folder) {
    ::setenv("PATH", folder.c_str(), 1);
}

void ScopedPath::restore() {
    ::setenv("PATH", saved_.c_str(), 1);
}

} // namespace qv::test
