#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// Paths are built the Windows way (directory + "\" + name). Before a path reaches a POSIX
// file system every backslash becomes "/", so a script that names "sub\game.nes" works.
std::string NativePath(std::string_view path);

} // namespace kelbrin
