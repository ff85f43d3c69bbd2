#include "ComparingOutput.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

namespace {

constexpr std::size_t kChunk = 256 * 1024;

} // namespace

void ComparingOutput::Compare(std::span<const std::uint8_t> bytes) {
    if (differs_ || bytes.size() > expected_.size() - position_ ||
        std::memcmp(bytes.data(), expected_.data() + position_, bytes.size()) != 0) {
        differs_ = true;
        return;
    }
    position_ += bytes.size();
}

void ComparingOutput::WriteRepeated(std::uint8_t value, std::int64_t count) {
    if (differs_ || static_cast<std::uint64_t>(count) > expected_.size() - position_) {
        differs_ = true;
        return;
    }
    const auto end = expected_.begin() + static_cast<std::ptrdiff_t>(position_ + count);
    differs_ = std::any_of(expected_.begin() + static_cast<std::ptrdiff_t>(position_), end,
                           [value](std::uint8_t b) { return b != value; });
    position_ += static_cast<std::size_t>(count);
}

void ComparingOutput::CopyFrom(BinaryReader& source, std::int64_t count) {
    chunk_.resize(kChunk);
    while (count > 0 && !differs_) {
        const auto run = static_cast<std::size_t>(std::min<std::int64_t>(count, kChunk));
        source.Read(std::span(chunk_).first(run));
        Compare(std::span(chunk_).first(run));
        count -= static_cast<std::int64_t>(run);
    }
    if (count > 0) {
        // Past a difference the bytes need no reading: the source only moves on.
        source.Seek(source.Position() + count);
    }
}

} // namespace kelbrin
