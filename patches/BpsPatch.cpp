#include "BpsPatch.h"

#include <limits>

#include "ChecksummedStart.h"
#include "PatchedPieces.h"

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

// Writes the actions in order; the walk has checked every range.
struct WritingSink {
    std::span<const std::uint8_t> Source;
    PatchedPieces& Target;

    void SourceRead(std::uint64_t at, std::uint64_t length) {
        Target.Append(Source.subspan(at, length));
    }
    void TargetRead(std::uint64_t, std::span<const std::uint8_t> bytes) { Target.Append(bytes); }
    void SourceCopy(std::uint64_t, std::uint64_t from, std::uint64_t length) {
        Target.Append(Source.subspan(from, length));
    }
    void TargetCopy(std::uint64_t, std::uint64_t from, std::uint64_t length) {
        Target.AppendCopy(from, length);
    }
};

} // namespace

PatchDescription DescribeBps(std::string_view name, std::span<const std::uint8_t> patch) {
    const PatchSubject subject{"BPS", name};
    BpsHead head = ReadHead(subject, patch);
    WalkActions(subject, patch, head, CountingSink{});
    return head.Description;
}

std::uint32_t ApplyBps(std::string_view name, std::span<const std::uint8_t> patch,
                       std::span<const std::uint8_t> source, PatchedRomSink& sink,
                       std::optional<std::uint32_t> sourceCrc32) {
    const PatchSubject subject{"BPS", name};
    // Every action is checked before a byte goes to the sink.
    BpsHead head = ReadHead(subject, patch);
    WalkActions(subject, patch, head, CountingSink{});
    const PatchDescription& description = head.Description;

    const std::uint32_t sourceCrc = sourceCrc32 ? *sourceCrc32 : Crc32Of(source);
    if (source.size() != *description.SourceSize || sourceCrc != *description.SourceCrc32) {
        RefuseWrongSource(subject, *description.SourceSize, *description.SourceCrc32, source.size(),
                          sourceCrc);
    }
    sink.Start(*description.TargetSize);
    BpsHead applied = head;
    applied.Description.Records = 0;
    applied.Description.BpsActions = {};
    PatchedPieces target(sink);
    WalkActions(subject, patch, applied, WritingSink{source, target});
    const std::uint32_t targetCrc = target.Finish();
    if (targetCrc != *description.TargetCrc32) {
        RefuseWrongResult(subject, *description.TargetCrc32, targetCrc);
    }
    return targetCrc;
}

} // namespace kelbrin
