#pragma once

#include <string>

#include "ScriptPlan.h"

namespace kelbrin {

// What a made script holds, for its author, one item a line (lines end in LF): the directive
// lines of each kind and the bytes they give.
std::string ScriptSummary(const ScriptPlan& plan);

} // namespace kelbrin
