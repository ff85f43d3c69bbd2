#include "DirectiveFinder.h"

#include <algorithm>
#include <optional>

#include "BlockIndex.h"
#include "ByteRuns.h"
#include "LineBudget.h"

namespace kelbrin {

namespace {

// After a change, the range in force carries on once it gives this many bytes again: fewer
// would let a few chance equal bytes cut a REPLACE line in two.
constexpr std::size_t kResumeLength = 8;
// A new COPY or FILL line must give at least this many bytes: a shorter one, between two
// REPLACE lines, costs more lines than the bytes it saves.
constexpr std::size_t kShortestRange = 32;
// Where the range in force carries on, a new range must reach this much further to take over:
// it costs a line of its own.
constexpr std::size_t kTakeOverMargin = 32;
// A range that carries on this far is kept without looking for a better one.
constexpr std::size_t kLongEnough = 4096;
// Directives held while the image is read, 12 bytes each: a pair that differs every few bytes
// would hold tens of millions of them before LineBudget groups them into the script's lines.
// When there are this many, they are grouped as the lines will be, the closest changes first,
// into a quarter as many.
constexpr std::size_t kMostDirectives = std::size_t{1} << 19;
// While the image is read, the last range has no end yet, and no REPLACE line a length limit.
constexpr std::uint32_t kOpenEnd = 0xFFFFFFFF;
constexpr std::uint32_t kNoLongestReplace = 0x10000000;

class Finder {
public:
    Finder(std::span<const std::uint8_t> original, std::span<const std::uint8_t> expanded)
        : original_(original), expanded_(expanded), index_(original) {}

    std::vector<Directive> Find();

private:
    // The range in force: the source address of image address a is a + Delta, or every byte
    // is Fill.
    struct Range {
        bool IsCopy = false;
        std::int64_t Delta = 0;
        std::uint8_t Fill = 0;
    };
    // A new range that could start at Start and give the bytes up to End.
    struct Candidate {
        bool IsCopy = false;
        std::size_t Start = 0;
        std::uint32_t Value = 0; // the source address at Start, or the fill byte
        std::size_t End = 0;
    };

    // How many bytes from `at` on, at most `most`, the range in force gives right. A copy reads
    // 00 past the original's end, as a run does.
    std::size_t Follow(std::size_t at, std::size_t most) const;
    std::optional<Candidate> BestNewRange(std::size_t at, std::size_t floor,
                                          std::optional<std::uint32_t> hash) const;
    void Emit(DirectiveKind kind, std::size_t start, std::uint32_t value) {
        if (directives_.size() == kMostDirectives) {
            directives_ =
                FitLineBudget(directives_, kOpenEnd, kMostDirectives / 4, kNoLongestReplace);
            directives_.reserve(kMostDirectives);
        }
        directives_.push_back({kind, static_cast<std::uint32_t>(start), value});
    }
    void StartRange(const Candidate& candidate);
    void Replace(std::size_t from, std::size_t to) {
        if (to > from) {
            Emit(DirectiveKind::Replace, from, static_cast<std::uint32_t>(to - from));
        }
    }
    // The bytes from `from` up to the new range's start go on a REPLACE line, and the new range
    // takes over. Before the first range they need a range under them that starts at 0: the new
    // range itself when its source reaches back that far, else a fill.
    void TakeOver(std::size_t from, const Candidate& next);

