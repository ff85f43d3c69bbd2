#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// The path of a file that a script names, inside the folder the run works in. The folder is
// taken exactly as the system gave it; the script's name is written the Windows way, so on
// POSIX each of its backslashes becomes "/" ("sub\game.nes" works everywhere), and the two
// are joined with the system's separator.
std::string PathInFolder(std::string_view folder, std::string_view name);

// True when a relative name has a ".." part (between backslashes or slashes), so that it
// reaches above the folder it is taken in.
bool ClimbsAboveFolder(std::string_view name);

// True when a part of the path, between backslashes or slashes, is one of the names that
// Windows keeps for its devices (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$), in
// any letter case and with any extension: "aux.bin" is the device AUX there, not a file.
bool NamesWindowsDevice(std::string_view path);

} // namespace kelbrin
