// kelbrin-cli: the expansion run without a window, for scripted builds and headless
// machines, the script maker for patch authors, and a patcher for players. Exit status: 0 when the
// expansion is done, 1 when it ended with an error, 2 for a usage error. The status says how the
// run ended also when its report could not be written (a reader that went away, a closed or full
// output): the expanded ROM is what the run is for, and a lost report is said on standard error
// when that still can be written.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "AuthorCommands.h"
#include "CommandLine.h"
#include "ConsoleWindow.h"
#include "DisplayText.h"
#include "Expand.h"
#include "FileHandle.h"
#include "MakePatchCommand.h"
#include "MakeScriptCommand.h"
#include "OriginalIdentity.h"
#include "OriginalSearch.h"
#include "PatchCommands.h"
#include "ProcessSetup.h"
#include "ScriptFields.h"
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
constexpr const char* kUsage =
    "Usage: kelbrin-cli (--add-header | --remove-header) [--dir DIR] [OPTION]...\n"
    "  or:  kelbrin-cli --info [--dir DIR] [--original FILE]\n"
    "  or:  kelbrin-cli (--check | --layout) [--dir DIR] [--original FILE]\n"
    "  or:  kelbrin-cli --make-script ORIGINAL EXPANDED [OPTION]...\n"
    "  or:  kelbrin-cli --apply PATCH ROM [--output FILE] [--force]\n"
    "  or:  kelbrin-cli --patch-info PATCH\n"
    "  or:  kelbrin-cli --make-patch SOURCE TARGET [OPTION]...\n"
    "  or:  kelbrin-cli (--help | --version)\n";

// The manual page is made from the help: "Options:", "Exit status:" and "Examples:" become its
// sections, an indented "$ " line an example.
constexpr const char* kAbout =
    "Expands the original ROM as the script Kelbrin.txt describes, and applies the\n"
    "author's patches to the expanded ROM, or tells whether the original is the one\n"
    "the script wants. Applies an IPS, IPS32, BPS or UPS patch to a ROM, or tells\n"
    "what a patch holds. For patch authors, makes the script and the BPS, IPS or UPS\n"
    "patch from the expanded ROM to the hacked one.\n"
    "\n"
    "Standard output gets every status text of the run, one per line, and the line\n"
    "'MD5: ' + digest when the original's checksum does not match the script's;\n"
    "with --info, the original's identity, one 'Name: value' a line. Standard error\n"
    "gets every message box, followed by an empty line.\n";

constexpr const char* kFooter =
    "Exit status:\n"
    "  0  the expansion is done; with --info, the original's length fits the\n"
    "     script's sizes; with --make-script, the script is written; with\n"
    "     --make-patch, the patch is written\n"
    "  1  the run ended with an error; with --info, the script or the original\n"
    "     failed a check (for a length that fits neither size, the length and the\n"
    "     file's digests are still printed); with --make-script, no script was\n"
    "     written, not even a part of one (one line on standard error says why);\n"
    "     with --apply and --patch-info, the patch was refused or could not be\n"
    "     applied, and nothing was written (a box on standard error says why);\n"
    "     with --make-patch, the patch was refused or could not be made or proved,\n"
    "     and nothing was written (a box on standard error says why)\n"
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
    "Expand it and apply the author's patch: the patched ROM is hack.sfc beside the\n"
    "expanded ROM, written only when the patch fits the ROM this button writes.\n"
    "  $ kelbrin-cli --add-header --patch hack.bps\n"
    "Expand an original kept under another name than the script's.\n"
    "  $ kelbrin-cli --remove-header --original 'Zephyr Saga (Rev 1).sfc'\n"
    "Check a script before shipping it, and see what it builds.\n"
    "  $ kelbrin-cli --check && kelbrin-cli --layout\n"
    "Write the script that rebuilds an expanded ROM from the clean original.\n"
    "  $ kelbrin-cli --make-script 'Zephyr Saga.nes' 'Zephyr Saga (hack).nes'\n"
    "Apply a player's patch to a ROM: the patched ROM is hack.sfc beside hack.bps.\n"
    "  $ kelbrin-cli --apply hack.bps 'Zephyr Saga.sfc'\n"
    "See a patch's format, sizes, checksums and notes before applying it.\n"
    "  $ kelbrin-cli --patch-info hack.bps\n"
    "Make the patch from the expanded ROM to the hacked one: hack.bps beside it.\n"
    "  $ kelbrin-cli --make-patch 'Zephyr Saga (expanded).sfc' hack.sfc\n"
    "The same as an IPS patch, for players whose patcher reads nothing else.\n"
    "  $ kelbrin-cli --make-patch 'Zephyr Saga (expanded).sfc' hack.sfc --ips\n";

