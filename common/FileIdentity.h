#pragma once

#include <string>

namespace kelbrin {

// True when both paths name one existing file: the same device and inode, whatever the
// spelling ("./a.nes" and "a.nes") and through hard or symbolic links.
bool SameExistingFile(const std::string& first, const std::string& second);

} // namespace kelbrin
