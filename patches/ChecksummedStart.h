#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "PatchCursor.h"
#include "PatchDescription.h"

namespace kelbrin {

// BPS and UPS end in three CRC32s: the original's, the patched ROM's and the patch's own.
inline constexpr std::size_t kChecksumsSize = 12;

std::uint32_t Crc32Of(std::span<const std::uint8_t> bytes);

// What BPS and UPS patches start alike with: their mark and the two sizes, read after the
// patch's own CRC32 has been found right.
struct ChecksummedStart {
    PatchDescription Description;
    PatchCursor Cursor; // after the patched ROM's size, up to the checksums
};

// Refuses a patch shorter than `smallest` bytes, one whose own CRC32 is wrong, and one that
// would make a ROM larger than any Kelbrin makes.
ChecksummedStart ReadChecksummedStart(const PatchSubject& subject,
                                      std::span<const std::uint8_t> patch, PatchFormat format,
                                      std::size_t smallest);

} // namespace kelbrin
