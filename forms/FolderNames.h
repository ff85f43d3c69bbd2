#pragma once

#include <optional>
#include <string>

namespace kelbrin {

// How the window takes a path that a person gave it (on the command line, by a drop, in the
// folder dialog, or kept from last time) as the folder its buttons act on. Paths are taken as
// the file layer names files: bytes on POSIX, where "/" alone separates; on Windows "\" and
// "/" both do.

// `path` from the working directory when it is relative, with no separator at its end (but for
// a root): "t1/" and "./t1" are the same folder as ".../t1".
std::string FolderPath(const std::string& path);

// The folder for `path`: the path itself (as FolderPath gives it) when it names a folder, the
// folder that holds it when it names a file; nothing when it names neither, such as a name
// that does not exist or one a toolkit could not hand on unchanged.
std::optional<std::string> ExistingFolderOf(const std::string& path);

// The name a person calls an absolute folder by: its last part, with "." and ".." parts taken
// as they read ("/games/t1/.." is "games"); a root is named as it is written.
std::string FolderName(const std::string& folder);

// The user's home folder, where a folder dialog opens when nothing better is known: HOME on
// POSIX (else the user database's), USERPROFILE on Windows; the working directory when the
// system names none.
std::string HomeFolder();

#ifndef _WIN32
// The folder that holds the running program, byte for byte as the system names it: a folder's
// name need not be text at all. From /proc/self/exe; where there is none, the folder of
// `argv0` as the program was started.
std::string ProgramFolder(const char* argv0);
#endif

} // namespace kelbrin
