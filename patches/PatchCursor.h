#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "PatchErrors.h"

namespace kelbrin {

// Reads a patch's fields front to back, up to `end` (the checksums of BPS and UPS stand after
// it). A field that runs past the end refuses the patch as cut short, naming the item it belongs
// to and where that item starts.
class PatchCursor {
public:
    PatchCursor(const PatchSubject& patch, std::span<const std::uint8_t> bytes, std::size_t end,
                std::string_view endText)
        : patch_(patch), bytes_(bytes.first(end)), endText_(endText) {}

    const PatchSubject& Patch() const noexcept { return patch_; }
    std::size_t Offset() const noexcept { return offset_; }
    std::size_t Left() const noexcept { return bytes_.size() - offset_; }
    std::span<const std::uint8_t> Rest() const noexcept { return bytes_.subspan(offset_); }

    // The item the next reads belong to, starting here.
    void Begin(std::string_view item) noexcept {
        item_ = item;
        itemOffset_ = offset_;
    }
    // The item begun last, once it is known what it is.
    void Call(std::string_view item) noexcept { item_ = item; }
    std::size_t ItemOffset() const noexcept { return itemOffset_; }

    std::span<const std::uint8_t> Take(std::uint64_t count);
    std::uint8_t Byte() { return Take(1)[0]; }
    std::uint64_t BigEndian(std::size_t width);
    // A number of BPS and UPS: seven bits a byte, lowest first, the last byte marked by its top
    // bit, each longer form starting where the shorter ones end.
    std::uint64_t Number();

private:
    [[noreturn]] void CutShort() const;

    PatchSubject patch_;
    std::span<const std::uint8_t> bytes_;
    std::string_view endText_;
    std::size_t offset_ = 0;
    std::string_view item_ = "a field";
    std::size_t itemOffset_ = 0;
};

// The little-endian CRC32 at `offset`; the caller has made sure that it is there.
std::uint32_t StoredCrc32(std::span<const std::uint8_t> bytes, std::size_t offset);

} // namespace kelbrin
