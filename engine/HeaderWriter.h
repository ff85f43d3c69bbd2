#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ImageOutput.h"
#include "ScriptHead.h"

namespace kelbrin {

// Writes exactly the head's HeaderSize bytes: the header bytes listed on the HEADER line, up to
// its first empty field, padded with 00. A listed byte that breaks a rule stops it there. The
// listed bytes written are also kept in `listed`, when given.
void WriteHeader(const ScriptHead& head, ImageOutput& expanded,
                 std::vector<std::uint8_t>* listed = nullptr);

// The header bytes a run that adds the header writes; nothing when the script declares none, or
// when its HEADER line breaks a rule, so that such a run writes nothing.
std::optional<std::vector<std::uint8_t>> HeaderBytes(const ScriptHead& head);

} // namespace kelbrin
