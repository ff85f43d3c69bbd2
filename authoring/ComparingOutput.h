#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ImageOutput.h"

namespace kelbrin {

// The image of a rehearsal held against the bytes it must come to: nothing is written, each
// byte is compared as the run makes it, so that a script can be proved before it exists.
class ComparingOutput final : public ImageOutput {
public:
    explicit ComparingOutput(std::span<const std::uint8_t> expected) : expected_(expected) {}

    void WriteByte(std::uint8_t value) override { Compare({&value, 1}); }
    void WriteRepeated(std::uint8_t value, std::int64_t count) override;
    void CopyFrom(BinaryReader& source, std::int64_t count) override;
    void Flush() override {}
    void Finish() override { finished_ = true; }
    std::optional<RuntimeError> Abandon() noexcept override { return std::nullopt; }

    // The run made every byte expected, in order, and no more.
    bool Matched() const noexcept {
        return finished_ && !differs_ && position_ == expected_.size();
    }

private:
    void Compare(std::span<const std::uint8_t> bytes);

    std::span<const std::uint8_t> expected_;
    std::size_t position_ = 0;
    bool differs_ = false;
    bool finished_ = false;
    std::vector<std::uint8_t> chunk_;
};

} // namespace kelbrin
