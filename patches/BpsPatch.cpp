#include "BpsPatch.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "ChecksummedStart.h"
#include "Crc32.h"

namespace kelbrin {

namespace {

// The smallest patch: "BPS1", three one-byte numbers and the checksums.
constexpr std::size_t kSmallestPatch = 4 + 3 + kChecksumsSize;

std::string Span(std::uint64_t length, std::uint64_t from) {
    return OffsetText(length) + (length == 1 ? " byte" : " bytes") + " from " + OffsetText(from);
}

// A copy's position moves by a signed distance (its lowest bit the sign) from where the last
// copy of its kind ended; the `length` bytes from there must lie in the first `limit` bytes.
std::uint64_t Moved(const PatchCursor& cursor, std::uint64_t position, std::uint64_t distance,
                    std::uint64_t length, std::uint64_t limit, bool inSource) {
    const std::uint64_t magnitude = distance >> 1;
    const bool backwards = (distance & 1) != 0;
    const std::size_t action = cursor.ItemOffset();
    if (backwards && magnitude > position) {
        const std::string before = OffsetText(magnitude - position) + " before the start";
        if (inSource) {
            RefuseReadOutsideSource(cursor.Patch(), action,
                                    OffsetText(length) + " bytes from " + before +
                                        " of the original");
        }
        RefuseReadUnwrittenTarget(cursor.Patch(), action, "from " + before + " of it");
    }
    if (!backwards && magnitude > std::numeric_limits<std::uint64_t>::max() - position) {
        RefuseNumberTooLarge(cursor.Patch(), action);
    }
    const std::uint64_t moved = backwards ? position - magnitude : position + magnitude;
    if (inSource && (moved > limit || length > limit - moved)) {
        RefuseReadOutsideSource(cursor.Patch(), action,
                                Span(length, moved) + " of the original, which has " +
                                    OffsetText(limit) + " bytes");
    }
    // A copy from the patched ROM may run on into the bytes it writes itself (a run of a
    // repeated pattern), so only its first byte must be written already.
    if (!inSource && moved >= limit) {
        RefuseReadUnwrittenTarget(cursor.Patch(), action,
                                  "at " + OffsetText(moved) + ", past the " + OffsetText(limit) +
                                      (limit == 1 ? " byte" : " bytes") + " written so far");
    }
    return moved;
}

struct BpsHead {
    PatchDescription Description;
    std::size_t ActionsStart = 0;
};

// Checks the patch's own CRC32 and reads the numbers in front of the actions.
BpsHead ReadHead(const PatchSubject& subject, std::span<const std::uint8_t> patch) {
    auto [description, cursor] =
        ReadChecksummedStart(subject, patch, PatchFormat::Bps, kSmallestPatch);
    BpsHead head{std::move(description)};
    const std::uint64_t metadataSize = cursor.Number();
    cursor.Begin("the metadata");
    const std::span<const std::uint8_t> metadata = cursor.Take(metadataSize);
    head.Description.Metadata.assign(metadata.begin(), metadata.end());
    head.ActionsStart = cursor.Offset();
    return head;
}

// Reads every action after the head, checking it against the sizes alone, and hands it to
// `sink`, which writes it or not.
template <typename Sink>
void WalkActions(const PatchSubject& subject, std::span<const std::uint8_t> patch, BpsHead& head,
                 Sink&& sink) {
    PatchDescription& description = head.Description;
    const std::uint64_t sourceSize = *description.SourceSize;
    const std::uint64_t targetSize = *description.TargetSize;
    PatchCursor cursor(subject, patch, patch.size() - kChecksumsSize, "the checksums at its end");
    cursor.Take(head.ActionsStart);

    std::uint64_t written = 0;
    std::uint64_t sourcePosition = 0;
    std::uint64_t targetPosition = 0;
    while (cursor.Left() != 0) {
        cursor.Begin("the action");
        const std::uint64_t command = cursor.Number();
        const auto action = static_cast<BpsAction>(command & 3);
        const std::uint64_t length = (command >> 2) + 1;
        if (length > targetSize - written) {
            RefusePastTargetEnd(subject, cursor.ItemOffset(), written, length, "the patched ROM",
                                targetSize);
        }
        switch (action) {
        case BpsAction::SourceRead:
            if (written > sourceSize || length > sourceSize - written) {
                RefuseReadOutsideSource(subject, cursor.ItemOffset(),
                                        Span(length, written) + " of the original, which has " +
                                            OffsetText(sourceSize) + " bytes");
            }
            sink.SourceRead(written, length);
            break;
        case BpsAction::TargetRead: sink.TargetRead(written, cursor.Take(length)); break;
        case BpsAction::SourceCopy:
            sourcePosition =
                Moved(cursor, sourcePosition, cursor.Number(), length, sourceSize, true);
            sink.SourceCopy(written, sourcePosition, length);
            sourcePosition += length;
            break;
        case BpsAction::TargetCopy:
            targetPosition = Moved(cursor, targetPosition, cursor.Number(), length, written, false);
            sink.TargetCopy(written, targetPosition, length);
            targetPosition += length;
            break;
        }
        ++description.BpsActions[static_cast<std::size_t>(action)];
        ++description.Records;
        written += length;
    }
    if (written != targetSize) {
        RefuseTargetUnfilled(subject, written, targetSize);
    }
}

struct CountingSink {
    void SourceRead(std::uint64_t, std::uint64_t) {}
    void TargetRead(std::uint64_t, std::span<const std::uint8_t>) {}
    void SourceCopy(std::uint64_t, std::uint64_t, std::uint64_t) {}
    void TargetCopy(std::uint64_t, std::uint64_t, std::uint64_t) {}
};

// Writes the actions into a target of the right size; the walk has checked every range. The
// target is written front to back, so its CRC32 is taken as it is written, a piece at a time
// while the piece is still in the cache: the ROM is not read from memory once more for it.
struct WritingSink {
    std::span<const std::uint8_t> Source;
    std::uint8_t* Target;
    Crc32& Written;

