#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PatchDescription.h"
#include "WholeFile.h"

namespace kelbrin {

// Every byte of the patch at `path`; one larger than any patch that makes a ROM Kelbrin makes
// is refused before it is read.
WholeFile ReadPatch(const std::string& path);

// The last part of a path, by which messages name a patch.
std::string PatchName(std::string_view path);

// `path` with `extension` (".bps") in place of its own: "mods/hack.sfc" gives "mods/hack.bps".
// A name whose only dot is its first character (".rom") has no extension of its own.
std::string WithExtension(const std::string& path, std::string_view extension);

// Where a patched ROM goes when nobody says: the patch's name with the ROM's extension, beside
// the patch ("mods/hack.bps" and "big.sfc" give "mods/hack.sfc").
std::string DefaultPatchedPath(const std::string& patch, const std::string& rom);

// Where a run puts the patched ROM: `output` when given, else the last patch's name with the
// expanded ROM's extension, in the expanded ROM's folder ("mods/hack.bps" and "big.sfc" give
// "hack.sfc"). A name that is one of `inputs` (any spelling of the same file, or the same path
// for a file not made yet) gets " (patched)" before its extension: "big (patched).sfc".
std::string PatchedRomPath(const std::string& lastPatch, const std::string& expandedPath,
                           const std::optional<std::string>& output,
                           const std::vector<std::string>& inputs);

} // namespace kelbrin
