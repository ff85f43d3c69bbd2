#pragma once

#include <cstdint>
#include <string>

namespace kelbrin {

// The file's length in bytes, reduced to its low 32 bits as a signed value; -1 when the file
// cannot be opened for reading. Never raises.
std::int32_t FileLength(const std::string& fileName);

// The file's full 64-bit length; -1 when it cannot be opened for reading. Never raises.
std::int64_t FileLength64(const std::string& fileName);

} // namespace kelbrin
