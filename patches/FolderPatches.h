#pragma once

#include <string>
#include <vector>

namespace kelbrin {

// Whether the file at `path` is a patch to offer a player: named .ips, .bps or .ups in any
// letter case, or, whatever its name, a whole patch of a format Kelbrin applies. A file that
// cannot be read is none. Never raises.
bool IsPatchFile(const std::string& path);

// The patch files in `folder` (see IsPatchFile), sorted by name.
std::vector<std::string> PatchesInFolder(const std::string& folder);

} // namespace kelbrin
