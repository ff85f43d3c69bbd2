#include "RunProgram.h"

#include <stdexcept>

#include "TempFolder.h"

#ifdef _WIN32
#include <windows.h>

#include "WideText.h"
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kelbrin::test {

namespace {

#ifdef _WIN32

// One argument as the C runtime of the child splits its command line again: quoted when it
// holds a blank or a quote, with the backslashes in front of a quote doubled.
std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
        return arg;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE file =
        ::CreateFileW(WideFromUtf8(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path + " (error " +
                                 std::to_string(::GetLastError()) + ")");
    }
    return file;
}

int Run(const std::string& program, const std::vector<std::string>& args,
        const std::string& directory, const std::string& outPath, const std::string& errPath) {
    std::string commandLine = Quoted(program);
    for (const std::string& arg : args) {
        commandLine += ' ';
        commandLine += Quoted(arg);
    }
    const HANDLE in = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = Inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = Inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION child{};
    // No application name: the search for the program starts beside the test program. The
    // arguments go in UTF-16, as a shell passes a folder of any name.
    std::wstring wideCommandLine = WideFromUtf8(commandLine);
    const std::wstring wideDirectory = WideFromUtf8(directory);
    const BOOL started =
        ::CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         directory.empty() ? nullptr : wideDirectory.c_str(), &startup, &child);
    const DWORD startError = started ? 0 : ::GetLastError();
    ::CloseHandle(in);
    ::CloseHandle(out);
    ::CloseHandle(err);
    if (!started) {
        throw std::runtime_error("cannot start " + commandLine + " (error " +
                                 std::to_string(startError) + ")");
    }
    ::WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    const bool exited = ::GetExitCodeProcess(child.hProcess, &status) != 0;
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    return exited ? static_cast<int>(status) : -1;
}

#else

// Connects descriptor `fd` of the child as `how` says; false when it cannot.
bool Connect(int fd, Stream how, const std::string& capturePath, int brokenPipe, int fullPipe) {
    switch (how) {
    case Stream::Captured: {
        const int file = ::open(capturePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        return file >= 0 && ::dup2(file, fd) >= 0 && ::close(file) == 0;
    }
    case Stream::Closed: return ::close(fd) == 0 || errno == EBADF;
    case Stream::BrokenPipe: return ::dup2(brokenPipe, fd) >= 0;
    case Stream::Full: return ::dup2(fullPipe, fd) >= 0;
    case Stream::IntoOut: return ::dup2(1, fd) >= 0;
    }
    return false;
}

bool Limit(int resource, std::uint64_t bytes) {
    if (bytes == 0) {
        return true;
    }
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    return ::setrlimit(resource, &limit) == 0;
}

int Run(const std::string& program, const std::vector<std::string>& args,
        const std::string& directory, const std::string& outPath, const std::string& errPath,
        const ProgramSetup& setup, int& signal) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    // The reading end is closed before the child starts: its first write finds no reader.
    int pipeEnds[2] = {-1, -1};
    if (::pipe(pipeEnds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    ::close(pipeEnds[0]);
    // A stream with a reader that takes nothing: filled before the child starts and never
    // waiting, so that every write of the child fails as on a full device.
    int fullEnds[2] = {-1, -1};
    if (::pipe2(fullEnds, O_NONBLOCK) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const std::string filler(4096, 'x');
    while (::write(fullEnds[1], filler.data(), filler.size()) > 0) {
    }

    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        std::signal(SIGXFSZ, SIG_DFL);
        const int in = setup.InClosed ? -1 : ::open("/dev/null", O_RDONLY);
        const bool ready =
            (setup.InClosed ? ::close(0) == 0 || errno == EBADF : in >= 0 && ::dup2(in, 0) >= 0) &&
            Connect(1, setup.Out, outPath, pipeEnds[1], fullEnds[1]) &&
            Connect(2, setup.Err, errPath, pipeEnds[1], fullEnds[1]) &&
            Limit(RLIMIT_FSIZE, setup.FileSizeLimit) && Limit(RLIMIT_AS, setup.AddressSpaceLimit) &&
            (directory.empty() || ::chdir(directory.c_str()) == 0) &&
            (setup.User == 0 || (::setgroups(0, nullptr) == 0 && ::setgid(setup.User) == 0 &&
                                 ::setuid(setup.User) == 0)) &&
            Limit(RLIMIT_NPROC, setup.ProcessLimit);
        if (!ready) {
            ::_exit(127);
        }
        ::closefrom(3);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    ::close(fullEnds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    ::close(fullEnds[0]);
    signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& directory, const ProgramSetup& setup) {
    // Both streams go to files: no pipe can fill up and stall the child.
    TempFolder capture;
    ProgramResult result;
#ifdef _WIN32
    if (setup.InClosed || setup.Out != Stream::Captured || setup.Err != Stream::Captured ||
        setup.FileSizeLimit != 0 || setup.AddressSpaceLimit != 0 || setup.User != 0 ||
        setup.ProcessLimit != 0) {
        throw std::logic_error("streams and limits are set up on POSIX only");
    }
    result.ExitStatus = Run(program, args, directory, capture.PathOf("out"), capture.PathOf("err"));
#else
    result.ExitStatus = Run(program, args, directory, capture.PathOf("out"), capture.PathOf("err"),
                            setup, result.Signal);
#endif
    result.Out = capture.Read("out").value_or("");
    result.Err = capture.Read("err").value_or("");
    return result;
}

} // namespace kelbrin::test
