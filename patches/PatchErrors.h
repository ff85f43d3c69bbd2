#pragma once

// The numbered errors of a patch that Kelbrin will not apply. Each says which patch, what is
// wrong and where (offsets in the patch, in hex), and leaves before anything is written.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelbrin {

// Numbers of their own, above those of the file layer.
enum PatchErrorNumber : std::int32_t {
    ErrPatchUnknownFormat = 600,
    ErrPatchFormatNotApplied = 601,
    ErrPatchCutShort = 602,
    ErrPatchBytesAfterEnd = 603,
    ErrPatchEmptyRun = 604,
    ErrPatchNumberTooLarge = 605,
    ErrPatchReadOutsideSource = 606,
    ErrPatchReadUnwrittenTarget = 607,
    ErrPatchTargetSize = 608,
    ErrPatchChecksum = 609,
    ErrPatchWrongSource = 610,
    ErrPatchWrongResult = 611,
    ErrPatchTargetTooLarge = 612,
    // Making a patch.
    ErrPatchTargetTooLargeForIps = 620,
    ErrPatchMadeWrong = 621,
};

// A patch as its messages name it: "The BPS patch 'hack.bps'".
struct PatchSubject {
    std::string_view Format;
    std::string_view Name;
};

// The offsets in messages: 0x1F40.
std::string OffsetText(std::uint64_t value);

[[noreturn]] void RefuseUnknownFormat(std::string_view name, std::span<const std::uint8_t> bytes);
[[noreturn]] void RefuseFormatNotApplied(std::string_view name, std::string_view format,
                                         bool archive);
// `item` ("the record", "the action") starts at `offset` and runs past `end` ("its end").
[[noreturn]] void RefuseCutShort(const PatchSubject& patch, std::string_view item,
                                 std::uint64_t offset, std::string_view end);
// `lengthMayStand`: the format lets the patch end with the length the ROM is cut to.
[[noreturn]] void RefuseBytesAfterEnd(const PatchSubject& patch, std::uint64_t markOffset,
                                      std::uint64_t count, bool lengthMayStand);
[[noreturn]] void RefuseEmptyRun(const PatchSubject& patch, std::uint64_t offset);
[[noreturn]] void RefuseNumberTooLarge(const PatchSubject& patch, std::uint64_t offset);
// `where` says what was read: "0x10 bytes from 0x7FF0, past its end (0x8000 bytes)".
[[noreturn]] void RefuseReadOutsideSource(const PatchSubject& patch, std::uint64_t offset,
                                          const std::string& where);
[[noreturn]] void RefuseReadUnwrittenTarget(const PatchSubject& patch, std::uint64_t offset,
                                            const std::string& where);
// A piece of the patch at `offset` writes `length` bytes at `at`, past `end` ("the patched ROM")
// of `endSize` bytes.
[[noreturn]] void RefusePastTargetEnd(const PatchSubject& patch, std::uint64_t offset,
                                      std::uint64_t at, std::uint64_t length, std::string_view end,
                                      std::uint64_t endSize);
[[noreturn]] void RefuseTargetUnfilled(const PatchSubject& patch, std::uint64_t written,
                                       std::uint64_t targetSize);
[[noreturn]] void RefusePatchChecksum(const PatchSubject& patch, std::uint32_t held,
                                      std::uint32_t computed);
[[noreturn]] void RefuseWrongSource(const PatchSubject& patch, std::uint64_t expectedSize,
                                    std::uint32_t expectedCrc, std::uint64_t actualSize,
                                    std::uint32_t actualCrc);
[[noreturn]] void RefuseTruncationPastEnd(const PatchSubject& patch, std::uint64_t truncation,
                                          std::uint64_t length);
[[noreturn]] void RefuseWrongResult(const PatchSubject& patch, std::uint32_t expectedCrc,
                                    std::uint32_t actualCrc);
[[noreturn]] void RefuseTargetTooLarge(const PatchSubject& patch, std::uint64_t size,
                                       std::uint64_t largest);

// Making a patch: `target` (a file's name) is longer than an IPS patch can make, `largest`
// bytes (less when `resized`, the length's field being as short as the offsets).
[[noreturn]] void RefuseIpsTargetTooLarge(std::string_view target, std::uint64_t size,
                                          std::uint64_t largest, bool resized);
// The patch made from `source` to `target` gave other bytes, the first at `offset` (or another
// length): it is not written.
[[noreturn]] void RefuseMadePatchWrong(std::string_view format, std::string_view source,
                                       std::string_view target, std::uint64_t offset);

} // namespace kelbrin
