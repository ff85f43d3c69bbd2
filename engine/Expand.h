#pragma once

#include <string>

#include "RunResult.h"
#include "RunWindow.h"

namespace kelbrin {

// What the expanded ROM gets in front of its image, whether or not the original has a header.
enum class HeaderChoice {
    Add,    // the header the script's HEADER line describes
    Remove, // none
};

// One expansion run: reads Kelbrin.txt in `folder`, checks it and the original ROM, and writes
// the expanded ROM with the header chosen. Every failure is reported through `window` (error
// box, then the status "Ended due to Error"); the run itself always returns, saying how it
// ended.
RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window);

} // namespace kelbrin
