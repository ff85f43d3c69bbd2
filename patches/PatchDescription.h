#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "PatchFormat.h"

namespace kelbrin {

// The largest ROM a patch may make: a header and an image of at most FFFFFFF bytes each fit.
inline constexpr std::uint64_t kLargestPatchedRom = 0x20000000;
// The largest patch file read: a BPS patch may give each byte of the ROM it makes in an action
// of its own, two bytes a byte.
inline constexpr std::uint64_t kLargestPatch = 2 * kLargestPatchedRom;

// The kinds of BPS actions, numbered as the patch numbers them: the index of their counts.
enum class BpsAction : std::size_t { SourceRead, TargetRead, SourceCopy, TargetCopy };

// What a patch says of itself, read without applying it. What its format does not hold is
// absent.
struct PatchDescription {
    PatchFormat Format = PatchFormat::Unknown;
    std::optional<std::uint64_t> SourceSize;
    std::optional<std::uint64_t> TargetSize;
    std::optional<std::uint32_t> SourceCrc32;
    std::optional<std::uint32_t> TargetCrc32;
    std::optional<std::uint32_t> PatchCrc32;
    // IPS records (runs among them), BPS actions, UPS hunks.
    std::uint64_t Records = 0;
    std::uint64_t Runs = 0;
    std::array<std::uint64_t, 4> BpsActions{};
    // IPS: where its furthest record ends, and the length it cuts the ROM to.
    std::uint64_t Reach = 0;
    std::optional<std::uint64_t> Truncation;
    // BPS: the author's text, as the patch holds it (UTF-8 by custom, not checked).
    std::string Metadata;
};

} // namespace kelbrin
