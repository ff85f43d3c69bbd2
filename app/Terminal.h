#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kelbrin {

// True when `stream` shows on a terminal (a Windows console), where control characters act
// instead of being read; false for a file, a pipe or the null device.
bool IsTerminal(std::FILE* stream);

// `text` as a person reads it on `stream` (DisplayText), its control characters escaped on a
// terminal (TerminalText): a name given on the command line drives no terminal either.
std::string ShownOn(std::FILE* stream, std::string_view text);

} // namespace kelbrin
