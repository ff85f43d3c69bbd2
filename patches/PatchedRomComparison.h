#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "PatchedRomSink.h"

namespace kelbrin {

// A patched ROM compared with the ROM it should be as it comes, a piece at a time, with no copy
// of it kept: the proof of a patch just made. Until the two differ, what was written so far is
// the expected ROM's own bytes, and a copy from it reads them there.
class PatchedRomComparison final : public PatchedRomSink {
public:
    explicit PatchedRomComparison(std::span<const std::uint8_t> expected) : expected_(expected) {}

    void Start(std::uint64_t) override {}
    void Take(std::span<const std::uint8_t> bytes) override;
    void ReadBack(std::uint64_t offset, std::span<std::uint8_t> into) override;

    // Where the patched ROM first differs from the expected one (where the shorter ends, when
    // one is the start of the other); nothing when they are the same.
    std::optional<std::uint64_t> Difference() const;

private:
    std::span<const std::uint8_t> expected_;
    std::uint64_t given_ = 0;
    std::optional<std::uint64_t> difference_;
};

} // namespace kelbrin
