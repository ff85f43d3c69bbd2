#pragma once

#include <cstdint>
#include <string>

#include "engine/ExpansionRun.h"

namespace kelbrin {

// Writes exactly HeaderSize bytes: the header bytes listed on the HEADER line from
// `position` on, up to its first empty field, padded with 00.
void WriteHeader(ExpansionRun& run, const std::string& headerLine, std::int32_t& position);

} // namespace kelbrin
