#include "MakeScriptCommand.h"

#include <cstdio>
#include <cstring>
#include <tuple>

#include "DisplayText.h"
#include "GivenOptions.h"
#include "HeaderAdvice.h"
#include "NumberText.h"
#include "PortableName.h"
#include "RuntimeError.h"
#include "ScriptCheck.h"
#include "ScriptFields.h"
#include "ScriptLines.h"
#include "ScriptSummary.h"
#include "Terminal.h"
#include "WrittenScript.h"

namespace kelbrin {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;

// An option's value, given as "--name VALUE" or "--name=VALUE"; nothing when `arg` is another.
std::optional<std::string> ValueOf(const std::string& name, const std::vector<std::string>& args,
                                   std::size_t& i, std::optional<std::string>& problem) {
    const std::string& arg = args[i];
    if (arg.starts_with(name + "=")) {
        return arg.substr(name.size() + 1);
    }
    if (arg != name) {
        return std::nullopt;
    }
    if (i + 1 == args.size()) {
        problem = name + " needs a value";
        return std::string();
    }
    return args[++i];
}

int Fail(const RuntimeError& error) {
    std::string line =
        "kelbrin-cli: " + error.Description() + " (error " + std::to_string(error.Number()) + ")";
    if (error.Number() == ErrFileAlreadyExists) {
        line += "; --force replaces it";
    }
    std::fputs(ShownOn(stderr, line + "\n").c_str(), stderr);
    return kExitError;
}

// What the author probably meant and what players elsewhere will meet, one note a line.
std::string AuthorNotes(const MakeScriptOptions& options, const ScriptPlan& plan) {
    std::string notes;
    for (const auto& [path, given, option] :
         {std::tuple{&options.Original, options.OriginalHeader, "--original-header"},
          std::tuple{&options.Expanded, options.ExpandedHeader, "--expanded-header"}}) {
        if (const std::optional<HeaderAdvice> advice = AdviseHeader(*path, given)) {
            notes += "note: " + advice->Reason + "; give " + option + " " +
                     ScriptHex(advice->Size) + "\n";
        }
    }
    for (const auto& [which, name] : {std::pair{"the original's name", &plan.OriginalName},
                                      std::pair{"the expanded name", &plan.ExpandedName}}) {
        if (const std::optional<std::string> why = WhyNotPortable(*name)) {
            notes += "note: " + std::string(which) + " '" + *name + "' " + *why + "\n";
        }
    }
    return notes;
}

} // namespace

std::optional<std::string> ParseMakeScript(const std::vector<std::string>& args,
                                           MakeScriptOptions& options) {
    std::vector<std::string> files;
    GivenOptions given;
    // After "--" every argument is a file, one named "-x" too.
    bool onlyFiles = false;
    std::optional<std::string> problem;
    for (std::size_t i = 0; i < args.size() && !problem; ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || !arg.starts_with("-")) {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (const auto twice = given.Note(arg)) {
            return twice;
        }
        if (arg == "--make-script") {
            continue;
        }
        if (arg == "--force") {
            options.Force = true;
            continue;
        }
        if (auto output = ValueOf("--output", args, i, problem)) {
            if (!problem && output->empty()) {
                return "--output needs a file, or - for standard output";
            }
            options.Output = *output;
            continue;
        }
        bool header = false;
        for (const auto& [name, size] : {std::pair{"--original-header", &options.OriginalHeader},
                                         std::pair{"--expanded-header", &options.ExpandedHeader}}) {
            if (auto value = ValueOf(name, args, i, problem)) {
                header = true;
                const auto number = ScriptNumber(*value);
                if (problem) {
                    break;
                }
                if (!number) {
                    return std::string(name) + " needs a size in hex (1 to 7 digits), not '" +
                           *value + "'";
                }
                *size = static_cast<std::uint32_t>(*number);
            }
        }
        if (!header && !problem) {
            return "unknown argument '" + arg + "'";
        }
    }
    if (problem) {
        return problem;
    }
    if (files.size() != 2) {
        return "--make-script needs the ORIGINAL and the EXPANDED file, and nothing else";
    }
    options.Original = files[0];
    options.Expanded = files[1];
    if (options.OriginalHeader.value_or(0) != 0 && options.ExpandedHeader.value_or(0) != 0 &&
        options.OriginalHeader != options.ExpandedHeader) {
        return "--original-header and --expanded-header differ: a script has one header size";
    }
    return std::nullopt;
}

int MakeScriptCommand(const MakeScriptOptions& options) {
    const std::string output = options.Output.value_or(DefaultScriptPath(options.Original));
    const bool toStandardOutput = output == "-";
    try {
        const ScriptRequest request{options.Original, options.Expanded,
                                    options.OriginalHeader.value_or(0),
                                    options.ExpandedHeader.value_or(0)};
        // Standard output has no file to replace: the script is proved as if it lay where it
        // would go by default.
        const CheckedScript script =
            toStandardOutput ? CheckedScript(request, DefaultScriptPath(options.Original))
                             : WriteScript(request, output, [&options] { return options.Force; });
        std::FILE* report = stdout;
        if (toStandardOutput) {
            script.ForEachLine([](std::string_view line) {
                std::fwrite(line.data(), 1, line.size(), stdout);
                std::fwrite(kScriptLineEnd.data(), 1, kScriptLineEnd.size(), stdout);
            });
            if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
                throw RuntimeError(ErrDeviceIO, "cannot write the script to standard output");
            }
            report = stderr;
        } else {
            std::fputs(ShownOn(report, "Script written: " + output + "\n").c_str(), report);
        }
        std::fputs((ScriptSummary(script.Plan()) + LayoutSummary(script.Layout()) + "\n").c_str(),
                   report);
        std::fputs(DisplayText(AuthorNotes(options, script.Plan())).c_str(), report);
        std::fflush(report);
    } catch (const RuntimeError& error) {
        return Fail(error);
    }
    return kExitDone;
}

} // namespace kelbrin
