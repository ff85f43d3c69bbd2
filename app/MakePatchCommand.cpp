#include "MakePatchCommand.h"

#include <cstdio>

#include "CommandFailure.h"
#include "ConsoleWindow.h"
#include "Terminal.h"
#include "WrittenPatch.h"

namespace kelbrin {

namespace {

constexpr int kExitDone = 0;

// Below this the patch is made before a progress line would be read.
constexpr std::uint64_t kShownProgress = std::uint64_t{4} << 20;

// One line on a terminal, rewritten as the target is gone through and cleared once the patch
// is made; nothing elsewhere.
MakingProgress ProgressLine(PatchFormat format) {
    if (format != PatchFormat::Bps || !IsTerminal(stderr)) {
        return {};
    }
    return [](std::uint64_t done, std::uint64_t targetSize) {
        if (targetSize < kShownProgress) {
            return;
        }
        if (done >= targetSize) {
            std::fputs("\r\033[K", stderr);
        } else {
            std::fprintf(stderr, "\rMaking the patch: %3u%%",
                         static_cast<unsigned>(done * 100 / targetSize));
        }
        std::fflush(stderr);
    };
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
        const PatchOrder order{.Source = options.Source,
                               .Target = options.Target,
                               .Format = options.Format,
                               .Metadata = options.Metadata,
                               .Output = output,
                               .ReplaceExisting = options.Force,
                               .MayReplace = {},
                               .HowToReplace = "--force replaces it",
                               .Progress = ProgressLine(options.Format)};
        std::uint64_t size = 0;
        if (toStandardOutput) {
            const PatchBytes patch = ProvedPatch(order);
            Under("Can't save the patch: " + Quoted(output), [&] { WriteStandardOutput(patch); });
            size = patch.size();
        } else {
            size = WritePatch(order);
        }
        std::FILE* report = toStandardOutput ? stderr : stdout;
        const std::string name = toStandardOutput ? "standard output" : output;
        std::fputs(
            ShownOn(report, "Patch written: " + name + " (" + std::to_string(size) + " bytes)\n")
                .c_str(),
            report);
        std::fflush(report);
        return kExitDone;
    } catch (const RunFailure& failure) {
        return ShownFailure(failure);
    }
}

} // namespace kelbrin
