#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "PatchDescription.h"
#include "PatchedRomSink.h"

namespace kelbrin {

// IPS ("PATCH" ... "EOF", 3-byte offsets) and IPS32 ("IPS32" ... "EEOF", 4-byte offsets): records
// that write bytes or runs of one byte at an offset, applied in the order of the file. Nothing
// in them says which ROM they fit.
PatchDescription DescribeIps(std::string_view name, std::span<const std::uint8_t> patch,
                             PatchFormat format);
// Writes the patched ROM to `sink` and returns its CRC32 (see ApplyPatch). The records may
// write anywhere in any order: the ROM is made whole in memory before it goes.
std::uint32_t ApplyIps(std::string_view name, std::span<const std::uint8_t> patch,
                       PatchFormat format, std::span<const std::uint8_t> source,
                       PatchedRomSink& sink);

} // namespace kelbrin
