// Fuzzes the BPS or UPS reader (READER_FORMAT chooses): the input is the patch, its magic
// unchecked, once as it is and once with its checksums made right for an original of the size
// it names.

#include <cstdint>
#include <vector>

#include "BpsPatch.h"
#include "ChecksummedPatch.h"
#include "PatchContract.h"
#include "PatchedRomInMemory.h"
#include "UpsPatch.h"

namespace {

using kelbrin::fuzz::Check;
using kelbrin::fuzz::Refusal;

// Named, so that in each target's build the comparisons below are of a name with a format, not
// of a format with itself.
constexpr kelbrin::PatchFormat kReader = READER_FORMAT;

kelbrin::PatchDescription Describe(std::span<const std::uint8_t> patch) {
    return kReader == kelbrin::PatchFormat::Bps ? kelbrin::DescribeBps("fuzz", patch)
                                                : kelbrin::DescribeUps("fuzz", patch);
}

kelbrin::PageBuffer Apply(std::span<const std::uint8_t> patch,
                          std::span<const std::uint8_t> source) {
    kelbrin::PatchedRomInMemory target;
    if (kReader == kelbrin::PatchFormat::Bps) {
        kelbrin::ApplyBps("fuzz", patch, source, target);
    } else {
        kelbrin::ApplyUps("fuzz", patch, source, target);
    }
    return target.TakeBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> input(data, data + size);
    const std::vector<std::uint8_t> noSource;
    Refusal([&] { Apply(input, noSource); });

    const std::vector<std::uint8_t> patch = kelbrin::fuzz::Checksummed(input, nullptr);
    kelbrin::PatchDescription description;
    const std::int32_t described = Refusal([&] { description = Describe(patch); });
    if (described != 0) {
        Check(Refusal([&] { Apply(patch, noSource); }) == described,
              "a patch refused alone is refused with the ROM alike");
        return 0;
    }
    Check(description.PatchCrc32 == kelbrin::fuzz::Crc32Of(std::span(patch).first(size - 4)),
          "a described patch holds its own CRC32");
    if (*description.SourceSize > kelbrin::fuzz::kLargestFuzzedRom ||
        *description.TargetSize > kelbrin::fuzz::kLargestFuzzedRom) {
        return 0;
    }

    const std::vector<std::uint8_t> source = kelbrin::fuzz::Original(*description.SourceSize);
    const std::vector<std::uint8_t> fitting = kelbrin::fuzz::Checksummed(patch, &source);
    kelbrin::PageBuffer target;
    const std::int32_t applied = Refusal([&] { target = Apply(fitting, source); });
    if (applied != 0) {
        Check(applied == kelbrin::ErrPatchWrongResult,
              "a readable patch that fits its original fails only in the result's CRC32");
        return 0;
    }
    Check(target.Size() == *description.TargetSize &&
              kelbrin::fuzz::Crc32Of(target.Bytes()) == *description.TargetCrc32,
          "the patched ROM has the size and the CRC32 the patch promises");
    return 0;
}
