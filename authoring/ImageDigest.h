#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelbrin {

// The MD5 hex text of an image in memory, by the MD5 class a run checks the original with.
std::string ImageDigest(std::span<const std::uint8_t> image);

} // namespace kelbrin