// What the command line asks for.
struct Request {
    bool AddHeader = false;
    bool RemoveHeader = false;
    bool Info = false;
    bool Check = false;
    bool Layout = false;
    std::optional<std::string> Directory;
    std::optional<std::string> Original;
    // The run's patches, in their order; --output names the patched ROM.
    std::vector<std::string> Patches;
    bool MakeScript = false;
    kelbrin::MakeScriptOptions Script; // also --apply's --output and --force
    bool Apply = false;
    std::optional<std::string> PatchInfo;
    bool MakePatch = false;
    bool Bps = false;
    bool Ips = false;
    bool Ups = false;
    std::optional<std::string> Metadata;
    // The operands: --make-script's ORIGINAL and EXPANDED, --apply's PATCH and ROM
    std::vector<std::string> Files;
    bool Help = false;
    bool Version = false;
};

// An option whose value names a file or a folder. An empty name is refused: it names nothing,
// and as a folder it would put the script at the root of the file system.
CLI::Option* AddName(CLI::App& options, const std::string& option, const std::string& needed,
                     std::optional<std::string>& name, const std::string& help) {
    return options.add_option_function<std::string>(
        option,
        [option, needed, &name](const std::string& value) {
            if (value.empty()) {
                throw CLI::ValidationError(option + " needs " + needed);
            }
            name = value;
        },
        help);
}

// An option whose value is a header size, in hex as the script writes it.
CLI::Option* AddHeaderSize(CLI::App& options, const std::string& option,
                           std::optional<std::uint32_t>& size, const std::string& help) {
    return options
        .add_option_function<std::string>(
            option,
            [option, &size](const std::string& hex) {
                const std::optional<std::int32_t> number = kelbrin::ScriptNumber(hex);
                if (!number) {
                    throw CLI::ValidationError(option + " needs a size in hex (1 to 7 digits)" +
                                               (hex.empty() ? "" : ", not '" + hex + "'"));
                }
                size = static_cast<std::uint32_t>(*number);
            },
            help)
        ->type_name("HEX");
}

