#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kelbrin {

// Told now and then how many bytes of the target a writer has gone through, for a progress line.
using PatchProgress = std::function<void(std::uint64_t done)>;

// What the writers append their patches to.
using PatchBytes = std::vector<std::uint8_t>;

// A number of BPS and UPS (seven bits a byte, lowest first, the last byte marked by its top bit,
// each longer form starting where the shorter ones end), appended to `out`.
void AppendNumber(PatchBytes& out, std::uint64_t value);
// The bytes AppendNumber takes for `value`.
std::size_t NumberSize(std::uint64_t value);

// The CRC32s of the source and the target, as given, and last the patch's own, of all that comes
// before it.
void AppendChecksums(PatchBytes& out, std::uint32_t sourceCrc, std::uint32_t targetCrc);

} // namespace kelbrin
