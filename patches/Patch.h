#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "PageBuffer.h"
#include "PatchDescription.h"
#include "PatchedRomSink.h"

namespace kelbrin {

// A patch held in memory, named by `name` in every message. Both refuse a patch Kelbrin does
// not apply, and a damaged or hostile one, with a numbered error (PatchErrors.h).
PatchDescription DescribePatch(std::string_view name, std::span<const std::uint8_t> patch);

// Writes the patched ROM made from `source` to `sink`, front to back, and returns its CRC32.
// A patch that does not fit `source` is refused before the sink is started. Every checksum the
// patch holds is checked: one that does not hold is refused once the last byte has gone, so a
// sink's bytes are the patched ROM only when this returns. `sourceCrc32` is the CRC32 of
// `source` when the caller has it already: a large ROM is not read once more for it.
std::uint32_t ApplyPatch(std::string_view name, std::span<const std::uint8_t> patch,
                         std::span<const std::uint8_t> source, PatchedRomSink& sink,
                         std::optional<std::uint32_t> sourceCrc32 = std::nullopt);

// The patched ROM made from `source`, in memory of its own.
PageBuffer ApplyPatch(std::string_view name, std::span<const std::uint8_t> patch,
                      std::span<const std::uint8_t> source,
                      std::optional<std::uint32_t> sourceCrc32 = std::nullopt);

} // namespace kelbrin
