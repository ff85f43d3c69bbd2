#include "PatchedRomComparison.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

void PatchedRomComparison::Take(std::span<const std::uint8_t> bytes) {
    if (!difference_) {
        const std::span<const std::uint8_t> expected =
            expected_.subspan(std::min<std::uint64_t>(given_, expected_.size()));
        const std::size_t common = std::min(bytes.size(), expected.size());
        if (common != 0 && std::memcmp(bytes.data(), expected.data(), common) != 0) {
            const auto [ours, theirs] = std::ranges::mismatch(bytes, expected);
            difference_ = given_ + static_cast<std::uint64_t>(ours - bytes.begin());
        } else if (common < bytes.size()) {
            difference_ = expected_.size();
        }
    }
    given_ += bytes.size();
}

void PatchedRomComparison::ReadBack(std::uint64_t offset, std::span<std::uint8_t> into) {
    // Past a difference the bytes no longer matter, only that they are read within bounds.
    const std::size_t held = offset < expected_.size()
                                 ? std::min<std::uint64_t>(into.size(), expected_.size() - offset)
                                 : 0;
    if (held != 0) {
        std::memcpy(into.data(), expected_.data() + offset, held);
    }
    std::fill(into.begin() + static_cast<std::ptrdiff_t>(held), into.end(), std::uint8_t{0});
}

std::optional<std::uint64_t> PatchedRomComparison::Difference() const {
    if (!difference_ && given_ != expected_.size()) {
        return std::min<std::uint64_t>(given_, expected_.size());
    }
    return difference_;
}

} // namespace kelbrin
