// kelbrin-cli: the expansion run without a window, for scripted builds and headless
// machines, and the script maker for patch authors. Exit status: 0 when the expansion is done, 1
// when it ended with an error, 2 for a usage error. The status says how the run ended also when its
// report could not be written (a reader that went away, a closed or full output): the expanded ROM
// is what the run is for, and a lost report is said on standard error when that still can be
// written.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "AuthorCommands.h"
#include "ConsoleWindow.h"
#include "DisplayText.h"
#include "Expand.h"
#include "FileHandle.h"
#include "GivenOptions.h"
#include "MakeScriptCommand.h"
#include "OriginalIdentity.h"
#include "ProcessSetup.h"
#include "Terminal.h"
#include "TerminalText.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "WideText.h"
#endif

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Every form of the command, GNU-style ("or:"), which help2man makes the manual's SYNOPSIS of.
constexpr const char* kUsage = "Usage: kelbrin-cli (--add-header | --remove-header) [--dir DIR]\n"
                               "  or:  kelbrin-cli --info [--dir DIR]\n"
                               "  or:  kelbrin-cli (--check | --layout) [--dir DIR]\n"
                               "  or:  kelbrin-cli --make-script ORIGINAL EXPANDED [OPTION]...\n"
                               "  or:  kelbrin-cli (--help | --version)\n";

// The manual page is made from this text: "Options:", "Exit status:" and "Examples:" become its
// sections, an indented "$ " line an example.
constexpr const char* kHelp =
    "Expands the original ROM as the script Kelbrin.txt describes, or tells whether\n"
    "the original is the one the script wants.\n"
    "\n"
    "Standard output gets every status text of the run, one per line, and the line\n"
    "'MD5: ' + digest when the original's checksum does not match the script's;\n"
    "with --info, the original's identity, one 'Name: value' a line. Standard error\n"
    "gets every message box, followed by an empty line.\n"
    "\n"
    "Options:\n"
    "  --add-header     expand, adding or replacing the header (the script's HEADER)\n"
    "  --remove-header  expand and leave the header out\n"
    "  --info           tell whether the original is the one the script wants: its\n"
    "                   header, and CRC32, MD5 and SHA-1 without and with it;\n"
    "                   writes nothing\n"
    "  --check          for patch authors: whether the script is fit to ship, notes\n"
    "                   on what the script reads differently from what was meant,\n"
    "                   and how each button's run would end; writes nothing\n"
    "  --layout         for patch authors: where each byte of the expanded image comes\n"
    "                   from, in address order; writes nothing\n"
    "  --make-script ORIGINAL EXPANDED\n"
    "                   for patch authors: write the Kelbrin.txt whose run rebuilds\n"
    "                   EXPANDED from ORIGINAL byte for byte, after a run of it in\n"
    "                   memory has proved so; then tell its lines of each kind,\n"
    "                   and notes on header sizes and names players may miss\n"
    "    --original-header HEX  ORIGINAL carries a header of HEX bytes\n"
    "    --expanded-header HEX  EXPANDED carries one; its bytes go on the HEADER line\n"
    "                           (both sizes must agree when both are given)\n"
    "    --output FILE  where the script goes (default: Kelbrin.txt beside ORIGINAL;\n"
    "                   - for standard output, the report then on standard error)\n"
    "    --force        replace an existing script (never otherwise)\n"
    "    --             end of the options: a file whose name starts with - follows\n"
    "  --dir DIR        the folder that holds Kelbrin.txt and the ROM files\n"
    "                   (default: the current directory)\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the expansion is done; with --info, the original's length fits the\n"
    "     script's sizes; with --make-script, the script is written\n"
    "  1  the run ended with an error; with --info, the script or the original\n"
    "     failed a check (for a length that fits neither size, the length and the\n"
    "     file's digests are still printed); with --make-script, no script was\n"
    "     written, not even a part of one (one line on standard error says why)\n"
    "     With --check and --layout: 0 when the script is fit to ship (both runs\n"
    "     end in 'Expansion Done', or Add/Replace is refused only because the\n"
    "     script declares no header), 1 otherwise\n"
    "  2  a usage error\n"
    "\n"
    "Examples:\n"
    "Tell whether the ROM in the current folder is the one its Kelbrin.txt wants.\n"
    "  $ kelbrin-cli --info\n"
    "Expand it with the header that the script describes.\n"
    "  $ kelbrin-cli --add-header\n"
    "Expand the ROM in another folder without a header; stop a batch on failure.\n"
    "  $ kelbrin-cli --remove-header --dir ~/Games/Zephyr || exit 1\n"
    "Check a script before shipping it, and see what it builds.\n"
    "  $ kelbrin-cli --check && kelbrin-cli --layout\n"
    "Write the script that rebuilds an expanded ROM from the clean original.\n"
    "  $ kelbrin-cli --make-script 'Zephyr Saga.nes' 'Zephyr Saga (hack).nes'\n";

