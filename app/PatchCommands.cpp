#include "PatchCommands.h"

#include <cstdio>
#include <string_view>

#include "CommandFailure.h"
#include "ConsoleWindow.h"
#include "Crc32.h"
#include "DisplayText.h"
#include "NumberText.h"
#include "Patch.h"
#include "PatchFiles.h"
#include "PatchedRomFile.h"
#include "Terminal.h"
#include "TerminalText.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;

// Writes the report as a person reads it; 1 when it could not be written: it is the whole
// result of the command.
int Print(const std::string& report) {
    const std::string shown = DisplayText(report);
    std::fputs((IsTerminal(stdout) ? TerminalText(shown) : shown).c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fputs("kelbrin-cli: cannot write to standard output\n", stderr);
        return kExitError;
    }
    return kExitDone;
}

std::string Size(std::uint64_t bytes) {
    return std::to_string(bytes) + " bytes (0x" + ScriptHex(bytes) + ")";
}

std::string PatchReport(const PatchDescription& description) {
    std::string report = "Format: " + std::string(PatchFormatName(description.Format)) + "\n";
    const auto line = [&report](const char* name, const std::string& value) {
        report.append(name).append(": ").append(value).append("\n");
    };
    if (description.SourceSize) {
        line("Source size", Size(*description.SourceSize));
    }
    if (description.TargetSize) {
        line("Target size", Size(*description.TargetSize));
    }
    if (description.SourceCrc32) {
        line("Source CRC32", Crc32::Text(*description.SourceCrc32));
    }
    if (description.TargetCrc32) {
        line("Target CRC32", Crc32::Text(*description.TargetCrc32));
    }
    if (description.PatchCrc32) {
        line("Patch CRC32", Crc32::Text(*description.PatchCrc32));
    }
    switch (description.Format) {
    case PatchFormat::Bps: {
        const auto& actions = description.BpsActions;
        line("Actions", "SourceRead " + std::to_string(actions[0]) + ", TargetRead " +
                            std::to_string(actions[1]) + ", SourceCopy " +
                            std::to_string(actions[2]) + ", TargetCopy " +
                            std::to_string(actions[3]));
        line("Metadata", description.Metadata.empty() ? "none" : description.Metadata);
        break;
    }
    case PatchFormat::Ups: line("Hunks", std::to_string(description.Records)); break;
    default:
        line("Records", std::to_string(description.Records) + " (" +
                            std::to_string(description.Runs) +
                            (description.Runs == 1 ? " run)" : " runs)"));
        line("Records end at", "0x" + ScriptHex(description.Reach));
        line("Truncated to",
             description.Truncation ? Size(*description.Truncation) : std::string("none"));
        break;
    }
    return report;
}

} // namespace

int ApplyCommand(const ApplyOptions& options) {
    try {
        const PatchedRom written = WritePatchedRom(
            {.Patch = options.Patch,
             .Rom = options.Rom,
             .Output = options.Output.value_or(DefaultPatchedPath(options.Patch, options.Rom)),
             .ReplaceExisting = options.Force,
             .HowToReplace = "--force replaces it"});
        return Print("Patched ROM written: " + written.Path + " (CRC32 " +
                     Crc32::Text(written.Crc32) + ")\n");
    } catch (const RunFailure& failure) {
        return ShownFailure(failure);
    }
}

int PatchInfoCommand(const std::string& patch) {
    try {
        const PatchDescription description = Under("Can't read the patch: " + Quoted(patch), [&] {
            const WholeFile bytes = ReadPatch(patch);
            return DescribePatch(patch, bytes.Bytes());
        });
        return Print(PatchReport(description));
    } catch (const RunFailure& failure) {
        return ShownFailure(failure);
    }
}

} // namespace kelbrin
