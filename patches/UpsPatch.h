#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PageBuffer.h"
#include "PatchDescription.h"

namespace kelbrin {

// UPS ("UPS1"): hunks of bytes XORed into the original, each after a run of bytes it leaves
// alone; the original's, the patched ROM's and the patch's own CRC32 at its end. A UPS patch
// could be applied backwards to the patched ROM; Kelbrin applies it only forwards.
PatchDescription DescribeUps(std::string_view name, std::span<const std::uint8_t> patch);
// `sourceCrc32`: the CRC32 of `source`, when the caller has it.
PageBuffer ApplyUps(std::string_view name, std::span<const std::uint8_t> patch,
                    std::span<const std::uint8_t> source,
                    std::optional<std::uint32_t> sourceCrc32 = std::nullopt);

} // namespace kelbrin
