#include "MakePatchCommand.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "BinaryWriter.h"
#include "BpsWriter.h"
#include "ConsoleWindow.h"
#include "FailureBox.h"
#include "FileIdentity.h"
#include "IpsWriter.h"
#include "Patch.h"
#include "PatchErrors.h"
#include "PatchFiles.h"
#include "ReplacementFile.h"
#include "RunFailure.h"
#include "Terminal.h"
#include "UpsWriter.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitError = 1;

// Below this the patch is made before a progress line would be read.
constexpr std::uint64_t kShownProgress = std::uint64_t{4} << 20;

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// TARGET's path with the format's extension in place of its own: "hack.sfc" gives "hack.bps".
std::string DefaultPatchPath(const std::string& target, PatchFormat format) {
    // Appended rather than "." + name: GCC 12 at -O3 reads a false overlap into the latter.
    std::string extension(".");
    extension += PatchFormatName(format);
    std::ranges::transform(extension, extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return WithExtension(target, extension);
}

int Fail(const RunFailure& failure) {
    ConsoleWindow window(stdout, stderr);
    FailureBox().Show(failure, window);
    return kExitError;
}

// One line on a terminal, rewritten as the target is gone through; nothing elsewhere.
PatchProgress ProgressLine(std::uint64_t targetSize) {
    if (targetSize < kShownProgress || !IsTerminal(stderr)) {
        return {};
    }
    return [targetSize](std::uint64_t done) {
        std::fprintf(stderr, "\rMaking the patch: %3u%%",
                     static_cast<unsigned>(done * 100 / targetSize));
        std::fflush(stderr);
    };
}

PatchBytes Made(const MakePatchOptions& options, std::span<const std::uint8_t> source,
                std::span<const std::uint8_t> target) {
    switch (options.Format) {
    case PatchFormat::Ips: return MakeIpsPatch(source, target, options.Target);
    case PatchFormat::Ups: return MakeUpsPatch(source, target);
    default: {
        const PatchProgress progress = ProgressLine(target.size());
        PatchBytes patch = MakeBpsPatch(source, target, options.Metadata, progress);
        if (progress) {
            std::fputs("\r\033[K", stderr);
        }
        return patch;
    }
    }
}

// The patch as the player's run reads it: it must give TARGET, every byte of it.
void Prove(const MakePatchOptions& options, const PatchBytes& patch,
           std::span<const std::uint8_t> source, std::span<const std::uint8_t> target) {
    const PageBuffer patched = ApplyPatch(options.Target, patch, source);
    const std::span<const std::uint8_t> made = patched.Bytes();
    if (!std::ranges::equal(made, target)) {
        const auto [ours, theirs] = std::ranges::mismatch(made, target);
        RefuseMadePatchWrong(PatchFormatName(options.Format), options.Source, options.Target,
                             static_cast<std::uint64_t>(ours - made.begin()));
    }
}

void WriteFile(const std::string& path, const MakePatchOptions& options, const PatchBytes& patch) {
    ReplacementFile written(ReplacementFile::NamesFor(path), {options.Source, options.Target});
    BinaryWriter writer(written.File());
    writer.Write(patch);
    writer.Close();
    written.FlushToDisk();
    // Without --force, a file that appeared there meanwhile stays as it is.
    written.Commit(options.Force);
}

void WriteStandardOutput(const PatchBytes& patch) {
    if (std::fwrite(patch.data(), 1, patch.size(), stdout) != patch.size() ||
        std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        throw RuntimeError(ErrDeviceIO, "cannot write the patch to standard output");
    }
}

} // namespace

int MakePatchCommand(const MakePatchOptions& options) {
    const std::string output =
        options.Output.value_or(DefaultPatchPath(options.Target, options.Format));
    const bool toStandardOutput = output == "-";
    try {
        const std::string context = "Can't save the patch: " + Quoted(output);
        if (!toStandardOutput) {
            // Nothing, not even --force, writes the patch over what it is made from.
            for (const std::string* input : {&options.Source, &options.Target}) {
                if (SameExistingFile(output, *input)) {
                    throw RunFailure(
                        RuntimeError(ErrPermissionDenied, "it would replace " + Quoted(*input) +
                                                              ", which it is made from"),
                        context);
                }
            }
            // Refused before the work; the rename that puts the file in place refuses again
            // should one appear there meanwhile.
            if (!options.Force && ExistingFileKey(output)) {
                throw RunFailure(RuntimeError(ErrFileAlreadyExists,
                                              "the file exists already; --force replaces it"),
                                 context);
            }
        }
        const WholeFile source = Under("Can't open the source: " + Quoted(options.Source), [&] {
            return WholeFile(options.Source, kLargestPatchedRom);
        });
        const WholeFile target = Under("Can't open the target: " + Quoted(options.Target), [&] {
            return WholeFile(options.Target, kLargestPatchedRom);
        });
        const PatchBytes patch = Under(
            "Can't make the patch from " + Quoted(options.Source) + " to " + Quoted(options.Target),
            [&] {
                PatchBytes made = Made(options, source.Bytes(), target.Bytes());
                Prove(options, made, source.Bytes(), target.Bytes());
                return made;
            });
        Under(context, [&] {
            if (toStandardOutput) {
                WriteStandardOutput(patch);
            } else {
                WriteFile(output, options, patch);
            }
        });
        std::FILE* report = toStandardOutput ? stderr : stdout;
        const std::string name = toStandardOutput ? "standard output" : output;
        std::fputs(ShownOn(report, "Patch written: " + name + " (" + std::to_string(patch.size()) +
                                       " bytes)\n")
                       .c_str(),
                   report);
        std::fflush(report);
        return kExitDone;
    } catch (const RunFailure& failure) {
        return Fail(failure);
    }
}

} // namespace kelbrin
