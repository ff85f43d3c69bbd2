#include "MakeScriptCommand.h"

#include <cstdio>
#include <tuple>

#include "DisplayText.h"
#include "HeaderAdvice.h"
#include "NumberText.h"
#include "PortableName.h"
#include "RuntimeError.h"
#include "ScriptCheck.h"
#include "ScriptLines.h"
#include "ScriptSummary.h"
#include "Terminal.h"
#include "WrittenScript.h"

namespace kelbrin {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;

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
