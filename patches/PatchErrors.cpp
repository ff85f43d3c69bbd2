#include "PatchErrors.h"

#include <algorithm>

#include "Crc32.h"
#include "NumberText.h"
#include "RuntimeError.h"

namespace kelbrin {

namespace {

std::string Named(const PatchSubject& patch) {
    std::string text = "The ";
    text.append(patch.Format).append(" patch '").append(patch.Name).append("'");
    return text;
}

[[noreturn]] void Refuse(PatchErrorNumber number, std::string message) {
    throw RuntimeError(number, std::move(message));
}

std::string Bytes(std::uint64_t count) {
    return OffsetText(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

std::string OffsetText(std::uint64_t value) {
    return "0x" + ScriptHex(value);
}

void RefuseUnknownFormat(std::string_view name, std::span<const std::uint8_t> bytes) {
    std::string message = "'";
    message.append(name).append("' is no patch Kelbrin knows: ");
    if (bytes.empty()) {
        message.append("it is empty.");
    } else {
        message.append("it starts with");
        for (const std::uint8_t byte : bytes.first(std::min<std::size_t>(bytes.size(), 8))) {
            message.append(" ").append(ByteHex(byte));
        }
        message.append(", and an IPS, IPS32, BPS or UPS patch starts with PATCH, IPS32, BPS1 or "
                       "UPS1.");
    }
    Refuse(ErrPatchUnknownFormat, std::move(message));
}

void RefuseFormatNotApplied(std::string_view name, std::string_view format, bool archive) {
    std::string message = "'";
    message.append(name).append("' is ");
    message.append(format.front() == 'A' || format.front() == 'x' ? "an " : "a ").append(format);
    if (archive) {
        message.append(", not a patch: take the patch out of it first.");
    } else {
        message.append(" patch. Kelbrin does not apply ")
            .append(format)
            .append(" patches: apply it with a patcher made for them.");
    }
    Refuse(ErrPatchFormatNotApplied, std::move(message));
}

void RefuseCutShort(const PatchSubject& patch, std::string_view item, std::uint64_t offset,
                    std::string_view end) {
    std::string message = Named(patch);
    message.append(" is cut short: ").append(item).append(" at offset ");
    message.append(OffsetText(offset)).append(" runs past ").append(end).append(".");
    Refuse(ErrPatchCutShort, std::move(message));
}

void RefuseBytesAfterEnd(const PatchSubject& patch, std::uint64_t markOffset, std::uint64_t count,
                         bool lengthMayStand) {
    Refuse(ErrPatchBytesAfterEnd,
           Named(patch) + " is damaged: " + Bytes(count) + (count == 1 ? " follows" : " follow") +
               " its end mark at offset " + OffsetText(markOffset) +
               (lengthMayStand ? ", where nothing or a 3-byte length may stand."
                               : ", where nothing may stand."));
}

void RefuseEmptyRun(const PatchSubject& patch, std::uint64_t offset) {
    Refuse(ErrPatchEmptyRun, Named(patch) + " is damaged: the run at offset " + OffsetText(offset) +
                                 " repeats its byte 0 times.");
}

void RefuseNumberTooLarge(const PatchSubject& patch, std::uint64_t offset) {
    Refuse(ErrPatchNumberTooLarge, Named(patch) + " is damaged: the number at offset " +
                                       OffsetText(offset) + " does not fit in 64 bits.");
}

void RefuseReadOutsideSource(const PatchSubject& patch, std::uint64_t offset,
                             const std::string& where) {
    Refuse(ErrPatchReadOutsideSource, Named(patch) + " is damaged: the action at offset " +
                                          OffsetText(offset) + " reads " + where + ".");
}

void RefuseReadUnwrittenTarget(const PatchSubject& patch, std::uint64_t offset,
                               const std::string& where) {
    Refuse(ErrPatchReadUnwrittenTarget, Named(patch) + " is damaged: the action at offset " +
                                            OffsetText(offset) + " copies from the patched ROM " +
                                            where + ".");
}

void RefusePastTargetEnd(const PatchSubject& patch, std::uint64_t offset, std::uint64_t at,
                         std::uint64_t length, std::string_view end, std::uint64_t endSize) {
    Refuse(ErrPatchTargetSize, Named(patch) + " is damaged: the piece at offset " +
                                   OffsetText(offset) + " writes " + Bytes(length) + " at " +
                                   OffsetText(at) + ", past the end of " + std::string(end) + " (" +
                                   Bytes(endSize) + ").");
}

void RefuseTargetUnfilled(const PatchSubject& patch, std::uint64_t written,
                          std::uint64_t targetSize) {
    Refuse(ErrPatchTargetSize, Named(patch) + " is damaged: it writes " + Bytes(written) +
                                   " of the " + Bytes(targetSize) + " of the patched ROM.");
}

void RefusePatchChecksum(const PatchSubject& patch, std::uint32_t held, std::uint32_t computed) {
    Refuse(ErrPatchChecksum, Named(patch) + " is damaged: it holds the CRC32 " + Crc32::Text(held) +
                                 " of its own bytes, and they give " + Crc32::Text(computed) + ".");
}

void RefuseWrongSource(const PatchSubject& patch, std::uint64_t expectedSize,
                       std::uint32_t expectedCrc, std::uint64_t actualSize,
                       std::uint32_t actualCrc) {
    Refuse(ErrPatchWrongSource,
           Named(patch) + " was made for another ROM: it expects " + Bytes(expectedSize) +
               " with the CRC32 " + Crc32::Text(expectedCrc) + ", and this ROM has " +
               Bytes(actualSize) + " with the CRC32 " + Crc32::Text(actualCrc) + ".");
}

void RefuseTruncationPastEnd(const PatchSubject& patch, std::uint64_t truncation,
                             std::uint64_t length) {
    Refuse(ErrPatchWrongSource, Named(patch) +
                                    " was made for a longer ROM: it cuts the patched "
                                    "ROM to " +
                                    Bytes(truncation) + ", and it has only " + Bytes(length) + ".");
}

void RefuseWrongResult(const PatchSubject& patch, std::uint32_t expectedCrc,
                       std::uint32_t actualCrc) {
    Refuse(ErrPatchWrongResult, Named(patch) + " gave a ROM with the CRC32 " +
                                    Crc32::Text(actualCrc) + ", and it promises " +
                                    Crc32::Text(expectedCrc) + ": the patch is damaged.");
}

void RefuseTargetTooLarge(const PatchSubject& patch, std::uint64_t size, std::uint64_t largest) {
    Refuse(ErrPatchTargetTooLarge, Named(patch) + " would make a ROM of " + Bytes(size) +
                                       ", and Kelbrin makes ROMs of at most " + Bytes(largest) +
                                       ".");
}

void RefuseIpsTargetTooLarge(std::string_view target, std::uint64_t size, std::uint64_t largest,
                             bool resized) {
    std::string message = "'";
    message.append(target).append("' has ").append(Bytes(size));
    message.append(", and an IPS patch makes ROMs of at most ").append(Bytes(largest));
    if (resized) {
        message.append(" when it changes their length");
    }
    message.append(": make a BPS patch instead.");
    Refuse(ErrPatchTargetTooLargeForIps, std::move(message));
}

void RefuseMadePatchWrong(std::string_view format, std::string_view source, std::string_view target,
                          std::uint64_t offset) {
    std::string message = "The ";
    message.append(format).append(" patch made from '").append(source).append("' gives other ");
    message.append("bytes than '").append(target).append("' from offset ");
    message.append(OffsetText(offset)).append(" on, and is not written. Please report this.");
    Refuse(ErrPatchMadeWrong, std::move(message));
}

} // namespace kelbrin
