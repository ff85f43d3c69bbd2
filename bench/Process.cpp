#include "Process.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

double Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Sample Run(const Command& command, std::string* out) {
    std::vector<char*> argv;
    std::string text = "'";
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
        text += arg + (&arg == &command.back() ? "'" : " ");
    }
    argv.push_back(nullptr);
    // A file in memory rather than a pipe: no output is large enough to stall the child.
    const int captured = out != nullptr ? ::memfd_create("stdout", MFD_CLOEXEC) : -1;
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const double start = Now();
    // fork, not posix_spawn: a child that shares our memory until its exec counts our peak RSS
    // as its own. A forked child counts only our anonymous pages, which we keep few.
    const pid_t pid = null < 0 || (out != nullptr && captured < 0) ? -1 : ::fork();
    if (pid == 0) {
        if (::dup2(null, 0) == 0 && ::dup2(out != nullptr ? captured : null, 1) == 1 &&
            ::dup2(null, 2) == 2) {
            ::execv(argv[0], argv.data());
        }
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    pid_t waited = -1;
    while (pid > 0 && (waited = ::wait4(pid, &status, 0, &usage)) < 0 && errno == EINTR) {
    }
    const Sample sample{Now() - start, usage.ru_maxrss};
    if (waited < 0) {
        throw std::runtime_error(text + " could not run: " + std::strerror(errno));
    }
    if (out != nullptr) {
        out->resize(static_cast<std::size_t>(::lseek(captured, 0, SEEK_END)));
        if (::pread(captured, out->data(), out->size(), 0) != static_cast<ssize_t>(out->size())) {
            throw std::runtime_error("cannot read what " + text + " printed");
        }
        ::close(captured);
    }
    ::close(null);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(
            text + (WIFSIGNALED(status)
                        ? " was killed by signal " + std::to_string(WTERMSIG(status))
                        : " exited with status " + std::to_string(WEXITSTATUS(status)) +
                              " (run it by hand to see its messages)"));
    }
    return sample;
}

std::string SystemTool(const std::string& name) {
    const std::string usrBin = "/usr/bin/" + name;
    return ::access(usrBin.c_str(), X_OK) == 0 ? usrBin : "/bin/" + name;
}

} // namespace bench