    std::span<const std::uint8_t> original_;
    std::span<const std::uint8_t> expanded_;
    BlockIndex index_;
    std::optional<Range> range_;
    std::vector<Directive> directives_;
};

std::size_t Finder::Follow(std::size_t at, std::size_t most) const {
    const std::uint8_t* bytes = expanded_.data() + at;
    if (!range_->IsCopy) {
        return RunLength(bytes, range_->Fill, most);
    }
    const auto source = static_cast<std::size_t>(static_cast<std::int64_t>(at) + range_->Delta);
    std::size_t common = 0;
    if (source < original_.size()) {
        const std::size_t inOriginal = std::min(most, original_.size() - source);
        common = CommonLength(bytes, original_.data() + source, inOriginal);
        if (common < inOriginal) {
            return common;
        }
    }
    return common + RunLength(bytes + common, 0, most - common);
}

std::optional<Finder::Candidate> Finder::BestNewRange(std::size_t at, std::size_t floor,
                                                      std::optional<std::uint32_t> hash) const {
    const std::size_t size = expanded_.size();
    const std::uint8_t* image = expanded_.data();
    std::optional<Candidate> best;
    if (at + 1 < size && image[at] == image[at + 1]) {
        const std::uint8_t value = image[at];
        std::size_t start = at;
        while (start > floor && image[start - 1] == value) {
            --start;
        }
        const std::size_t end = at + RunLength(image + at, value, size - at);
        if (end - start >= kShortestRange) {
            best = Candidate{false, start, value, end};
        }
    }
    if (!hash) {
        return best;
    }
    index_.ForEachPlace(*hash, image + at, [&](std::uint32_t source) {
        const std::uint8_t* from = original_.data();
        const std::size_t end = at + CommonLength(image + at, from + source,
                                                  std::min(size - at, original_.size() - source));
        std::size_t back = 0;
        while (at - back > floor && source - back > 0 &&
               image[at - back - 1] == from[source - back - 1]) {
            ++back;
        }
        const std::size_t start = at - back;
        if (end - start >= kShortestRange && (!best || end > best->End)) {
            best = Candidate{true, start, static_cast<std::uint32_t>(source - back), end};
        }
    });
    return best;
}

void Finder::StartRange(const Candidate& candidate) {
    Emit(candidate.IsCopy ? DirectiveKind::Copy : DirectiveKind::Fill, candidate.Start,
         candidate.Value);
    range_ = Range{candidate.IsCopy,
                   static_cast<std::int64_t>(candidate.Value) -
                       static_cast<std::int64_t>(candidate.Start),
                   static_cast<std::uint8_t>(candidate.Value)};
}

void Finder::TakeOver(std::size_t from, const Candidate& next) {
    if (range_) {
        Replace(from, next.Start);
        StartRange(next);
        return;
    }
    if (next.Start == 0) {
        StartRange(next);
        return;
    }
    const auto start = static_cast<std::uint32_t>(next.Start);
    if (!next.IsCopy || next.Value >= start) {
        StartRange(Candidate{next.IsCopy, 0, next.IsCopy ? next.Value - start : next.Value, 0});
        Replace(0, next.Start);
        return;
    }
    StartRange(Candidate{false, 0, 0, 0});
    Replace(0, next.Start);
    StartRange(next);
}

std::vector<Directive> Finder::Find() {
    const std::size_t size = expanded_.size();
    const std::size_t block = index_.BlockSize();
    const RollingHash& rolling = index_.Hash();
    std::size_t at = 0;
    while (at < size) {
        if (range_) {
            at += Follow(at, size - at);
            if (at == size) {
                break;
            }
        }
        // From `from` on the range in force gives wrong bytes (or there is none yet).
        const std::size_t from = at;
        std::optional<std::uint32_t> hash;
        if (from + block <= size) {
            hash = rolling.Of(expanded_.data() + from);
        }
        std::optional<Candidate> next;
        bool carriesOn = false;
        std::size_t scan = from;
        for (; scan < size; ++scan) {
            if (range_ && scan > from &&
                Follow(scan, kResumeLength) == std::min(kResumeLength, size - scan)) {
                const std::size_t end = scan + Follow(scan, size - scan);
                if (end - scan < kLongEnough) {
                    next = BestNewRange(scan, from, hash);
                }
                carriesOn = !next || next->End < end + kTakeOverMargin;
                break;
            }
            next = BestNewRange(scan, from, hash);
            if (next) {
                break;
            }
            if (hash) {
                hash = scan + 1 + block <= size
                           ? std::optional(
                                 rolling.Roll(*hash, expanded_[scan], expanded_[scan + block]))
                           : std::nullopt;
            }
        }
        if (carriesOn) {
            Replace(from, scan);
            at = scan;
        } else if (next) {
            TakeOver(from, *next);
            at = next->Start;
        } else {
            if (!range_) {
                StartRange(Candidate{false, 0, 0, 0});
            }
            Replace(from, size);
            at = size;
        }
    }
    return std::move(directives_);
}

} // namespace

std::vector<Directive> FindDirectives(std::span<const std::uint8_t> original,
                                      std::span<const std::uint8_t> expanded) {
    return Finder(original, expanded).Find();
}

} // namespace kelbrin
