#include "PatchCursor.h"

#include <limits>

namespace kelbrin {

std::span<const std::uint8_t> PatchCursor::Take(std::uint64_t count) {
    if (count > Left()) {
        CutShort();
    }
    const std::span<const std::uint8_t> taken = bytes_.subspan(offset_, count);
    offset_ += count;
    return taken;
}

std::uint64_t PatchCursor::BigEndian(std::size_t width) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : Take(width)) {
        value = value << 8 | byte;
    }
    return value;
}

std::uint64_t PatchCursor::Number() {
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
    const std::size_t start = offset_;
    std::uint64_t value = 0;
    std::uint64_t shift = 1;
    for (;;) {
        const std::uint8_t byte = Byte();
        const std::uint64_t digit = byte & 0x7F;
        if (digit != 0 && shift > kMost / digit) {
            RefuseNumberTooLarge(patch_, start);
        }
        if (value > kMost - digit * shift) {
            RefuseNumberTooLarge(patch_, start);
        }
        value += digit * shift;
        if ((byte & 0x80) != 0) {
            return value;
        }
        if (shift > kMost >> 7) {
            RefuseNumberTooLarge(patch_, start);
        }
        shift <<= 7;
        if (value > kMost - shift) {
            RefuseNumberTooLarge(patch_, start);
        }
        value += shift;
    }
}

void PatchCursor::CutShort() const {
    RefuseCutShort(patch_, item_, itemOffset_, endText_);
}

std::uint32_t StoredCrc32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

} // namespace kelbrin
