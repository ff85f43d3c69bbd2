#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelbrin::test {

// Bytes for digest tests: every byte value occurs, the high ones included, so a signed-char slip
// would show, and nothing repeats within megabytes.
inline std::string PseudoRandom(std::size_t length) {
    std::string data(length, '\0');
    std::uint32_t state = 0x2545F491;
    for (char& c : data) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return data;
}

} // namespace kelbrin::test
