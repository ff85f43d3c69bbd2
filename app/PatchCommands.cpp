#include "PatchCommands.h"

#include <cstdio>
#include <string_view>

#include "BinaryWriter.h"
#include "ConsoleWindow.h"
#include "Crc32.h"
#include "DisplayText.h"
#include "FailureBox.h"
#include "FileHandle.h"
#include "FileIdentity.h"
#include "NumberText.h"
#include "Patch.h"
#include "ReplacementFile.h"
#include "RunFailure.h"
#include "Terminal.h"
#include "TerminalText.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;

// A BPS patch may give each byte of the ROM it makes in an action of its own: two bytes a byte.
constexpr std::uint64_t kLargestPatch = 2 * kLargestPatchedRom;

#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

// Where the extension of the path's last part starts (its dot), or the path's end. A name whose
// only dot is its first character (".rom") has none.
std::size_t ExtensionAt(std::string_view path) {
    const std::size_t nameStart = path.find_last_of(kSeparators) + 1; // 0 when there is none
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot > nameStart ? dot : path.size();
}

std::string DefaultPatchedPath(const std::string& patch, const std::string& rom) {
    return patch.substr(0, ExtensionAt(patch)) + rom.substr(ExtensionAt(rom));
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Shows the failure as the run's box on standard error.
int Fail(const RunFailure& failure) {
    ConsoleWindow window(stdout, stderr);
    FailureBox().Show(failure, window);
    return kExitError;
}

PageBuffer Patched(const ApplyOptions& options) {
    const WholeFile patch = Under("Can't open the patch: " + Quoted(options.Patch),
                                  [&] { return WholeFile(options.Patch, kLargestPatch); });
    // A ROM larger than any patch makes is refused with the patch's own words.
    const WholeFile rom = Under("Can't open the ROM: " + Quoted(options.Rom),
                                [&] { return WholeFile(options.Rom, kLargestPatchedRom); });
    return Under("Can't apply the patch " + Quoted(options.Patch) + " to " + Quoted(options.Rom),
                 [&] { return ApplyPatch(options.Patch, patch.Bytes(), rom.Bytes()); });
}

void Write(const std::string& path, const ApplyOptions& options, const PageBuffer& bytes) {
    Under("Can't save the patched ROM: " + Quoted(path), [&] {
        ReplacementFile written(ReplacementFile::NamesFor(path), {options.Patch, options.Rom});
        BinaryWriter writer(written.File());
        writer.Write(bytes.Bytes());
        writer.Close();
        written.FlushToDisk();
        // Without --force, a file that appeared there meanwhile stays as it is.
        written.Commit(options.Force);
    });
}

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
    const std::string output =
        options.Output.value_or(DefaultPatchedPath(options.Patch, options.Rom));
    try {
        const std::string context = "Can't save the patched ROM: " + Quoted(output);
        // Nothing, not even --force, writes the patched ROM over what it is made from.
        for (const std::string* input : {&options.Rom, &options.Patch}) {
            if (SameExistingFile(output, *input)) {
                throw RunFailure(
                    RuntimeError(ErrPermissionDenied,
                                 "it would replace " + Quoted(*input) + ", which it is made from"),
                    context);
            }
        }
        // Refused before the work; the rename that puts the file in place refuses again should
        // one appear there meanwhile.
        if (!options.Force && ExistingFileKey(output)) {
            throw RunFailure(
                RuntimeError(ErrFileAlreadyExists, "the file exists already; --force replaces it"),
                context);
        }
        const PageBuffer patched = Patched(options);
        Write(output, options, patched);
        Crc32 crc;
        crc.Update(patched.Bytes());
        return Print("Patched ROM written: " + output + " (CRC32 " + Crc32::Text(crc.Value()) +
                     ")\n");
    } catch (const RunFailure& failure) {
        return Fail(failure);
    }
}

int PatchInfoCommand(const std::string& patch) {
    try {
        const PatchDescription description = Under("Can't read the patch: " + Quoted(patch), [&] {
            const WholeFile bytes(patch, kLargestPatch);
            return DescribePatch(patch, bytes.Bytes());
        });
        return Print(PatchReport(description));
    } catch (const RunFailure& failure) {
        return Fail(failure);
    }
}

} // namespace kelbrin
