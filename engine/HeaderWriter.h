#pragma once

#include <cstdint>
#include <vector>

#include "ImageOutput.h"
#include "ScriptHead.h"

namespace kelbrin {

// Writes exactly the head's HeaderSize bytes: the header bytes listed on the HEADER line, up to
// its first empty field, padded with 00. A listed byte that breaks a rule stops it there. The
// listed bytes written are also kept in `listed`, when given.
void WriteHeader(const ScriptHead& head, ImageOutput& expanded,
                 std::vector<std::uint8_t>* listed = nullptr);

} // namespace kelbrin
