#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "PatchWriting.h"

namespace kelbrin {

// The largest target an IPS patch makes: its records start at offsets of 3 bytes. When the
// target's length differs from the source's, one less: the length it is cut to has 3 bytes too.
inline constexpr std::uint64_t kLargestIpsTarget = 0x1000000;

// The IPS patch that makes `target` from `source`: records of the bytes that differ (nearby ones
// in one record), runs for a byte repeated, every byte past the source's end (patchers differ
// in what they leave there), and the length to cut to when the target is shorter. No record
// starts at 0x454F46, which reads as the end mark. A target too large for the format is refused
// (error 620, naming `targetName`).
PatchBytes MakeIpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                        std::string_view targetName);

} // namespace kelbrin