    static constexpr std::uint64_t kCachedPiece = 256 * 1024;

    void SourceRead(std::uint64_t at, std::uint64_t length) {
        Copy(at, Source.data() + at, length);
    }
    void TargetRead(std::uint64_t at, std::span<const std::uint8_t> bytes) {
        Copy(at, bytes.data(), bytes.size());
    }
    void SourceCopy(std::uint64_t at, std::uint64_t from, std::uint64_t length) {
        Copy(at, Source.data() + from, length);
    }
    // The bytes from `from` on repeat with the period at - from; once a whole period is
    // written, each copy from `from` can take as much as is already written after it. A period
    // of a cached piece or more is copied a piece at a time, moving along.
    void TargetCopy(std::uint64_t at, std::uint64_t from, std::uint64_t length) {
        while (length != 0) {
            const std::uint64_t period = at - from;
            const std::uint64_t piece = std::min({length, period, kCachedPiece});
            std::memcpy(Target + at, Target + from, piece);
            Written.Update({Target + at, piece});
            at += piece;
            length -= piece;
            if (period >= kCachedPiece) {
                from += piece;
            }
        }
    }
    void Copy(std::uint64_t at, const std::uint8_t* from, std::uint64_t length) {
        while (length != 0) {
            const std::uint64_t piece = std::min(length, kCachedPiece);
            std::memcpy(Target + at, from, piece);
            Written.Update({Target + at, piece});
            at += piece;
            from += piece;
            length -= piece;
        }
    }
};

} // namespace

PatchDescription DescribeBps(std::string_view name, std::span<const std::uint8_t> patch) {
    const PatchSubject subject{"BPS", name};
    BpsHead head = ReadHead(subject, patch);
    WalkActions(subject, patch, head, CountingSink{});
    return head.Description;
}

PageBuffer ApplyBps(std::string_view name, std::span<const std::uint8_t> patch,
                    std::span<const std::uint8_t> source,
                    std::optional<std::uint32_t> sourceCrc32) {
    const PatchSubject subject{"BPS", name};
    // Every action is checked before the target is taken from memory.
    BpsHead head = ReadHead(subject, patch);
    WalkActions(subject, patch, head, CountingSink{});
    const PatchDescription& description = head.Description;

    const std::uint32_t sourceCrc = sourceCrc32 ? *sourceCrc32 : Crc32Of(source);
    if (source.size() != *description.SourceSize || sourceCrc != *description.SourceCrc32) {
        RefuseWrongSource(subject, *description.SourceSize, *description.SourceCrc32, source.size(),
                          sourceCrc);
    }
    PageBuffer target(*description.TargetSize);
    BpsHead applied = head;
    applied.Description.Records = 0;
    applied.Description.BpsActions = {};
    Crc32 written;
    WalkActions(subject, patch, applied, WritingSink{source, target.Data(), written});
    const std::uint32_t targetCrc = written.Value();
    if (targetCrc != *description.TargetCrc32) {
        RefuseWrongResult(subject, *description.TargetCrc32, targetCrc);
    }
    return target;
}

} // namespace kelbrin
