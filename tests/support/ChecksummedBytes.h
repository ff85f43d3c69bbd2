#pragma once

#include <cstdint>
#include <string>

#include "Crc32.h"

namespace kelbrin::test {

// The four bytes of a BPS or UPS patch's CRC32 and numbers, lowest first.
inline std::string LittleEndian(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

inline std::uint32_t Crc32Of(const std::string& bytes) {
    Crc32 crc;
    crc.Update({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    return crc.Value();
}

} // namespace kelbrin::test
