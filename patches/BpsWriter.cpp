#include "BpsWriter.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <new>

#include "BlockIndex.h"
#include "ChecksummedStart.h"
#include "PatchDescription.h"

namespace kelbrin {

namespace {

// A match at least this long is taken as soon as it is found: no other is looked for.
constexpr std::size_t kCertainMatch = 32;
constexpr std::uint64_t kProgressStep = std::uint64_t{1} << 20;
// How far ahead the index slots are asked for.
constexpr std::size_t kAhead = 8;

// How many bytes from `a` and `b` on agree, at most `most`; the two may overlap.
std::size_t Common(const std::uint8_t* a, const std::uint8_t* b, std::size_t most) {
    std::size_t length = 0;
    while (length + 8 <= most) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y) {
            // The first byte that differs, whatever the machine's byte order.
            const std::uint64_t diff = x ^ y;
            return length + static_cast<std::size_t>((std::endian::native == std::endian::little
                                                          ? std::countr_zero(diff)
                                                          : std::countl_zero(diff)) /
                                                     8);
        }
        length += 8;
    }
    while (length < most && a[length] == b[length]) {
        ++length;
    }
    return length;
}

// A signed distance as BPS writes it: its size shifted up, the lowest bit set when it goes back.
std::uint64_t Distance(std::uint64_t from, std::uint64_t to) {
    return to >= from ? (to - from) << 1 : (from - to) << 1 | 1;
}

// The blocks of the target that the patch itself holds, by hash, for copies from the target
// written so far: one place a slot, the latest. Bytes that a copy gives are found where the
// copy found them. The table is taken from the system zeroed, so that its pages cost nothing
// until a slot in them is used: a hack that changes little touches a few.
class HeldBlocks {
public:
    HeldBlocks(std::size_t targetSize, std::size_t blockSize)
        : bits_(std::max(1, static_cast<int>(std::bit_width(targetSize / blockSize)))),
          slots_(static_cast<std::uint32_t*>(std::calloc(std::size_t{1} << bits_, 4))) {
        if (!slots_) {
            throw std::bad_alloc();
        }
    }

    void Add(std::uint32_t hash, std::size_t at) {
        slots_[SlotOf(hash)] = static_cast<std::uint32_t>(at + 1);
    }
    void Prefetch(std::uint32_t hash) const noexcept {
#if defined(__GNUC__)
        __builtin_prefetch(&slots_[SlotOf(hash)]);
#else
        (void)hash;
#endif
    }
    // The place last added with this hash, or `none` when there is none.
    std::size_t Find(std::uint32_t hash, std::size_t none) const {
        const std::uint32_t held = slots_[SlotOf(hash)];
        return held == 0 ? none : held - 1;
    }

private:
    std::size_t SlotOf(std::uint32_t hash) const noexcept {
        return (hash * 0x9E3779B1u) >> (32 - bits_);
    }

    struct Free {
        void operator()(std::uint32_t* slots) const noexcept { std::free(slots); }
    };

    int bits_;
    std::unique_ptr<std::uint32_t[], Free> slots_;
};

struct Match {
    BpsAction Kind = BpsAction::TargetRead; // TargetRead: none found
    std::size_t Start = 0;                  // in the target
    std::size_t From = 0;                   // in the source or the target, where Start's byte is
    std::size_t Length = 0;
    std::ptrdiff_t Gain = 0; // the bytes saved: the length less what the action costs
};

class BpsEncoder {
public:
    BpsEncoder(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
               PatchBytes& out)
        : source_(source), target_(target), out_(out) {}

    // Everything from the last action's end up to `end` as bytes of the patch.
    void TargetRead(std::size_t end) {
        if (end == written_) {
            return;
        }
        Action(BpsAction::TargetRead, end - written_);
        out_.insert(out_.end(), target_.begin() + static_cast<std::ptrdiff_t>(written_),
                    target_.begin() + static_cast<std::ptrdiff_t>(end));
        written_ = end;
    }

    void Copy(const Match& match) {
        TargetRead(match.Start);
        Action(match.Kind, match.Length);
        if (match.Kind == BpsAction::SourceCopy) {
            AppendNumber(out_, Distance(sourceEnd_, match.From));
            sourceEnd_ = match.From + match.Length;
        } else if (match.Kind == BpsAction::TargetCopy) {
            AppendNumber(out_, Distance(targetEnd_, match.From));
            targetEnd_ = match.From + match.Length;
        }
        written_ += match.Length;
    }

    // What a match costs in the patch, its own bytes aside.
    std::size_t Cost(BpsAction kind, std::size_t from, std::size_t length) const {
        const std::size_t action = NumberSize((length - 1) << 2);
        switch (kind) {
        case BpsAction::SourceCopy: return action + NumberSize(Distance(sourceEnd_, from));
        case BpsAction::TargetCopy: return action + NumberSize(Distance(targetEnd_, from));
        default: return action;
        }
    }

private:
    void Action(BpsAction kind, std::size_t length) {
        AppendNumber(out_, (std::uint64_t{length} - 1) << 2 | static_cast<std::uint64_t>(kind));
    }

    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    PatchBytes& out_;
    std::size_t written_ = 0;
    std::size_t sourceEnd_ = 0;
    std::size_t targetEnd_ = 0;
};

