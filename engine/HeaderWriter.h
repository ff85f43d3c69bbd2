#pragma once

#include "BinaryWriter.h"
#include "ScriptHead.h"

namespace kelbrin {

// Writes exactly the head's HeaderSize bytes: the header bytes listed on the HEADER line, up to
// its first empty field, padded with 00. A listed byte that breaks a rule stops it there.
void WriteHeader(const ScriptHead& head, BinaryWriter& expanded);

} // namespace kelbrin
