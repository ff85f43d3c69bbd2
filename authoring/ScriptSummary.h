#pragma once

#include <string>

#include "ScriptPlan.h"

namespace kelbrin {

// What a made script holds, for its author, one item a line (lines end in LF): the directive
// lines of each kind, and all of them against the format's limit. The bytes each kind gives
// are the layout's (LayoutSummary).
std::string ScriptSummary(const ScriptPlan& plan);

} // namespace kelbrin
