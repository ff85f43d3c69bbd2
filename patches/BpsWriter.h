#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "PatchWriting.h"

namespace kelbrin {

// The BPS patch that makes `target` from `source`, with `metadata` as the author's text (none
// when empty). Where the two agree at the same offset it reads the source there; bytes found
// elsewhere in the source, or earlier in the target (moved and repeated blocks, runs), are
// copied, each copy placed relative to where the last of its kind ended; the rest is in the patch.
// The memory taken beside the patch is at most three quarters of the source's size and a
// quarter of the target's (of 4 GiB at most).
PatchBytes MakeBpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                        std::string_view metadata = {}, const PatchProgress& progress = {});

} // namespace kelbrin
