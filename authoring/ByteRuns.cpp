#include "ByteRuns.h"

#include <bit>
#include <cstring>

namespace kelbrin {

namespace {

// Eight bytes at a time: the first differing byte is the lowest set bit of the XOR on a
// little-endian machine, the highest on a big-endian one.
std::uint64_t Load(const std::uint8_t* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

std::size_t FirstDifferingByte(std::uint64_t difference) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(std::countr_zero(difference)) / 8;
    } else {
        return static_cast<std::size_t>(std::countl_zero(difference)) / 8;
    }
}

} // namespace

std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t most) {
    std::size_t at = 0;
    for (; at + 8 <= most; at += 8) {
        const std::uint64_t difference = Load(a + at) ^ Load(b + at);
        if (difference != 0) {
            return at + FirstDifferingByte(difference);
        }
    }
    while (at < most && a[at] == b[at]) {
        ++at;
    }
    return at;
}

std::size_t RunLength(const std::uint8_t* bytes, std::uint8_t value, std::size_t most) {
    const std::uint64_t pattern = 0x0101010101010101ULL * value;
    std::size_t at = 0;
    for (; at + 8 <= most; at += 8) {
        const std::uint64_t difference = Load(bytes + at) ^ pattern;
        if (difference != 0) {
            return at + FirstDifferingByte(difference);
        }
    }
    while (at < most && bytes[at] == value) {
        ++at;
    }
    return at;
}

} // namespace kelbrin
