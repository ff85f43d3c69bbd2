#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ScriptPlan.h"

namespace kelbrin {

// The directive lines that build the `expanded` image from the `original` image, both without
// header: a COPY or FILL line for each range and a REPLACE line for each change inside one,
// whatever their number (LineBudget keeps a script within its limit).
//
// The expanded image is read front to back. The range in force is followed as long as it gives
// the right bytes; where it stops, the bytes that follow are searched for the nearest place
// where it gives them again, where a run of one byte begins, or where a block of the original
// (BlockIndex) begins a copy; matches are extended backwards and forwards. What lies between
// becomes a REPLACE line inside the range in force, which then carries on or hands over.
std::vector<Directive> FindDirectives(std::span<const std::uint8_t> original,
                                      std::span<const std::uint8_t> expanded);

} // namespace kelbrin