struct Options {
    std::optional<kelbrin::HeaderChoice> Header;
    bool Info = false;
    bool Check = false;
    bool Layout = false;
    std::optional<std::string> Directory;
    bool Help = false;
    bool Version = false;
};

int UsageError(const std::string& problem) {
    // The problem may quote an argument: it is shown as any text from outside.
    std::fputs(kelbrin::ShownOn(stderr, "kelbrin-cli: " + problem + "\n").c_str(), stderr);
    std::fprintf(stderr, "%sTry 'kelbrin-cli --help' for more information.\n", kUsage);
    return kExitUsage;
}

// Parses the arguments; returns the problem, or nothing when they are fine.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& options) {
    kelbrin::GivenOptions given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--" ends the options; what follows would be operands, and these take none.
        if (arg == "--") {
            if (i + 1 < args.size()) {
                return "unknown argument '" + args[i + 1] + "'";
            }
            break;
        }
        if (arg.starts_with("-")) {
            if (const auto twice = given.Note(arg)) {
                return twice;
            }
        }
        if (arg == "--add-header" || arg == "--remove-header") {
            const kelbrin::HeaderChoice header = arg == "--add-header"
                                                     ? kelbrin::HeaderChoice::AddOrReplace
                                                     : kelbrin::HeaderChoice::IgnoreOrRemove;
            if (options.Header && *options.Header != header) {
                return "choose either --add-header or --remove-header, not both";
            }
            options.Header = header;
        } else if (arg == "--dir" || arg.starts_with("--dir=")) {
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
        } else if (arg == "--check") {
            options.Check = true;
        } else if (arg == "--layout") {
            options.Layout = true;
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

// --info: the original's identity on standard output, or the run's box on standard error. An
// original whose length fits neither size gets both: the box, and its length and digests, by
// which a player looks up which ROM it is.
int Inform(const std::string& folder) {
    kelbrin::ConsoleWindow window(stdout, stderr);
    const kelbrin::IdentityResult result = kelbrin::IdentifyOriginal(folder, window);
    if (!result.Identity) {
        return kExitError;
    }
    const std::string report = kelbrin::DisplayText(kelbrin::IdentityReport(*result.Identity));
    const int printed =
        PrintText(kelbrin::IsTerminal(stdout) ? kelbrin::TerminalText(report) : report);
    return result.Ending.Done() ? printed : kExitError;
}

int Main(const std::vector<std::string>& args) {
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    if (std::find(args.begin(), optionsEnd, "--make-script") != optionsEnd) {
        kelbrin::MakeScriptOptions options;
        if (const auto problem = kelbrin::ParseMakeScript(args, options)) {
            return UsageError(*problem);
        }
        return kelbrin::MakeScriptCommand(options);
    }
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
    if ((options.Check || options.Layout) &&
        (options.Info || options.Header || (options.Check && options.Layout))) {
        return UsageError("--check and --layout look at the script alone: give only --dir");
    }
    const std::string folder = options.Directory.value_or(kelbrin::WorkingDirectory());
    if (options.Check) {
        return kelbrin::CheckCommand(folder);
    }
    if (options.Layout) {
        return kelbrin::LayoutCommand(folder);
    }
    if (options.Info) {
        return options.Header ? UsageError("--info expands nothing: leave out the header option")
                              : Inform(folder);
    }
    if (!options.Header) {
        return UsageError("choose --add-header or --remove-header");
    }

    static char outBuffer[64 * 1024];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    kelbrin::ConsoleWindow window(stdout, stderr);
    const kelbrin::RunResult run = kelbrin::Expand(*options.Header, folder, window);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("kelbrin-cli: standard output could not be written: the status report is "
                   "incomplete\n",
                   stderr);
    }
    return run.Done() ? kExitDone : kExitError;
}

} // namespace

#ifdef _WIN32
// The arguments as the system holds them, in UTF-16, so that a folder of any name arrives whole;
// the file layer takes paths as UTF-8.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(kelbrin::Utf8FromWide(argv[i]));
    }
#else
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
#endif
    if (!kelbrin::SetUpProcess()) {
        return kExitError;
    }
#ifdef _WIN32
    const WindowsStreams streams;
#endif
    try {
        return Main(args);
    } catch (const std::bad_alloc&) {
        // The run reports its own failures; this is the program around it.
        std::fputs("kelbrin-cli: out of memory\n", stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelbrin-cli: %s\n", error.what());
    }
    return kExitError;
}
