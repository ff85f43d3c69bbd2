#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "PageBuffer.h"
#include "PatchDescription.h"

namespace kelbrin {

// IPS ("PATCH" ... "EOF", 3-byte offsets) and IPS32 ("IPS32" ... "EEOF", 4-byte offsets): records
// that write bytes or runs of one byte at an offset, applied in the order of the file. Nothing
// in them says which ROM they fit.
PatchDescription DescribeIps(std::string_view name, std::span<const std::uint8_t> patch,
                             PatchFormat format);
PageBuffer ApplyIps(std::string_view name, std::span<const std::uint8_t> patch, PatchFormat format,
                    std::span<const std::uint8_t> source);

} // namespace kelbrin
