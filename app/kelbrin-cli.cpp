// kelbrin-cli: the expansion run without a window, for scripted builds and headless
// machines. Exit status: 0 when the expansion is done, 1 when it ended with an error,
// 2 for a usage error. The status says how the run ended also when its report could not be
// written (a reader that went away, a closed or full output): the expanded ROM is what the
// run is for, and a lost report is said on standard error when that still can be written.

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "ConsoleWindow.h"
#include "DisplayText.h"
#include "Expand.h"
#include "FileHandle.h"
#include "OriginalIdentity.h"
#include "ProcessSetup.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = "Usage: kelbrin-cli (--add-header | --remove-header) [--dir DIR]\n"
                               "       kelbrin-cli --info [--dir DIR]\n";

constexpr const char* kHelp =
    "Expands the original ROM as the script Kelbrin.txt describes.\n"
    "\n"
    "  --add-header     expand and add or replace the header (the script's HEADER line)\n"
    "  --remove-header  expand and leave the header out\n"
    "  --info           tell whether the original is the one the script wants: its\n"
    "                   header, and CRC32, MD5 and SHA-1 without and with it;\n"
    "                   writes nothing\n"
    "  --dir DIR        the folder that holds Kelbrin.txt and the ROM files\n"
    "                   (default: the current directory)\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Standard output gets every status text of the run, one per line, and the line\n"
    "'MD5: ' + digest when the original's checksum does not match the script's.\n"
    "Standard error gets every message box, followed by an empty line.\n"
    "Exit status: 0 when the expansion is done, 1 when it ended with an error,\n"
    "2 for a usage error. With --info: 0 when the original's length fits the script's\n"
    "sizes, 1 otherwise.\n";

struct Options {
    std::optional<kelbrin::HeaderChoice> Header;
    bool Info = false;
    std::optional<std::string> Directory;
    bool Help = false;
    bool Version = false;
};

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "kelbrin-cli: %s\n%sTry 'kelbrin-cli --help' for more information.\n",
                 problem.c_str(), kUsage);
    return kExitUsage;
}

// Parses the arguments; returns the problem, or nothing when they are fine.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--add-header" || arg == "--remove-header") {
            const kelbrin::HeaderChoice header =
                arg == "--add-header" ? kelbrin::HeaderChoice::Add : kelbrin::HeaderChoice::Remove;
            if (options.Header && *options.Header != header) {
                return "choose either --add-header or --remove-header, not both";
            }
            options.Header = header;
        } else if (arg == "--dir" || arg.starts_with("--dir=")) {
            if (options.Directory) {
                return "--dir given more than once";
            }
            if (arg == "--dir") {
                if (i + 1 == args.size()) {
                    return "--dir needs a folder";
                }
                options.Directory = args[++i];
            } else {
                options.Directory = arg.substr(std::strlen("--dir="));
            }
            // An empty folder would put the script at the root of the file system.
            if (options.Directory->empty()) {
                return "--dir needs a folder";
            }
        } else if (arg == "--info") {
            options.Info = true;
        } else if (arg == "--help" || arg == "-h") {
            options.Help = true;
        } else if (arg == "--version") {
            options.Version = true;
        } else {
            return "unknown argument '" + arg + "'";
        }
    }
    return std::nullopt;
}

#ifdef _WIN32
// The output is the same bytes on every system: in text mode the C runtime would write each
// LF as CR LF. A console is told that the bytes are UTF-8 while the program runs, so that text
// from the script shows as written.
class WindowsStreams {
public:
    WindowsStreams() : consoleCodePage_(::GetConsoleOutputCP()) {
        ::_setmode(::_fileno(stdout), _O_BINARY);
        ::_setmode(::_fileno(stderr), _O_BINARY);
        if (consoleCodePage_ != 0) {
            ::SetConsoleOutputCP(CP_UTF8);
        }
    }
    ~WindowsStreams() {
        if (consoleCodePage_ != 0) {
            ::SetConsoleOutputCP(consoleCodePage_);
        }
    }
    WindowsStreams(const WindowsStreams&) = delete;
    WindowsStreams& operator=(const WindowsStreams&) = delete;

private:
    UINT consoleCodePage_; // 0: no console
};
#endif

// Writes help or version text; it is the whole result of such a call, so a failed write is
// a failure.
int PrintText(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("kelbrin-cli: cannot write to standard output\n", stderr);
        return kExitError;
    }
    return kExitDone;
}

// --info: the original's identity on standard output, or the run's box on standard error.
int Inform(const std::string& folder) {
    kelbrin::ConsoleWindow window(stdout, stderr);
    const kelbrin::IdentityResult result = kelbrin::IdentifyOriginal(folder, window);
    if (!result.Identity) {
        return kExitError;
    }
    return PrintText(kelbrin::DisplayText(kelbrin::IdentityReport(*result.Identity)));
}

int Main(const std::vector<std::string>& args) {
    Options options;
    if (const auto problem = Parse(args, options)) {
        return UsageError(*problem);
    }
    if (options.Help) {
        return PrintText(std::string(kUsage) + "\n" + kHelp);
    }
    if (options.Version) {
        return PrintText(std::string("kelbrin-cli (Kelbrin) ") + KELBRIN_VERSION + "\n");
    }
    if (options.Info) {
        return options.Header ? UsageError("--info expands nothing: leave out the header option")
                              : Inform(options.Directory.value_or(kelbrin::WorkingDirectory()));
    }
    if (!options.Header) {
        return UsageError("choose --add-header or --remove-header");
    }

    static char outBuffer[64 * 1024];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    kelbrin::ConsoleWindow window(stdout, stderr);
    const kelbrin::RunResult run = kelbrin::Expand(
        *options.Header, options.Directory.value_or(kelbrin::WorkingDirectory()), window);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("kelbrin-cli: standard output could not be written: the status report is "
                   "incomplete\n",
                   stderr);
    }
    return run.Done() ? kExitDone : kExitError;
}

} // namespace

int main(int argc, char** argv) {
    if (!kelbrin::SetUpProcess()) {
        return kExitError;
    }
#ifdef _WIN32
    const WindowsStreams streams;
#endif
    try {
        return Main(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        // The run reports its own failures; this is the program around it.
        std::fputs("kelbrin-cli: out of memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelbrin-cli: %s\n", error.what());
    }
    return kExitError;
}
