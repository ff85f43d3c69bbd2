#include "tests/support/RunProgram.h"

#include <stdexcept>

#include "tests/support/TempFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
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
    const HANDLE file = ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path);
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
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION child{};
    // No application name: the search for the program starts beside the test program.
    const BOOL started =
        ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         directory.empty() ? nullptr : directory.c_str(), &startup, &child);
    ::CloseHandle(in);
    ::CloseHandle(out);
    ::CloseHandle(err);
    if (!started) {
        throw std::runtime_error("cannot start " + commandLine);
    }
    ::WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    const bool exited = ::GetExitCodeProcess(child.hProcess, &status) != 0;
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    return exited ? static_cast<int>(status) : -1;
}

#else

int Run(const std::string& program, const std::vector<std::string>& args,
        const std::string& directory, const std::string& outPath, const std::string& errPath) {
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
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& directory) {
    // Both streams go to files: no pipe can fill up and stall the child.
    TempFolder capture;
    ProgramResult result;
    result.ExitStatus = Run(program, args, directory, capture.PathOf("out"), capture.PathOf("err"));
    result.Out = capture.Read("out").value_or("");
    result.Err = capture.Read("err").value_or("");
    return result;
}

} // namespace kelbrin::test