// Goes through the target front to back. At each byte not yet covered it looks for the bytes
// that follow: at the same offset of the source, at the distance of the last copy from the
// source (the rest of a moved block after an edit), as a run of the byte before, and, through
// the indexes, in a block of the source or of the bytes the patch holds already. Each is extended
// forwards, and backwards into the bytes not yet covered; the one that saves most is taken.
class BpsMatcher {
public:
    BpsMatcher(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
               PatchBytes& out)
        : source_(source), target_(target),
          blockSize_(std::max(BlockIndex::BlockSizeFor(source.size()),
                              BlockIndex::BlockSizeFor(target.size()))),
          sourceIndex_(source, blockSize_), held_(target.size(), blockSize_),
          encoder_(source, target, out) {}

    void Run(const PatchProgress& progress) {
        std::size_t uncovered = 0; // where the bytes taken from the patch start
        std::size_t at = 0;
        std::uint64_t nextReport = kProgressStep;
        bool hashed = false; // the hashes are those of the windows one byte back
        std::uint32_t hash = 0;
        std::uint32_t laterHash = 0;
        while (at < target_.size()) {
            if (progress && at >= nextReport) {
                progress(at);
                nextReport = at + kProgressStep;
            }
            Match best;
            Consider(best, BpsAction::SourceRead, at, at, uncovered);
            if (best.Length < kCertainMatch && lastDistance_ != 0 &&
                static_cast<std::ptrdiff_t>(at) + lastDistance_ >= 0) {
                Consider(best, BpsAction::SourceCopy, at,
                         static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + lastDistance_),
                         uncovered);
            }
            if (best.Length < kCertainMatch && at != 0) {
                Consider(best, BpsAction::TargetCopy, at, at - 1, uncovered);
            }
            if (best.Length < kCertainMatch && at + blockSize_ <= target_.size()) {
                const RollingHash& rolling = sourceIndex_.Hash();
                const std::uint8_t* window = target_.data() + at;
                hash = hashed ? rolling.Roll(hash, window[-1], window[blockSize_ - 1])
                              : rolling.Of(window);
                // Amid bytes no copy gives, every search would wait for memory: the slots of
                // the window a few bytes on are asked for while this one is searched.
                if (at + kAhead + blockSize_ <= target_.size()) {
                    const std::uint8_t* later = window + kAhead;
                    laterHash = hashed ? rolling.Roll(laterHash, later[-1], later[blockSize_ - 1])
                                       : rolling.Of(later);
                    sourceIndex_.Prefetch(laterHash);
                    held_.Prefetch(laterHash);
                }
                hashed = true;
                sourceIndex_.ForEachPlace(hash, window, [&](std::size_t from) {
                    if (from != at && static_cast<std::ptrdiff_t>(from - at) != lastDistance_) {
                        Consider(best, BpsAction::SourceCopy, at, from, uncovered);
                    }
                });
                if (const std::size_t from = held_.Find(hash, at); from + 1 < at) {
                    Consider(best, BpsAction::TargetCopy, at, from, uncovered);
                }
                if ((at - uncovered) % blockSize_ == 0) {
                    held_.Add(hash, at);
                }
            }
            if (best.Kind == BpsAction::TargetRead) {
                ++at;
                continue;
            }
            encoder_.TargetRead(best.Start);
            encoder_.Copy(best);
            if (best.Kind == BpsAction::SourceCopy) {
                lastDistance_ = static_cast<std::ptrdiff_t>(best.From - best.Start);
            }
            at = uncovered = best.Start + best.Length;
            hashed = false;
        }
        encoder_.TargetRead(target_.size());
    }

private:
    // Keeps in `best` the better of it and the match of the bytes from `at` with those from
    // `from` (in the source for SourceRead and SourceCopy, in the target for TargetCopy).
    void Consider(Match& best, BpsAction kind, std::size_t at, std::size_t from,
                  std::size_t uncovered) const {
        const std::span<const std::uint8_t> origin =
            kind == BpsAction::TargetCopy ? target_ : source_;
        if (from >= origin.size()) {
            return;
        }
        const std::size_t ahead = Common(target_.data() + at, origin.data() + from,
                                         std::min(target_.size() - at, origin.size() - from));
        if (ahead == 0) {
            return;
        }
        std::size_t back = 0;
        while (back < at - uncovered && back < from &&
               target_[at - back - 1] == origin[from - back - 1]) {
            ++back;
        }
        const std::size_t length = back + ahead;
        // A match amid the bytes taken from the patch cuts them in two, and the second part needs
        // an action of its own.
        const std::size_t cut = at - back > uncovered ? 1 : 0;
        const auto gain =
            static_cast<std::ptrdiff_t>(length) -
            static_cast<std::ptrdiff_t>(encoder_.Cost(kind, from - back, length) + cut);
        if (gain > best.Gain) {
            best = {kind, at - back, from - back, length, gain};
        }
    }

    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    std::size_t blockSize_;
    BlockIndex sourceIndex_;
    HeldBlocks held_;
    BpsEncoder encoder_;
    // Where the last copy from the source found its bytes, less where it put them.
    std::ptrdiff_t lastDistance_ = 0;
};

} // namespace

PatchBytes MakeBpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                        std::string_view metadata, const PatchProgress& progress) {
    PatchBytes out = {'B', 'P', 'S', '1'};
    AppendNumber(out, source.size());
    AppendNumber(out, target.size());
    AppendNumber(out, metadata.size());
    out.insert(out.end(), metadata.begin(), metadata.end());
    // The checksums take a third of the time on a hack that changes little, and share nothing
    // with the matching.
    auto checksums = std::async(std::launch::async, [source, target] {
        return std::pair{Crc32Of(source), Crc32Of(target)};
    });
    {
        BpsMatcher matcher(source, target, out);
        matcher.Run(progress);
    }
    const auto [sourceCrc, targetCrc] = checksums.get();
    AppendChecksums(out, sourceCrc, targetCrc);
    return out;
}

} // namespace kelbrin
