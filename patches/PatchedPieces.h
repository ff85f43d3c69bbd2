#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Crc32.h"
#include "PatchedRomSink.h"

namespace kelbrin {

// The patched ROM on its way to a sink, made front to back in pieces small enough to stay in
// the cache: each full piece is given to the sink and added to the ROM's CRC32 while it is
// still there. Whole pieces of bytes that are in memory already (the original's, the patch's)
// go as they are, without a copy. The piece given last stays at hand, so that most copies from
// what is written so far are found in memory; older bytes are read back from the sink.
class PatchedPieces {
public:
    static constexpr std::uint64_t kPiece = 256 * 1024;

    explicit PatchedPieces(PatchedRomSink& sink);

    // Bytes written so far, given or still in the piece.
    std::uint64_t Written() const noexcept { return pieceAt_ + used_; }

    // `bytes` must last until Finish(): a piece of them may be the one kept at hand.
    void Append(std::span<const std::uint8_t> bytes);
    // `length` bytes copied from `from` on, an offset before Written(); the copy may run on
    // into the bytes it writes itself, repeating them.
    void AppendCopy(std::uint64_t from, std::uint64_t length);
    // The free part of the piece, to be written in place and counted by Grow().
    std::span<std::uint8_t> Room();
    void Grow(std::size_t count) noexcept { used_ += count; }

    // Gives the last piece; the CRC32 of every byte written.
    std::uint32_t Finish();

private:
    const std::uint8_t* At(std::uint64_t offset) const noexcept;
    // The first byte still at hand: the start of the piece given last.
    std::uint64_t Kept() const noexcept { return pieceAt_ - given_.size(); }
    void Give(std::span<const std::uint8_t> piece);

    PatchedRomSink& sink_;
    // Two pieces' room: the piece being made in one half, the last one made perhaps in the other.
    std::vector<std::uint8_t> memory_;
    std::uint8_t* piece_;
    std::uint64_t pieceAt_ = 0;
    std::size_t used_ = 0;
    // The piece given last, which ends where this one starts.
    std::span<const std::uint8_t> given_;
    Crc32 crc_;
};

} // namespace kelbrin
