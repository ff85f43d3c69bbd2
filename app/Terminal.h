#pragma once

#include <cstdio>

namespace kelbrin {

// True when `stream` shows on a terminal (a Windows console), where control characters act
// instead of being read; false for a file, a pipe or the null device.
bool IsTerminal(std::FILE* stream);

} // namespace kelbrin
