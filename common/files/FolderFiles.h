#pragma once

#include <string>
#include <vector>

namespace kelbrin {

// The paths of the plain files in `folder` (not in its subfolders), as the file layer names
// files, sorted by name. A folder that cannot be read has none: whoever lists it offers its
// files, and a folder it cannot read offers nothing. Never raises.
std::vector<std::string> FilesInFolder(const std::string& folder);

} // namespace kelbrin
