#include "tests/support/RunProgram.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TempFolder.h"

namespace kelbrin::test {

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& directory) {
    // Both streams go to files: no pipe can fill up and stall the child.
    TempFolder capture;
    const std::string outPath = capture.PathOf("out");
    const std::string errPath = capture.PathOf("err");

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || (!directory.empty() && ::chdir(directory.c_str()) != 0)) {
            ::_exit(127);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }

    ProgramResult result;
    result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = capture.Read("out").value_or("");
    result.Err = capture.Read("err").value_or("");
    return result;
}

} // namespace kelbrin::test