// Every option once: its help text, its value's check, and what it cannot go with. The help
// lists them in this order.
void Declare(kelbrin::CommandLine& line, Request& request) {
    CLI::App& options = line.Options();
    CLI::Option* add = options.add_flag("--add-header", request.AddHeader,
                                        "expand, adding or replacing the header (the script's\n"
                                        "HEADER)");
    CLI::Option* remove = options.add_flag("--remove-header", request.RemoveHeader,
                                           "expand and leave the header out");
    line.Excludes(remove, {add}, "choose either --add-header or --remove-header, not both");
    CLI::Option* info = options.add_flag("--info", request.Info,
                                         "tell whether the original is the one the script wants:\n"
                                         "its header, and CRC32, MD5 and SHA-1 without and with\n"
                                         "it; writes nothing");
    line.Excludes(info, {add, remove}, "--info expands nothing: leave out the header option");
    constexpr const char* kScriptAlone =
        "--check and --layout look at the script alone: give only --dir";
    CLI::Option* check = options.add_flag("--check", request.Check,
                                          "for patch authors: whether the script is fit to ship,\n"
                                          "notes on what the script reads differently from what\n"
                                          "was meant, and how each button's run would end; writes\n"
                                          "nothing");
    line.Excludes(check, {add, remove, info}, kScriptAlone);
    CLI::Option* layout = options.add_flag("--layout", request.Layout,
                                           "for patch authors: where each byte of the expanded\n"
                                           "image comes from, in address order; writes nothing");
    line.Excludes(layout, {add, remove, info, check}, kScriptAlone);
    CLI::Option* dir = AddName(options, "--dir", "a folder", request.Directory,
                               "the folder that holds Kelbrin.txt and the ROM files\n"
                               "(default: the current directory)")
                           ->type_name("DIR");
    CLI::Option* original = AddName(options, "--original", "a file", request.Original,
                                    "the original ROM for this run, in place of the one\n"
                                    "the script names (also with --info, --check and\n"
                                    "--layout)")
                                ->type_name("FILE");
    line.NeedsOneOf(original, {add, remove, info, check, layout});
    CLI::Option* patch = options
                             .add_option("--patch", request.Patches,
                                         "apply the IPS, IPS32, BPS or UPS patch FILE to the\n"
                                         "expanded ROM (repeat it for more, applied in order)\n"
                                         "and write the patched ROM too, named after the last\n"
                                         "patch with the expanded ROM's extension, beside it;\n"
                                         "nothing is written unless every patch applies and\n"
                                         "fits the ROM of the button chosen")
                             ->type_name("FILE")
                             ->allow_extra_args(false);
    line.NeedsOneOf(patch, {add, remove});

    CLI::Option* makeScript =
        options
            .add_flag("--make-script", request.MakeScript,
                      "for patch authors: write the Kelbrin.txt whose run\n"
                      "rebuilds EXPANDED from ORIGINAL byte for byte, after a\n"
                      "run of it in memory has proved so; then tell its lines\n"
                      "of each kind, and notes on header sizes and names\n"
                      "players may miss. A file whose name starts with -\n"
                      "follows --, which ends the options")
            ->option_text("ORIGINAL EXPANDED");
    line.Excludes(makeScript, {add, remove, info, check, layout, dir});
    CLI::Option* apply = options
                             .add_flag("--apply", request.Apply,
                                       "apply the IPS, IPS32, BPS or UPS patch PATCH to ROM\n"
                                       "and write the patched ROM (default: the patch's name\n"
                                       "with ROM's extension, beside PATCH), only when every\n"
                                       "checksum the patch holds agrees")
                             ->option_text("PATCH ROM");
    line.Excludes(apply, {add, remove, info, check, layout, dir, makeScript});
    CLI::Option* patchInfo = AddName(options, "--patch-info", "a patch file", request.PatchInfo,
                                     "tell a patch's format, sizes, checksums, counts of\n"
                                     "records or actions, and a BPS patch's metadata;\n"
                                     "writes nothing")
                                 ->type_name("PATCH");
    line.Excludes(patchInfo, {add, remove, info, check, layout, dir, makeScript, apply});
    CLI::Option* makePatch =
        options
            .add_flag("--make-patch", request.MakePatch,
                      "for patch authors: write the patch that makes TARGET\n"
                      "(the hacked ROM) from SOURCE (the expanded one), after\n"
                      "applying it in memory has given TARGET byte for byte\n"
                      "(default: TARGET's name with the format's extension,\n"
                      "beside TARGET)")
            ->option_text("SOURCE TARGET");
    line.Excludes(makePatch, {add, remove, info, check, layout, dir, makeScript, apply, patchInfo});
    CLI::Option* bps =
        options.add_flag("--bps", request.Bps, "with --make-patch: a BPS patch (the default)");
    CLI::Option* ips = options.add_flag("--ips", request.Ips,
                                        "with --make-patch: an IPS patch, for a TARGET of at\n"
                                        "most 16 MiB");
    CLI::Option* ups = options.add_flag("--ups", request.Ups, "with --make-patch: a UPS patch");
    for (CLI::Option* format : {bps, ips, ups}) {
        format->needs(makePatch);
    }
    constexpr const char* kOneFormat = "choose one of --bps, --ips and --ups";
    line.Excludes(ips, {bps}, kOneFormat);
    line.Excludes(ups, {bps, ips}, kOneFormat);
    CLI::Option* metadata =
        options
            .add_option_function<std::string>(
                "--metadata", [&request](const std::string& text) { request.Metadata = text; },
                "with --make-patch: TEXT goes into the BPS patch as\n"
                "the author's notes (none by default)")
            ->type_name("TEXT")
            ->needs(makePatch);
    line.Excludes(metadata, {ips, ups}, "--metadata goes into a BPS patch only");
    options.add_option("files", request.Files)->group("");
    AddHeaderSize(options, "--original-header", request.Script.OriginalHeader,
                  "with --make-script: ORIGINAL carries a header of HEX\n"
                  "bytes")
        ->needs(makeScript);
    AddHeaderSize(options, "--expanded-header", request.Script.ExpandedHeader,
                  "with --make-script: EXPANDED carries one; its bytes\n"
                  "go on the HEADER line (both sizes must agree when both\n"
                  "are given)")
        ->needs(makeScript);
    CLI::Option* output =
        AddName(options, "--output", "a file, or - for standard output", request.Script.Output,
                "with --make-script: where the script goes (default:\n"
                "Kelbrin.txt beside ORIGINAL; - for standard output,\n"
                "the report then on standard error); with --apply or\n"
                "--patch: where the patched ROM goes, never PATCH or ROM;\n"
                "with --make-patch: where the patch goes, never SOURCE or\n"
                "TARGET (- for standard output, not a terminal)")
            ->type_name("FILE");
    line.NeedsOneOf(output, {makeScript, apply, patch, makePatch});
    CLI::Option* force = options.add_flag("--force", request.Script.Force,
                                          "with --make-script, --apply or --make-patch: replace\n"
                                          "an existing script, patched ROM or patch (never\n"
                                          "otherwise)");
    line.NeedsOneOf(force, {makeScript, apply, makePatch});

    options.add_flag("-h,--help", request.Help, "show this help and exit");
    options.add_flag("--version", request.Version, "show the version and exit");
}

