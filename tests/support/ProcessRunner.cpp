#include "support/ProcessRunner.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv::test {

ProcessRunner::Result ProcessRunner::run(const std::string& program, const std::vector<std::string>& args,
                                         const std::map<std::string, std::string>& env,
                                         const std::string& input) {
    TempDir io;
    const auto inFile = io.write("stdin", input);
    const auto outFile = io / "stdout";
    const auto errFile = io / "stderr";
    Result result;
    pid_t pid = ::fork();
    if (pid == 0) {
        int in = ::open(inFile.c_str(), O_RDONLY);
        int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        for (const auto& [k, v] : env)
            ::setenv(k.c_str(), v.c_str(), 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = TempDir::read(outFile);
    result.err = TempDir::read(errFile);
    return result;
}

} // namespace qv::test
