#pragma once

#include <cstddef>
#include <cstdint>

namespace kelbrin {

// How many bytes from the start the two runs have in common, up to `most`.
std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t most);

// How many bytes from the start equal `value`, up to `most`.
std::size_t RunLength(const std::uint8_t* bytes, std::uint8_t value, std::size_t most);

} // namespace kelbrin
