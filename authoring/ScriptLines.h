#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "ScriptPlan.h"

namespace kelbrin {

// The script format's line end, which the patch authors' own scripts use.
inline constexpr std::string_view kScriptLineEnd = "\r\n";

// Gives each line of the script that `plan` describes to `line`, without its line end, in order.
// REPLACE lines take their bytes from `expandedImage`. Numbers are upper-case hex without
// leading zeros, as authors write them. The lines are made one at a time, so a script of any
// length costs no more memory than its longest line.
void ForEachScriptLine(const ScriptPlan& plan, std::span<const std::uint8_t> expandedImage,
                       const std::function<void(std::string_view)>& line);

} // namespace kelbrin
