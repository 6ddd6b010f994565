// A stand-in for the suite's other programs and the desktop's utilities in tests: it
// appends the name it was started under and its arguments to a log and exits.
// The log is $QV_STUB_LOG, or "stub.log" beside the program.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    std::string self = argv[0];
    std::string log;
    if (const char* env = std::getenv("QV_STUB_LOG"); env && *env)
        log = env;
    else
        log = (self.find('/') == std::string::npos ? std::string(".") : self.substr(0, self.rfind('/'))) +
              "/stub.log";
    std::string line = self.substr(self.rfind('/') + 1);
    for (int i = 1; i < argc; ++i)
        line += std::string("\t") + argv[i];
    line += "\n";
    // One write, so that lines of programs started together never mix.
    if (std::FILE* f = std::fopen(log.c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
    return 0;
}
