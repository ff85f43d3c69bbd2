#include "BlockIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kelbrin {

namespace {

// 16 bytes find the short matches of code and tile data; larger originals take larger blocks,
// so that the index never holds more than 4 Mi blocks (48 MiB with its table).
constexpr std::size_t kSmallestBlock = 16;
constexpr std::size_t kMostBlocks = std::size_t{1} << 22;

} // namespace

std::size_t BlockIndex::BlockSizeFor(std::size_t originalSize) {
    std::size_t size = kSmallestBlock;
    while (originalSize / size > kMostBlocks) {
        size *= 2;
    }
    return size;
}

RollingHash::RollingHash(std::size_t width) : width_(width) {
    for (std::size_t i = 1; i < width; ++i) {
        outgoingFactor_ *= kMultiplier;
    }
}

std::uint32_t RollingHash::Of(const std::uint8_t* bytes) const {
    // Four bytes a step, whose products do not wait for each other: the index hashes every
    // byte of the original once, and this is most of its time.
    constexpr std::uint32_t k1 = kMultiplier;
    constexpr std::uint32_t k2 = k1 * k1;
    constexpr std::uint32_t k3 = k2 * k1;
    constexpr std::uint32_t k4 = k2 * k2;
    std::uint32_t hash = 0;
    std::size_t i = 0;
    for (; i + 4 <= width_; i += 4) {
        hash = hash * k4 + bytes[i] * k3 + bytes[i + 1] * k2 + bytes[i + 2] * k1 + bytes[i + 3];
    }
    for (; i < width_; ++i) {
        hash = hash * k1 + bytes[i];
    }
    return hash;
}

BlockIndex::BlockIndex(std::span<const std::uint8_t> original, std::size_t blockSize)
    : original_(original), blockSize_(std::max(blockSize, BlockSizeFor(original.size()))),
      hash_(blockSize_) {
    static_assert(kMostBlocks < kBlockMask, "a slot holds every block's number");
    const std::size_t blocks = original.size() / blockSize_;
    if (blocks == 0) {
        return;
    }
    // Twice as many slots as blocks keeps the probes short.
    const std::size_t slotCount = std::bit_ceil(blocks * 2);
    shift_ = 32 - std::countr_zero(slotCount);
    mask_ = slotCount - 1;
    slots_.assign(slotCount, 0);
    next_.assign(blocks, 0);
    // From the last block to the first, each block becoming the head of its chain: chains run
    // from the first place to the last. The slots are met in random order, so each is fetched
    // a few blocks ahead of its use.
    constexpr std::size_t kAhead = 16;
    const auto hashOfBlock = [&](std::size_t block) {
        return hash_.Of(original.data() + block * blockSize_);
    };
    std::vector<std::uint32_t> ahead(kAhead);
    for (std::size_t k = 0; k < kAhead && k < blocks; ++k) {
        ahead[k] = hashOfBlock(blocks - 1 - k);
    }
    for (std::size_t done = 0; done < blocks; ++done) {
        const std::size_t block = blocks - 1 - done;
        const std::uint32_t hash = ahead[done % kAhead];
        if (done + kAhead < blocks) {
            const std::uint32_t later = hashOfBlock(block - kAhead);
            ahead[done % kAhead] = later;
#if defined(__GNUC__)
            __builtin_prefetch(&slots_[SlotOf(later)], 1);
#endif
        }
        const std::uint8_t* bytes = original.data() + block * blockSize_;
        const std::uint32_t tag = TagOf(hash);
        std::size_t slot = SlotOf(hash);
        for (int probe = 0; probe < kMostProbes; ++probe, slot = (slot + 1) & mask_) {
            const std::uint32_t entry = slots_[slot];
            if (entry == 0 ||
                ((entry & ~kBlockMask) == tag && SameBlock((entry & kBlockMask) - 1, bytes))) {
                next_[block] = entry & kBlockMask;
                slots_[slot] = tag | static_cast<std::uint32_t>(block + 1);
                break;
            }
        }
    }
}

bool BlockIndex::SameBlock(std::uint32_t block, const std::uint8_t* bytes) const {
    return std::memcmp(original_.data() + std::size_t{block} * blockSize_, bytes, blockSize_) == 0;
}

} // namespace kelbrin
