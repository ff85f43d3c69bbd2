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

// A BPS number of any size: seven bits a byte, the last byte marked, each continuation one less.
inline std::string Number(std::uint64_t value) {
    std::string bytes;
    for (;; --value) {
        const auto low = static_cast<char>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            return bytes + static_cast<char>(0x80 | low);
        }
        bytes += low;
    }
}

} // namespace kelbrin::test
