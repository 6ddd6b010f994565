#pragma once

#include <QString>

namespace qv::catalogue {

/// The forms catalogue program: the start screen (unless started with "/New"), the
/// data files, then the catalogue window; the program ends with it.
class CatalogueApp {
public:
    int run(int argc, char** argv);

    /// Only a command line of exactly "/New" skips the start screen.
    static bool SkipsStartScreen(const QString& commandLine);
};

} // namespace qv::catalogue
