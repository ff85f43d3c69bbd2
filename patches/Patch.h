#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PageBuffer.h"
#include "PatchDescription.h"

namespace kelbrin {

// A patch held in memory, named by `name` in every message. Both refuse a patch Kelbrin does
// not apply, and a damaged or hostile one, with a numbered error (PatchErrors.h).
PatchDescription DescribePatch(std::string_view name, std::span<const std::uint8_t> patch);

// The patched ROM made from `source`. Every checksum the patch holds is checked; nothing is
// returned from a patch that does not fit `source`. The memory taken is the patched ROM's.
// `sourceCrc32` is the CRC32 of `source` when the caller has it already: a large ROM is not
// read once more for it.
PageBuffer ApplyPatch(std::string_view name, std::span<const std::uint8_t> patch,
                      std::span<const std::uint8_t> source,
                      std::optional<std::uint32_t> sourceCrc32 = std::nullopt);

} // namespace kelbrin