int UsageError(const std::string& problem) {
    // The problem may quote an argument: it is shown as any text from outside.
    std::fputs(kelbrin::ShownOn(stderr, "kelbrin-cli: " + problem + "\n").c_str(), stderr);
    std::fprintf(stderr, "%sTry 'kelbrin-cli --help' for more information.\n", kUsage);
    return kExitUsage;
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
int Inform(const std::string& folder, const std::string& original) {
    kelbrin::ConsoleWindow window(stdout, stderr);
    const kelbrin::IdentityResult result =
        kelbrin::IdentifyOriginal(folder, window, kelbrin::WrongLength::ShowErrorBox, original);
    if (!result.Identity) {
        return kExitError;
    }
    const std::string report = kelbrin::DisplayText(kelbrin::IdentityReport(*result.Identity));
    const int printed =
        PrintText(kelbrin::IsTerminal(stdout) ? kelbrin::TerminalText(report) : report);
    return result.Ending.Done() ? printed : kExitError;
}

// After the box of a run whose original is missing: the file of the folder that fits the script,
// as the player would give it to --original. The box has said what is wrong; this is one line
// more on standard error.
void SuggestOriginal(const Request& request, const std::string& folder) {
    const std::vector<std::string> found = kelbrin::OriginalsUnderOtherNames(folder);
    if (found.empty()) {
        return;
    }
    const auto given = [&request](const std::string& name) {
        return "--original \"" + (request.Directory ? *request.Directory + "/" : "") + name + "\"";
    };
    std::string line = "kelbrin-cli: '" + found.front() + "' in the folder fits the script";
    if (found.size() > 1) {
        line += " (and " + std::to_string(found.size() - 1) + " more)";
    }
    line += ": to expand it, run again with " + given(found.front()) + "\n";
    std::fputs(kelbrin::ShownOn(stderr, line).c_str(), stderr);
}

// --make-script: the two files are its operands, and one header size is the script's.
int MakeScript(const Request& request) {
    if (request.Files.size() != 2) {
        return UsageError(
            "--make-script needs the ORIGINAL and the EXPANDED file, and nothing else");
    }
    kelbrin::MakeScriptOptions options = request.Script;
    options.Original = request.Files[0];
    options.Expanded = request.Files[1];
    if (options.OriginalHeader.value_or(0) != 0 && options.ExpandedHeader.value_or(0) != 0 &&
        options.OriginalHeader != options.ExpandedHeader) {
        return UsageError(
            "--original-header and --expanded-header differ: a script has one header size");
    }
    return kelbrin::MakeScriptCommand(options);
}

// --apply: the patch and the ROM are its operands; standard output is no file to patch into.
int Apply(const Request& request) {
    if (request.Files.size() != 2) {
        return UsageError("--apply needs the PATCH and the ROM, and nothing else");
    }
    if (request.Script.Output == "-") {
        return UsageError("--apply writes the patched ROM to a file: --output needs its name");
    }
    return kelbrin::ApplyCommand(
        {request.Files[0], request.Files[1], request.Script.Output, request.Script.Force});
}

// --make-patch: the two ROMs are its operands; a patch's bytes are not for a terminal.
int MakePatch(const Request& request) {
    if (request.Files.size() != 2) {
        return UsageError("--make-patch needs the SOURCE and the TARGET file, and nothing else");
    }
    if (request.Script.Output == "-" && kelbrin::IsTerminal(stdout)) {
        return UsageError("--output - writes the patch to standard output, which is a terminal: "
                          "redirect it, or give a file");
    }
    kelbrin::MakePatchOptions options;
    options.Source = request.Files[0];
    options.Target = request.Files[1];
    options.Format = request.Ips   ? kelbrin::PatchFormat::Ips
                     : request.Ups ? kelbrin::PatchFormat::Ups
                                   : kelbrin::PatchFormat::Bps;
    options.Metadata = request.Metadata.value_or("");
    options.Output = request.Script.Output;
    options.Force = request.Script.Force;
    return kelbrin::MakePatchCommand(options);
}

int Main(const std::vector<std::string>& args) {
    Request request;
    kelbrin::CommandLine line(kUsage, kAbout, kFooter);
    Declare(line, request);
    if (const auto problem = line.Read(args)) {
        return UsageError(*problem);
    }
    if (request.Help) {
        return PrintText(line.Help());
    }
    if (request.Version) {
        return PrintText(std::string("kelbrin-cli (Kelbrin) ") + KELBRIN_VERSION + "\n");
    }
    if (request.MakeScript) {
        return MakeScript(request);
    }
    if (request.Apply) {
        return Apply(request);
    }
    if (request.MakePatch) {
        return MakePatch(request);
    }
    // Only --make-script, --apply and --make-patch take files.
    if (!request.Files.empty()) {
        return UsageError("unknown argument '" + request.Files.front() + "'");
    }
    if (request.PatchInfo) {
        return kelbrin::PatchInfoCommand(*request.PatchInfo);
    }
    const std::string folder = request.Directory.value_or(kelbrin::WorkingDirectory());
    const std::string original = request.Original.value_or("");
    if (request.Check) {
        return kelbrin::CheckCommand(folder, original);
    }
    if (request.Layout) {
        return kelbrin::LayoutCommand(folder, original);
    }
    if (request.Info) {
        return Inform(folder, original);
    }
    if (!request.AddHeader && !request.RemoveHeader) {
        return UsageError("choose --add-header or --remove-header");
    }
    if (std::ranges::find(request.Patches, "") != request.Patches.end()) {
        return UsageError("--patch needs a patch file");
    }
    if (request.Script.Output == "-") {
        return UsageError("--patch writes the patched ROM to a file: --output needs its name");
    }

    static char outBuffer[64 * 1024];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    kelbrin::ConsoleWindow window(stdout, stderr);
    const kelbrin::HeaderChoice choice = request.AddHeader ? kelbrin::HeaderChoice::AddOrReplace
                                                           : kelbrin::HeaderChoice::IgnoreOrRemove;
    const kelbrin::RunExtras extras{request.Patches, request.Script.Output, request.Original};
    const kelbrin::RunResult run = kelbrin::Expand(choice, folder, window, extras);
    if (run.ErrorNumber == kelbrin::ErrFileNotFound && !request.Original) {
        SuggestOriginal(request, folder);
    }
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
