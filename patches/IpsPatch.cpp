#include "IpsPatch.h"

#include <algorithm>
#include <cstring>

#include "PageBuffer.h"
#include "PatchCursor.h"
#include "PatchedPieces.h"

namespace kelbrin {

namespace {

struct IpsLayout {
    std::string_view Magic;
    std::size_t OffsetWidth;
    std::uint64_t EndMark;
};

IpsLayout LayoutOf(PatchFormat format) {
    return format == PatchFormat::Ips32 ? IpsLayout{"IPS32", 4, 0x45454F46} // "EEOF"
                                        : IpsLayout{"PATCH", 3, 0x454F46};  // "EOF"
}

// Reads every record, handing each to `write(offset, bytes)` or `fill(offset, count, byte)`.
// A record cannot start at the end mark's offset: those bytes end the records.
template <typename Write, typename Fill>
PatchDescription WalkIps(std::string_view name, std::span<const std::uint8_t> patch,
                         PatchFormat format, Write&& write, Fill&& fill) {
    const IpsLayout layout = LayoutOf(format);
    const PatchSubject subject{PatchFormatName(format), name};
    PatchCursor cursor(subject, patch, patch.size(), "the end of the file");
    cursor.Begin("the header");
    cursor.Take(layout.Magic.size());

    PatchDescription description;
    description.Format = format;
    for (;;) {
        cursor.Begin("the record or end mark");
        const std::uint64_t offset = cursor.BigEndian(layout.OffsetWidth);
        if (offset == layout.EndMark) {
            break;
        }
        cursor.Call("the record");
        const std::uint64_t length = cursor.BigEndian(2);
        std::uint64_t end = 0;
        if (length != 0) {
            const std::span<const std::uint8_t> bytes = cursor.Take(length);
            end = offset + length;
            write(offset, bytes);
        } else {
            cursor.Begin("the run");
            const std::uint64_t count = cursor.BigEndian(2);
            const std::uint8_t byte = cursor.Byte();
            if (count == 0) {
                RefuseEmptyRun(subject, cursor.ItemOffset());
            }
            end = offset + count;
            fill(offset, count, byte);
            ++description.Runs;
        }
        ++description.Records;
        description.Reach = std::max(description.Reach, end);
    }

    const std::size_t markOffset = cursor.Offset() - layout.OffsetWidth;
    if (format == PatchFormat::Ips && cursor.Left() == 3) {
        description.Truncation = cursor.BigEndian(3);
    } else if (cursor.Left() != 0) {
        RefuseBytesAfterEnd(subject, markOffset, cursor.Left(), format == PatchFormat::Ips);
    }
    if (description.Reach > kLargestPatchedRom) {
        RefuseTargetTooLarge(subject, description.Reach, kLargestPatchedRom);
    }
    return description;
}

} // namespace

PatchDescription DescribeIps(std::string_view name, std::span<const std::uint8_t> patch,
                             PatchFormat format) {
    return WalkIps(
        name, patch, format, [](std::uint64_t, std::span<const std::uint8_t>) {},
        [](std::uint64_t, std::uint64_t, std::uint8_t) {});
}

std::uint32_t ApplyIps(std::string_view name, std::span<const std::uint8_t> patch,
                       PatchFormat format, std::span<const std::uint8_t> source,
                       PatchedRomSink& sink) {
    // The whole patch is read once before any byte is written, so that a damaged one is refused
    // before the target is taken from memory.
    const PatchDescription description = DescribeIps(name, patch, format);
    const std::uint64_t length = std::max<std::uint64_t>(source.size(), description.Reach);
    if (description.Truncation && *description.Truncation > length) {
        RefuseTruncationPastEnd({PatchFormatName(format), name}, *description.Truncation, length);
    }

    // Bytes past the source that no record writes stay 0.
    PageBuffer target(length);
    std::copy(source.begin(), source.end(), target.Data());
    WalkIps(
        name, patch, format,
        [&target](std::uint64_t offset, std::span<const std::uint8_t> bytes) {
            std::memcpy(target.Data() + offset, bytes.data(), bytes.size());
        },
        [&target](std::uint64_t offset, std::uint64_t count, std::uint8_t byte) {
            std::memset(target.Data() + offset, byte, count);
        });
    if (description.Truncation) {
        target.Shorten(*description.Truncation);
    }
    sink.Start(target.Size());
    PatchedPieces pieces(sink);
    pieces.Append(target.Bytes());
    return pieces.Finish();
}

} // namespace kelbrin
