#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PatchDescription.h"
#include "PatchedRomSink.h"

namespace kelbrin {

// UPS ("UPS1"): hunks of bytes XORed into the original, each after a run of bytes it leaves
// alone; the original's, the patched ROM's and the patch's own CRC32 at its end. A UPS patch
// could be applied backwards to the patched ROM; Kelbrin applies it only forwards.
PatchDescription DescribeUps(std::string_view name, std::span<const std::uint8_t> patch);
// Writes the patched ROM to `sink` and returns its CRC32 (see ApplyPatch).
std::uint32_t ApplyUps(std::string_view name, std::span<const std::uint8_t> patch,
                       std::span<const std::uint8_t> source, PatchedRomSink& sink,
                       std::optional<std::uint32_t> sourceCrc32 = std::nullopt);

} // namespace kelbrin
