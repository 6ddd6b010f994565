#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class QGuiApplication;

namespace qv::tools {

/// The command-line companion: the form engine without windows. Each command prints one
/// JSON object on stdout; the suite's messages go to stderr. Exit status 0 on success,
/// 1 when a file is refused, 2 for bad usage.
class QvformApp {
public:
    QvformApp();
    ~QvformApp();

    int run(int argc, char** argv);
    int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    static std::string helpText();

private:
    int inspect(const std::vector<std::string>& words, std::ostream& out);
    int layout(const std::vector<std::string>& words, std::ostream& out);
    int fill(const std::vector<std::string>& words, std::ostream& out);
    void ensureGuiApplication();

    std::unique_ptr<QGuiApplication> gui_;
};

} // namespace qv::tools
