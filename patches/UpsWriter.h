#pragma once

#include <span>

#include "PatchWriting.h"

namespace kelbrin {

// The UPS patch that makes `target` from `source`: where the two differ, hunks of their bytes
// XORed (past the shorter one's end its bytes count as 0), each after the count of bytes they
// agree on; then the sizes' CRC32s.
PatchBytes MakeUpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target);

} // namespace kelbrin
