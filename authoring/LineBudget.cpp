#include "LineBudget.h"

#include <algorithm>

namespace kelbrin {

namespace {

// Which stretches go onto REPLACE lines: every one shorter than `Gap` bytes, and of those of
// exactly `Gap` bytes the first `Ties` met, so that evenly spaced changes are grouped only as
// far as the lines need, not all at once.
struct Grouping {
    std::uint32_t Gap = 0;
    std::size_t Ties = 0;
};

// The lines of `directives` when the stretches `grouping` takes between two REPLACE lines of a
// range go onto one line with them, and each range so taken (but the first) becomes bytes of a
// REPLACE line inside the range before it. `line` gets each line.
template <class Line>
void Group(const std::vector<Directive>& directives, std::uint32_t imageSize, Grouping grouping,
           std::uint32_t longestReplace, Line&& line) {
    const auto takes = [&grouping](std::uint32_t stretch) {
        if (stretch < grouping.Gap || stretch == 0) {
            return true;
        }
        if (stretch == grouping.Gap && grouping.Ties > 0) {
            --grouping.Ties;
            return true;
        }
        return false;
    };
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
        if (pending && takes(from - pendingTo)) {
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
        // The first range is never taken in: a script starts with a COPY or FILL line.
        absorbed = !first && takes(end - directive.Start);
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
                      Grouping grouping, std::uint32_t longestReplace) {
    std::size_t count = 0;
    Group(directives, imageSize, grouping, longestReplace, [&count](const Directive&) { ++count; });
    return count;
}

} // namespace

std::vector<Directive> FitLineBudget(const std::vector<Directive>& directives,
                                     std::uint32_t imageSize, std::size_t mostLines,
                                     std::uint32_t longestReplace) {
    // A stretch is met at most twice a directive, so this many ties are all of them.
    const std::size_t allTies = 2 * directives.size();
    const auto fits = [&](Grouping grouping) {
        return LineCount(directives, imageSize, grouping, longestReplace) <= mostLines;
    };
    // The shortest stretches first: the least gap whose stretches, all taken, make the lines
    // fit (every range but the first fits into a gap of the whole image), then the fewest of
    // the stretches of exactly that length.
    Grouping grouping{0, 0};
    if (!fits(grouping)) {
        std::uint32_t tooSmall = 0;
        std::uint32_t gap = imageSize;
        while (gap - tooSmall > 1) {
            const std::uint32_t middle = tooSmall + (gap - tooSmall) / 2;
            if (fits({middle, allTies})) {
                gap = middle;
            } else {
                tooSmall = middle;
            }
        }
        std::size_t tooFew = 0;
        std::size_t ties = allTies;
        while (ties - tooFew > 1) {
            const std::size_t middle = tooFew + (ties - tooFew) / 2;
            if (fits({gap, middle})) {
                ties = middle;
            } else {
                tooFew = middle;
            }
        }
        grouping = {gap, ties};
    }
    std::vector<Directive> lines;
    Group(directives, imageSize, grouping, longestReplace,
          [&lines](const Directive& line) { lines.push_back(line); });
    return lines;
}

} // namespace kelbrin
