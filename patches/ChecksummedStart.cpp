#include "ChecksummedStart.h"

#include "Crc32.h"

namespace kelbrin {

std::uint32_t Crc32Of(std::span<const std::uint8_t> bytes) {
    Crc32 crc;
    crc.Update(bytes);
    return crc.Value();
}

ChecksummedStart ReadChecksummedStart(const PatchSubject& subject,
                                      std::span<const std::uint8_t> patch, PatchFormat format,
                                      std::size_t smallest) {
    if (patch.size() < smallest) {
        RefuseCutShort(subject, "the header", 0, "its end");
    }
    const std::size_t end = patch.size() - kChecksumsSize;
    PatchDescription description;
    description.Format = format;
    description.SourceCrc32 = StoredCrc32(patch, end);
    description.TargetCrc32 = StoredCrc32(patch, end + 4);
    description.PatchCrc32 = StoredCrc32(patch, end + 8);
    const std::uint32_t computed = Crc32Of(patch.first(patch.size() - 4));
    if (computed != *description.PatchCrc32) {
        RefusePatchChecksum(subject, *description.PatchCrc32, computed);
    }

    PatchCursor cursor(subject, patch, end, "the checksums at its end");
    cursor.Begin("the header");
    cursor.Take(4);
    description.SourceSize = cursor.Number();
    description.TargetSize = cursor.Number();
    if (*description.TargetSize > kLargestPatchedRom) {
        RefuseTargetTooLarge(subject, *description.TargetSize, kLargestPatchedRom);
    }
    return {std::move(description), cursor};
}

} // namespace kelbrin
