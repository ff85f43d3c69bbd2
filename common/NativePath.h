#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// Paths are built the Windows way (directory + "\" + name). Before a path reaches a POSIX
// file system every backslash becomes "/", so a script that names "sub\game.nes" works.
std::string NativePath(std::string_view path);

// True when a relative name has a ".." part (between backslashes or slashes), so that it
// reaches above the folder it is taken in.
bool ClimbsAboveFolder(std::string_view name);

} // namespace kelbrin
