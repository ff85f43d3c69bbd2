#include "PatchedPieces.h"

#include <algorithm>
#include <cstring>

namespace kelbrin {

PatchedPieces::PatchedPieces(PatchedRomSink& sink)
    : sink_(sink), memory_(2 * kPiece), piece_(memory_.data()) {}

const std::uint8_t* PatchedPieces::At(std::uint64_t offset) const noexcept {
    return offset >= pieceAt_ ? piece_ + (offset - pieceAt_) : given_.data() + (offset - Kept());
}

std::span<std::uint8_t> PatchedPieces::Room() {
    if (used_ == kPiece) {
        Give({piece_, used_});
    }
    return {piece_ + used_, kPiece - used_};
}

void PatchedPieces::Append(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        if (used_ == kPiece) {
            Give({piece_, used_});
        }
        if (used_ == 0 && bytes.size() >= kPiece) {
            Give(bytes.first(kPiece));
            bytes = bytes.subspan(kPiece);
            continue;
        }
        const std::span<std::uint8_t> room = Room();
        const std::size_t count = std::min(room.size(), bytes.size());
        std::memcpy(room.data(), bytes.data(), count);
        Grow(count);
        bytes = bytes.subspan(count);
    }
}

void PatchedPieces::AppendCopy(std::uint64_t from, std::uint64_t length) {
    while (length != 0) {
        const std::span<std::uint8_t> room = Room();
        const std::uint64_t at = Written();
        const std::uint64_t period = at - from;
        std::uint64_t count = std::min(length, std::uint64_t{room.size()});
        if (from >= Kept()) {
            // From the piece at hand or the one being made, not across the two.
            count = std::min({count, period, from < pieceAt_ ? pieceAt_ - from : period});
            std::memcpy(room.data(), At(from), count);
        } else {
            count = std::min(count, Kept() - from);
            sink_.ReadBack(from, room.first(count));
        }
        Grow(count);
        length -= count;
        // Once a whole period is written, the bytes from `from` repeat with twice the period:
        // the next copy from there takes twice as much at once.
        if (count != period) {
            from += count;
        }
    }
}

void PatchedPieces::Give(std::span<const std::uint8_t> piece) {
    crc_.Update(piece);
    sink_.Take(piece);
    given_ = piece;
    pieceAt_ += piece.size();
    if (piece.data() == piece_) {
        // Kept at hand as it is: the next piece is made in the other half.
        piece_ = piece_ == memory_.data() ? memory_.data() + kPiece : memory_.data();
    }
    used_ = 0;
}

std::uint32_t PatchedPieces::Finish() {
    if (used_ != 0) {
        Give({piece_, used_});
    }
    return crc_.Value();
}

} // namespace kelbrin
