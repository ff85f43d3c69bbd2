#include "WrittenPatch.h"

#include <algorithm>
#include <optional>

#include "BinaryWriter.h"
#include "BpsWriter.h"
#include "FileIdentity.h"
#include "IpsWriter.h"
#include "Patch.h"
#include "PatchErrors.h"
#include "PatchFiles.h"
#include "PatchedRomComparison.h"
#include "ReplacementFile.h"
#include "RunFailure.h"
#include "UpsWriter.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

std::string InQuotes(const std::string& path) {
    return "'" + path + "'";
}

PatchBytes Made(const PatchOrder& order, std::span<const std::uint8_t> source,
                std::span<const std::uint8_t> target) {
    switch (order.Format) {
    case PatchFormat::Ips: return MakeIpsPatch(source, target, order.Target);
    case PatchFormat::Ups: return MakeUpsPatch(source, target);
    default: {
        PatchProgress progress;
        if (order.Progress) {
            progress = [&order, size = target.size()](std::uint64_t done) {
                order.Progress(done, size);
            };
        }
        return MakeBpsPatch(source, target, order.Metadata, progress);
    }
    }
}

// The patch as the player's run reads it: it must give the target, every byte of it.
void Prove(const PatchOrder& order, const PatchBytes& patch, std::span<const std::uint8_t> source,
           std::span<const std::uint8_t> target) {
    PatchedRomComparison patched(target);
    ApplyPatch(order.Target, patch, source, patched);
    if (const std::optional<std::uint64_t> difference = patched.Difference()) {
        RefuseMadePatchWrong(PatchFormatName(order.Format), order.Source, order.Target,
                             *difference);
    }
}

} // namespace

std::string DefaultPatchPath(const std::string& target, PatchFormat format) {
    // Appended rather than "." + name: GCC 12 at -O3 reads a false overlap into the latter.
    std::string extension(".");
    extension += PatchFormatName(format);
    std::ranges::transform(extension, extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return WithExtension(target, extension);
}

PatchBytes ProvedPatch(const PatchOrder& order) {
    const WholeFile source = Under("Can't open the source: " + InQuotes(order.Source),
                                   [&] { return WholeFile(order.Source, kLargestPatchedRom); });
    const WholeFile target = Under("Can't open the target: " + InQuotes(order.Target),
                                   [&] { return WholeFile(order.Target, kLargestPatchedRom); });
    return Under("Can't make the patch from " + InQuotes(order.Source) + " to " +
                     InQuotes(order.Target),
                 [&] {
                     PatchBytes made = Made(order, source.Bytes(), target.Bytes());
                     if (order.Progress) {
                         order.Progress(target.Bytes().size(), target.Bytes().size());
                     }
                     Prove(order, made, source.Bytes(), target.Bytes());
                     return made;
                 });
}

std::uint64_t WritePatch(const PatchOrder& order) {
    const std::string context = "Can't save the patch: " + InQuotes(order.Output);
    // Nothing, not even an order to replace, writes the patch over what it is made from.
    for (const std::string* input : {&order.Source, &order.Target}) {
        if (SameExistingFile(order.Output, *input)) {
            throw RunFailure(
                RuntimeError(ErrPermissionDenied,
                             "it would replace " + InQuotes(*input) + ", which it is made from"),
                context);
        }
    }
    // Refused before the work; the rename that puts the file in place refuses again should one
    // appear there meanwhile.
    const bool replace = order.ReplaceExisting ||
                         (order.MayReplace && ExistingFileKey(order.Output) && order.MayReplace());
    if (!replace && ExistingFileKey(order.Output)) {
        throw RunFailure(
            RuntimeError(ErrFileAlreadyExists, "the file exists already; " + order.HowToReplace),
            context);
    }
    const PatchBytes patch = ProvedPatch(order);
    Under(context, [&] {
        ReplacementFile written(ReplacementFile::NamesFor(order.Output),
                                {order.Source, order.Target});
        BinaryWriter writer(written.File());
        writer.Write(patch);
        writer.Close();
        written.FlushToDisk();
        // A file that appeared there meanwhile stays as it is unless the order replaces it.
        written.Commit(replace);
    });
    return patch.size();
}

} // namespace kelbrin
