#include "UpsWriter.h"

#include <algorithm>

#include "ChecksummedStart.h"

namespace kelbrin {

PatchBytes MakeUpsPatch(std::span<const std::uint8_t> source,
                        std::span<const std::uint8_t> target) {
    PatchBytes out = {'U', 'P', 'S', '1'};
    AppendNumber(out, source.size());
    AppendNumber(out, target.size());
    const auto at = [](std::span<const std::uint8_t> bytes, std::size_t i) {
        return i < bytes.size() ? bytes[i] : std::uint8_t{0};
    };
    const std::size_t covered = std::max(source.size(), target.size());
    std::size_t hunkEnd = 0; // one past the last hunk's closing 0
    for (std::size_t i = 0; i < covered; ++i) {
        if (at(source, i) == at(target, i)) {
            continue;
        }
        AppendNumber(out, i - hunkEnd);
        for (; i < covered && at(source, i) != at(target, i); ++i) {
            out.push_back(at(source, i) ^ at(target, i));
        }
        // The 0 stands for the byte both agree on, or for the first byte past both ends.
        out.push_back(0);
        hunkEnd = i + 1;
    }
    AppendChecksums(out, Crc32Of(source), Crc32Of(target));
    return out;
}

} // namespace kelbrin
