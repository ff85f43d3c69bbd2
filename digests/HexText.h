#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelbrin {

// Bytes as upper-case hex digits, two a byte: how the program writes every digest.
inline std::string HexText(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * bytes.size());
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

} // namespace kelbrin
