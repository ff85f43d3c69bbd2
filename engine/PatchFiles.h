#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PatchDescription.h"
#include "WholeFile.h"

namespace kelbrin {

// A BPS patch may give each byte of the ROM it makes in an action of its own: two bytes a byte.
inline constexpr std::uint64_t kLargestPatch = 2 * kLargestPatchedRom;

// Every byte of the patch at `path`; one larger than any patch that makes a ROM Kelbrin makes
// is refused before it is read.
WholeFile ReadPatch(const std::string& path);

// The last part of a path, by which messages name a patch.
std::string PatchName(std::string_view path);

// Where a run puts the patched ROM: `output` when given, else the last patch's name with the
// expanded ROM's extension, in the expanded ROM's folder ("mods/hack.bps" and "big.sfc" give
// "hack.sfc"). A name that is one of `inputs` (any spelling of the same file, or the same path
// for a file not made yet) gets " (patched)" before its extension: "big (patched).sfc".
std::string PatchedRomPath(const std::string& lastPatch, const std::string& expandedPath,
                           const std::optional<std::string>& output,
                           const std::vector<std::string>& inputs);

} // namespace kelbrin
