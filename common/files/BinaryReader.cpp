#include "BinaryReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kelbrin {

namespace {

constexpr std::size_t kCacheSize = 64 * 1024;
constexpr std::size_t kSmallestFill = 512;
// A reader that was told no length takes the file as long as it is.
constexpr std::int64_t kUnknownLength = std::numeric_limits<std::int64_t>::max();

} // namespace

BinaryReader::BinaryReader(const std::string& path) : BinaryReader(path, kUnknownLength) {}

BinaryReader::BinaryReader(const std::string& path, std::int64_t length)
    : file_(OpenForReading(path)), length_(length), cache_(kCacheSize) {}

std::int64_t BinaryReader::BytesToTake() const noexcept {
    return std::max<std::int64_t>(length_ - position_, 0);
}

std::size_t BinaryReader::ReadAt(std::int64_t offset, std::span<std::uint8_t> bytes) {
    const std::int64_t inside = std::max<std::int64_t>(length_ - offset, 0);
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::int64_t>(inside, std::ssize(bytes)));
    const std::size_t got = file_.ReadAt(offset, bytes.data(), wanted);
    if (got < wanted && length_ != kUnknownLength) {
        throw RuntimeError(ErrInputPastEndOfFile);
    }
    return got;
}

std::size_t BinaryReader::ReadUpTo(std::span<std::uint8_t> bytes) {
    const std::size_t got = ReadAt(position_, bytes);
    position_ += static_cast<std::int64_t>(got);
    return got;
}

void BinaryReader::Read(std::span<std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    if (bytes.size() >= cache_.size()) {
        const std::size_t got = ReadAt(position_, bytes);
        std::memset(bytes.data() + got, 0, bytes.size() - got);
        position_ += static_cast<std::int64_t>(bytes.size());
        return;
    }
    const std::int64_t cacheEnd = cacheStart_ + static_cast<std::int64_t>(cacheSpan_);
    const bool inCache =
        position_ >= cacheStart_ && position_ + static_cast<std::int64_t>(bytes.size()) <= cacheEnd;
    if (!inCache) {
        const bool sequential = cacheSpan_ > 0 && position_ == cacheEnd;
        // Reading on where the last fill ended doubles the fill, up to the whole cache.
        cacheSpan_ = std::max(bytes.size(),
                              sequential ? std::min(cache_.size(), 2 * cacheSpan_) : kSmallestFill);
        cacheStart_ = position_;
        cacheValid_ = ReadAt(position_, std::span(cache_).first(cacheSpan_));
    }
    const auto from = static_cast<std::size_t>(position_ - cacheStart_);
    const std::size_t available = from < cacheValid_ ? cacheValid_ - from : 0;
    const std::size_t copied = std::min(available, bytes.size());
    std::memcpy(bytes.data(), cache_.data() + from, copied);
    std::memset(bytes.data() + copied, 0, bytes.size() - copied);
    position_ += static_cast<std::int64_t>(bytes.size());
}

} // namespace kelbrin
