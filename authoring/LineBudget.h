#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ScriptPlan.h"

namespace kelbrin {

// A run counts its lines in 16 bits: 3 fixed lines and at most this many directive lines.
inline constexpr std::size_t kMostDirectiveLines = 32763;
// Bytes on one REPLACE line: its text stays under 400 KiB, which editors and diff tools take in
// their stride, while a wholly new megabyte still costs only 8 lines, as a delta encoder's
// literal stretches do.
inline constexpr std::uint32_t kLongestReplace = 128 * 1024;

// The directives of FindDirectives (over an image of `imageSize` bytes) as script lines: REPLACE
// lines longer than `longestReplace` bytes split, and, when they would be more than `mostLines`
// lines, grouped: changes that lie close together in one REPLACE line with the bytes between
// them, and short ranges taken into the REPLACE line around them, the closest first, until the
// lines fit. `mostLines` must allow for every byte on REPLACE lines after a single range.
std::vector<Directive> FitLineBudget(const std::vector<Directive>& directives,
                                     std::uint32_t imageSize,
                                     std::size_t mostLines = kMostDirectiveLines,
                                     std::uint32_t longestReplace = kLongestReplace);

} // namespace kelbrin
