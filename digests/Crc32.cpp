#include "Crc32.h"

#include <algorithm>
#include <cstdio>
#include <zlib.h>

#ifdef KELBRIN_CRC32_LIBDEFLATE
#include <libdeflate.h>
#endif

namespace kelbrin {

void Crc32::Update(std::span<const std::uint8_t> bytes) {
#ifdef KELBRIN_CRC32_LIBDEFLATE
    // libdeflate folds with carry-less multiplication where the processor has it: several times
    // zlib's speed, and a patched ROM is checked whole before it is written.
    value_ = ::libdeflate_crc32(value_, bytes.data(), bytes.size());
#else
    // zlib counts in unsigned int.
    constexpr std::size_t kLargestPiece = 1u << 30;
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kLargestPiece);
        value_ = static_cast<std::uint32_t>(
            ::crc32(value_, bytes.data(), static_cast<unsigned int>(piece)));
        bytes = bytes.subspan(piece);
    }
#endif
}

std::uint32_t Crc32::Combine(std::uint32_t first, std::uint32_t second, std::int64_t secondLength) {
    // z_off_t is 32 bits on Windows; a ROM image is at most FFFFFFF bytes, far below that.
    return static_cast<std::uint32_t>(
        ::crc32_combine(first, second, static_cast<z_off_t>(secondLength)));
}

std::string Crc32::Text(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

} // namespace kelbrin
