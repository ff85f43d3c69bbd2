#include "UpsPatch.h"

#include <algorithm>
#include <cstring>

#include "ChecksummedStart.h"
#include "PatchedPieces.h"

namespace kelbrin {

namespace {

constexpr std::size_t kSmallestPatch = 4 + 2 + kChecksumsSize;

// Reads the head and every hunk, handing the XOR bytes of each to `xorAt(position, bytes)`.
// The hunks cover the longer of the two ROMs, so that the patch can be undone: bytes past the
// patched ROM's end are dropped. A hunk's closing 0 may stand one past that length.
template <typename XorAt>
PatchDescription WalkUps(std::string_view name, std::span<const std::uint8_t> patch,
                         XorAt&& xorAt) {
    const PatchSubject subject{"UPS", name};
    auto [description, cursor] =
        ReadChecksummedStart(subject, patch, PatchFormat::Ups, kSmallestPatch);
    const std::uint64_t covered = std::max(*description.SourceSize, *description.TargetSize);

    std::uint64_t position = 0;
    while (cursor.Left() != 0) {
        cursor.Begin("the hunk");
        const std::uint64_t skipped = cursor.Number();
        const std::span<const std::uint8_t> rest = cursor.Rest();
        const auto close = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (close == rest.end()) {
            cursor.Take(rest.size() + 1);
        }
        const std::uint64_t length = static_cast<std::uint64_t>(close - rest.begin());
        if (position > covered || skipped > covered - position ||
            length > covered - position - skipped) {
            // A skip near 2^64 is shown as the largest number rather than wrapped.
            const std::uint64_t at =
                skipped > ~std::uint64_t{0} - position ? ~std::uint64_t{0} : position + skipped;
            RefusePastTargetEnd(subject, cursor.ItemOffset(), at, length, "both ROMs", covered);
        }
        position += skipped;
        xorAt(position, cursor.Take(length));
        cursor.Take(1);
        position += length + 1;
        ++description.Records;
    }
    return description;
}

// Writes the original's bytes up to `end`, 0 past the original's end, each XORed with the next
// of `xors` while they last.
void WriteOriginal(PatchedPieces& target, std::span<const std::uint8_t> source, std::uint64_t end,
                   std::span<const std::uint8_t> xors = {}) {
    while (target.Written() < end) {
        const std::uint64_t written = target.Written();
        if (xors.empty() && written < source.size()) {
            // Bytes the patch leaves alone go as they are.
            target.Append(
                source.subspan(written, std::min<std::uint64_t>(end, source.size()) - written));
            continue;
        }
        const std::span<std::uint8_t> room = target.Room();
        const std::uint64_t at = target.Written();
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(room.size(), end - at));
        const auto kept = static_cast<std::size_t>(
            at < source.size() ? std::min<std::uint64_t>(count, source.size() - at) : 0);
        if (kept != 0) {
            std::memcpy(room.data(), source.data() + at, kept);
        }
        std::memset(room.data() + kept, 0, count - kept);
        const std::size_t xored = std::min(count, xors.size());
        for (std::size_t i = 0; i < xored; ++i) {
            room[i] ^= xors[i];
        }
        xors = xors.subspan(xored);
        target.Grow(count);
    }
}

} // namespace

PatchDescription DescribeUps(std::string_view name, std::span<const std::uint8_t> patch) {
    return WalkUps(name, patch, [](std::uint64_t, std::span<const std::uint8_t>) {});
}

std::uint32_t ApplyUps(std::string_view name, std::span<const std::uint8_t> patch,
                       std::span<const std::uint8_t> source, PatchedRomSink& sink,
                       std::optional<std::uint32_t> sourceCrc32) {
    const PatchDescription description = DescribeUps(name, patch);
    const PatchSubject subject{"UPS", name};
    const std::uint32_t sourceCrc = sourceCrc32 ? *sourceCrc32 : Crc32Of(source);
    if (source.size() != *description.SourceSize || sourceCrc != *description.SourceCrc32) {
        RefuseWrongSource(subject, *description.SourceSize, *description.SourceCrc32, source.size(),
                          sourceCrc);
    }

    const std::uint64_t size = *description.TargetSize;
    sink.Start(size);
    PatchedPieces target(sink);
    WalkUps(name, patch, [&](std::uint64_t position, std::span<const std::uint8_t> bytes) {
        WriteOriginal(target, source, std::min(position, size));
        WriteOriginal(target, source, std::min(position + bytes.size(), size), bytes);
    });
    WriteOriginal(target, source, size);
    const std::uint32_t targetCrc = target.Finish();
    if (targetCrc != *description.TargetCrc32) {
        RefuseWrongResult(subject, *description.TargetCrc32, targetCrc);
    }
    return targetCrc;
}

} // namespace kelbrin
