#include "LineBudget.h"

#include <algorithm>

namespace kelbrin {

namespace {

// The lines of `directives` when every stretch of at most `gap` bytes between two REPLACE lines
// of a range goes onto one line with them, and every range of at most `gap` bytes (but the
// first) becomes bytes of a REPLACE line inside the range before it. `line` gets each line.
template <class Line>
void Group(const std::vector<Directive>& directives, std::uint32_t imageSize, std::uint32_t gap,
           std::uint32_t longestReplace, Line&& line) {
    std::uint32_t pendingFrom = 0;
    std::uint32_t pendingTo = 0;
    bool pending = false;
    const auto flush = [&] {
        for (std::uint32_t at = pendingFrom; pending && at < pendingTo; at += longestReplace) {
            line(Directive{DirectiveKind::Replace, at, std::min(longestReplace, pendingTo - at)});
        }
        pending = false;
    };
    const auto replace = [&](std::uint32_t from, std::uint32_t to) {
        if (pending && from - pendingTo <= gap) {
            pendingTo = std::max(pendingTo, to);
            return;
        }
        flush();
        pendingFrom = from;
        pendingTo = to;
        pending = true;
    };

    bool first = true;
    bool absorbed = false;
    for (std::size_t i = 0; i < directives.size(); ++i) {
        const Directive& directive = directives[i];
        if (directive.Kind == DirectiveKind::Replace) {
            // The REPLACE lines of a range taken in are inside its bytes already.
            if (!absorbed) {
                replace(directive.Start, directive.Start + directive.Value);
            }
            continue;
        }
        std::uint32_t end = imageSize;
        for (std::size_t j = i + 1; j < directives.size(); ++j) {
            if (directives[j].Kind != DirectiveKind::Replace) {
                end = directives[j].Start;
                break;
            }
        }
        absorbed = !first && end - directive.Start <= gap;
        first = false;
        if (absorbed) {
            replace(directive.Start, end);
            continue;
        }
        flush();
        line(directive);
    }
    flush();
}

std::size_t LineCount(const std::vector<Directive>& directives, std::uint32_t imageSize,
                      std::uint32_t gap, std::uint32_t longestReplace) {
    std::size_t count = 0;
    Group(directives, imageSize, gap, longestReplace, [&count](const Directive&) { ++count; });
    return count;
}

} // namespace

std::vector<Directive> FitLineBudget(const std::vector<Directive>& directives,
                                     std::uint32_t imageSize, std::size_t mostLines,
                                     std::uint32_t longestReplace) {
    // The smallest gap whose grouping fits; every range but the first fits into a gap of the
    // whole image.
    std::uint32_t gap = 0;
    if (LineCount(directives, imageSize, 0, longestReplace) > mostLines) {
        std::uint32_t tooSmall = 0;
        gap = imageSize;
        while (gap - tooSmall > 1) {
            const std::uint32_t middle = tooSmall + (gap - tooSmall) / 2;
            if (LineCount(directives, imageSize, middle, longestReplace) <= mostLines) {
                gap = middle;
            } else {
                tooSmall = middle;
            }
        }
    }
    std::vector<Directive> lines;
    Group(directives, imageSize, gap, longestReplace,
          [&lines](const Directive& line) { lines.push_back(line); });
    return lines;
}

} // namespace kelbrin
