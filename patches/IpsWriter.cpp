#include "IpsWriter.h"

#include <algorithm>

#include "PatchErrors.h"

namespace kelbrin {

namespace {

constexpr std::size_t kEndMark = 0x454F46; // "EOF"
constexpr std::size_t kLongestRecord = 0xFFFF;
// A record's offset and length: the most equal bytes between two changes that are cheaper to
// write again than to start another record for.
constexpr std::size_t kRecordHead = 5;

class IpsRecords {
public:
    IpsRecords(std::span<const std::uint8_t> target, PatchBytes& out)
        : target_(target), out_(out) {}

    // The bytes from `begin` to `end`, runs of one byte among them as runs where that is shorter.
    void Region(std::size_t begin, std::size_t end) {
        std::size_t literal = begin;
        for (std::size_t run = begin; run < end;) {
            std::size_t runEnd = run + 1;
            while (runEnd < end && target_[runEnd] == target_[run]) {
                ++runEnd;
            }
            // A run record takes 8 bytes; a run amid bytes also makes them two records.
            const int split = (run != literal ? 1 : 0) + (runEnd != end ? 1 : 0);
            if (runEnd - run > 3 + kRecordHead * static_cast<std::size_t>(split)) {
                Literal(literal, run);
                Run(run, runEnd);
                literal = runEnd;
            }
            run = runEnd;
        }
        Literal(literal, end);
    }

private:
    void Literal(std::size_t begin, std::size_t end) {
        while (begin < end) {
            // A record at the end mark's offset starts a byte early: that byte is written as
            // the target has it.
            const std::size_t start = begin == kEndMark ? begin - 1 : begin;
            const std::size_t stop = std::min(end, start + kLongestRecord);
            Head(start, stop - start);
            out_.insert(out_.end(), target_.begin() + static_cast<std::ptrdiff_t>(start),
                        target_.begin() + static_cast<std::ptrdiff_t>(stop));
            begin = stop;
        }
    }

    void Run(std::size_t begin, std::size_t end) {
        while (begin < end) {
            if (begin == kEndMark) {
                Literal(begin, begin + 1);
                ++begin;
                continue;
            }
            const std::size_t stop = std::min(end, begin + kLongestRecord);
            Head(begin, 0);
            BigEndian(stop - begin, 2);
            out_.push_back(target_[begin]);
            begin = stop;
        }
    }

    void Head(std::size_t offset, std::size_t length) {
        BigEndian(offset, 3);
        BigEndian(length, 2);
    }

    void BigEndian(std::size_t value, int width) {
        for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) {
            out_.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }

    std::span<const std::uint8_t> target_;
    PatchBytes& out_;
};

} // namespace

PatchBytes MakeIpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                        std::string_view targetName) {
    if (target.size() > kLargestIpsTarget) {
        RefuseIpsTargetTooLarge(targetName, target.size(), kLargestIpsTarget, false);
    }
    if (target.size() == kLargestIpsTarget && source.size() != target.size()) {
        RefuseIpsTargetTooLarge(targetName, target.size(), kLargestIpsTarget - 1, true);
    }
    PatchBytes out = {'P', 'A', 'T', 'C', 'H'};
    IpsRecords records(target, out);
    const auto differs = [&](std::size_t i) {
        return i >= source.size() || source[i] != target[i];
    };
    std::size_t i = 0;
    while (i < target.size()) {
        if (!differs(i)) {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        std::size_t end = i + 1;
        // Up to kRecordHead equal bytes before the next change join the record.
        for (std::size_t next = end; next < target.size() && next <= end + kRecordHead - 1;
             ++next) {
            if (differs(next)) {
                end = next + 1;
            }
        }
        records.Region(begin, end);
        i = end;
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    if (target.size() < source.size()) {
        for (int shift = 16; shift >= 0; shift -= 8) {
            out.push_back(static_cast<std::uint8_t>(target.size() >> shift));
        }
    }
    return out;
}

} // namespace kelbrin
