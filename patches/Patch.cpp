#include "Patch.h"

#include "BpsPatch.h"
#include "IpsPatch.h"
#include "PatchErrors.h"
#include "PatchedRomInMemory.h"
#include "UpsPatch.h"

namespace kelbrin {

namespace {

PatchFormat AppliedFormat(std::string_view name, std::span<const std::uint8_t> patch) {
    const PatchFormat format = RecognisePatch(patch);
    if (format == PatchFormat::Unknown) {
        RefuseUnknownFormat(name, patch);
    }
    if (!KelbrinApplies(format)) {
        RefuseFormatNotApplied(name, PatchFormatName(format), IsArchive(format));
    }
    return format;
}

} // namespace

PatchDescription DescribePatch(std::string_view name, std::span<const std::uint8_t> patch) {
    const PatchFormat format = AppliedFormat(name, patch);
    switch (format) {
    case PatchFormat::Bps: return DescribeBps(name, patch);
    case PatchFormat::Ups: return DescribeUps(name, patch);
    default: return DescribeIps(name, patch, format);
    }
}

std::uint32_t ApplyPatch(std::string_view name, std::span<const std::uint8_t> patch,
                         std::span<const std::uint8_t> source, PatchedRomSink& sink,
                         std::optional<std::uint32_t> sourceCrc32) {
    const PatchFormat format = AppliedFormat(name, patch);
    switch (format) {
    case PatchFormat::Bps: return ApplyBps(name, patch, source, sink, sourceCrc32);
    case PatchFormat::Ups: return ApplyUps(name, patch, source, sink, sourceCrc32);
    default: return ApplyIps(name, patch, format, source, sink);
    }
}

PageBuffer ApplyPatch(std::string_view name, std::span<const std::uint8_t> patch,
                      std::span<const std::uint8_t> source,
                      std::optional<std::uint32_t> sourceCrc32) {
    PatchedRomInMemory patched;
    ApplyPatch(name, patch, source, patched, sourceCrc32);
    return patched.TakeBytes();
}

} // namespace kelbrin
