#pragma once

#include "engine/ExpansionRun.h"

namespace kelbrin {

// Writes the image from the COPY, FILL and REPLACE lines, from the script's 4th line to its
// end. Returns at the end of the script; a broken rule or a file failure raises.
void RunDirectives(ExpansionRun& run);

} // namespace kelbrin
