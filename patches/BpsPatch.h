#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PatchDescription.h"
#include "PatchedRomSink.h"

namespace kelbrin {

// BPS ("BPS1"): the patched ROM written front to back by actions that read the original at the
// same place, take bytes from the patch, or copy from the original or from what is written so
// far; the original's, the patched ROM's and the patch's own CRC32 at its end.
PatchDescription DescribeBps(std::string_view name, std::span<const std::uint8_t> patch);
// Writes the patched ROM to `sink` and returns its CRC32 (see ApplyPatch).
std::uint32_t ApplyBps(std::string_view name, std::span<const std::uint8_t> patch,
                       std::span<const std::uint8_t> source, PatchedRomSink& sink,
                       std::optional<std::uint32_t> sourceCrc32 = std::nullopt);

} // namespace kelbrin
