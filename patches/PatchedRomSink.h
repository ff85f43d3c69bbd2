#pragma once

#include <cstdint>
#include <span>

namespace kelbrin {

// Where a patched ROM goes as it is made: a file, memory, or a comparison with the ROM it
// should be. The bytes arrive front to back, a piece at a time, so that no reader needs the
// whole ROM in memory of its own.
class PatchedRomSink {
public:
    virtual ~PatchedRomSink() = default;

    // The patch fits its source and makes `size` bytes; called once, before the first piece.
    virtual void Start(std::uint64_t size) = 0;
    // The next bytes of the patched ROM, after every byte given before.
    virtual void Take(std::span<const std::uint8_t> bytes) = 0;
    // Fills `into` with the bytes given so far from `offset` on: a copy from what is written
    // already reaches back here once they have left the reader's memory.
    virtual void ReadBack(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

} // namespace kelbrin
