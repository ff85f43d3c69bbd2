#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelbrin {

// A hash of a window of BlockSize bytes that slides one byte at a time.
class RollingHash {
public:
    explicit RollingHash(std::size_t width);

    std::uint32_t Of(const std::uint8_t* bytes) const;
    // The hash of the window one byte further on: `out` leaves it, `in` enters it.
    std::uint32_t Roll(std::uint32_t hash, std::uint8_t out, std::uint8_t in) const {
        return (hash - out * outgoingFactor_) * kMultiplier + in;
    }

private:
    static constexpr std::uint32_t kMultiplier = 0x01000193;
    std::size_t width_;
    std::uint32_t outgoingFactor_ = 1;
};

// Where the original holds a given run of bytes, as delta encoders find it: the original is cut
// into blocks of BlockSize bytes, and a table keyed by each block's hash holds the block's
// number (4 bytes a block, and 4 more for the chain of blocks with the same bytes). A match of
// at least twice the block size anywhere in the expanded image holds a whole block, and so is
// found from one of its positions.
class BlockIndex {
public:
    explicit BlockIndex(std::span<const std::uint8_t> original)
        : BlockIndex(original, BlockSizeFor(original.size())) {}
    // Two indexes searched with one rolling hash need one block size: the larger that either
    // file's size asks for.
    BlockIndex(std::span<const std::uint8_t> original, std::size_t blockSize);

    // 16 bytes, or more for an original so large that its index would hold over 4 Mi blocks.
    static std::size_t BlockSizeFor(std::size_t originalSize);

    std::size_t BlockSize() const noexcept { return blockSize_; }
    const RollingHash& Hash() const noexcept { return hash_; }

    // Calls visit(address) for each place in the original, first ones first, that holds the
    // BlockSize bytes at `bytes`, whose hash is `hash`; at most a few places, so that runs of
    // padding found everywhere stay cheap.
    template <class Visit>
    void ForEachPlace(std::uint32_t hash, const std::uint8_t* bytes, Visit&& visit) const;

    // Asks for the slot of `hash` ahead of its search, for callers that know the hash early.
    void Prefetch(std::uint32_t hash) const noexcept {
#if defined(__GNUC__)
        if (!slots_.empty()) {
            __builtin_prefetch(&slots_[SlotOf(hash)]);
        }
#else
        (void)hash;
#endif
    }

private:
    static constexpr int kMostProbes = 8;
    static constexpr int kMostPlaces = 8;

    // A slot holds the block number + 1 in its low bits (4 Mi blocks at most: 23 bits) and, in
    // the bits above, a few bits of the block's hash that the slot's number does not already
    // tell: most blocks that only share a slot differ there, and are never compared.
    static constexpr int kBlockBits = 23;
    static constexpr std::uint32_t kBlockMask = (std::uint32_t{1} << kBlockBits) - 1;
    static std::uint32_t TagOf(std::uint32_t hash) noexcept {
        return hash << kBlockBits;
    }

    std::size_t SlotOf(std::uint32_t hash) const noexcept {
        return (hash * 0x9E3779B1u) >> shift_;
    }
    bool SameBlock(std::uint32_t block, const std::uint8_t* bytes) const;

    std::span<const std::uint8_t> original_;
    std::size_t blockSize_;
    RollingHash hash_;
    int shift_ = 32;
    std::size_t mask_ = 0;
    // Block number + 1 of the first block with those bytes, and its tag; 0 for an empty slot.
    std::vector<std::uint32_t> slots_;
    // For each block, the next block (+ 1) with the same bytes; 0 at the end of the chain.
    std::vector<std::uint32_t> next_;
};

template <class Visit>
void BlockIndex::ForEachPlace(std::uint32_t hash, const std::uint8_t* bytes, Visit&& visit) const {
    if (slots_.empty()) {
        return;
    }
    std::size_t slot = SlotOf(hash);
    const std::uint32_t tag = TagOf(hash);
    for (int probe = 0; probe < kMostProbes; ++probe, slot = (slot + 1) & mask_) {
        const std::uint32_t entry = slots_[slot];
        if (entry == 0) {
            return;
        }
        if ((entry & ~kBlockMask) == tag && SameBlock((entry & kBlockMask) - 1, bytes)) {
            int places = 0;
            for (std::uint32_t block = entry & kBlockMask; block != 0 && places < kMostPlaces;
                 block = next_[block - 1], ++places) {
                visit(static_cast<std::uint32_t>((block - 1) * blockSize_));
            }
            return;
        }
    }
}

} // namespace kelbrin
