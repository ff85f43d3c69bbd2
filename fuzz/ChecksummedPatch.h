#pragma once

// BPS and UPS patches end in the CRC32 of the original, of the patched ROM and of themselves.
// Fuzzed bytes almost never carry right ones: these make them right, so that the reader's walk
// through the actions is what gets fuzzed.

#include <cstdint>
#include <span>
#include <vector>

#include "Crc32.h"

namespace kelbrin::fuzz {

inline void PutCrc32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline std::uint32_t Crc32Of(std::span<const std::uint8_t> bytes) {
    Crc32 crc;
    crc.Update(bytes);
    return crc.Value();
}

// The patch with its own CRC32 made right, and the original's too when `source` is given.
inline std::vector<std::uint8_t> Checksummed(std::vector<std::uint8_t> patch,
                                             const std::vector<std::uint8_t>* source) {
    if (patch.size() >= 12) {
        if (source != nullptr) {
            PutCrc32(patch, patch.size() - 12, Crc32Of(*source));
        }
        PutCrc32(patch, patch.size() - 4, Crc32Of(std::span(patch).first(patch.size() - 4)));
    }
    return patch;
}

// An original of `size` bytes that is not all alike.
inline std::vector<std::uint8_t> Original(std::uint64_t size) {
    std::vector<std::uint8_t> source(size);
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return source;
}

} // namespace kelbrin::fuzz
