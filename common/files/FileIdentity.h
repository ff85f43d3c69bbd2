#pragma once

#include <string>

namespace kelbrin {

// True when both paths name one existing file, whatever the spelling ("./a.nes" and "a.nes";
// on Windows also "A.NES"), and through hard or symbolic links: the same device and inode,
// or the same volume and file index.
bool SameExistingFile(const std::string& first, const std::string& second);

} // namespace kelbrin
