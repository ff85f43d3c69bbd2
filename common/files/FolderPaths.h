#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// The path of a file that a script names, inside the folder the run works in. The folder is
// taken exactly as the system gave it; the script's name is written the Windows way, so on
// POSIX each of its backslashes becomes "/" ("sub\game.nes" works everywhere), and the two
// are joined with the system's separator. On Windows the folder is UTF-8 and the script's name
// is text of the ANSI code page, as the classic file calls read it: it becomes UTF-8 here.
std::string PathInFolder(std::string_view folder, std::string_view scriptName);

// `name` (UTF-8, as the system lists it) inside `folder`, with one separator between them.
std::string JoinedPath(std::string_view folder, std::string_view name);

// The folder part of a file's path: what stands before its last separator, "." for a bare
// name, the root for a file in it.
std::string FolderOfFile(std::string_view path);

// True when a relative name has a ".." part (between backslashes or slashes), so that it
// reaches above the folder it is taken in.
bool ClimbsAboveFolder(std::string_view name);

// True when a part of the path, between backslashes or slashes, is one of the names that
// Windows keeps for its devices (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, COM and LPT with a
// superscript 1, 2 or 3, CONIN$, CONOUT$), in any letter case and with any extension: "aux.bin"
// is the device AUX there, not a file. The path is UTF-8.
bool NamesWindowsDevice(std::string_view path);

// True when the path has a ':' after its drive letter, if any: on Windows "orig.nes:x" is a
// hidden stream of orig.nes, no file of its own.
bool NamesAlternateStream(std::string_view path);

// A path as the 8-bit text that messages are made of, beside names from a script: the path
// itself; on Windows, where paths are UTF-8 and a script's names the ANSI code page, its spelling
// in that code page ("?" where it has no character).
std::string PathText(std::string_view path);

} // namespace kelbrin
