#pragma once

#include <string>

#include "HeaderChoice.h"
#include "Rehearsal.h"
#include "RunExtras.h"
#include "RunResult.h"
#include "RunWindow.h"

namespace kelbrin {

// One expansion run: reads Kelbrin.txt in `folder`, checks it and the original ROM, and writes
// the expanded ROM with the header chosen. Every failure is reported through `window` (error
// box, then the status "Ended due to Error"); the run itself always returns, saying how it
// ended.
RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window);

// The same run with what the player added to it: patches to apply, the original under another
// name.
RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window,
                 const RunExtras& extras);

// The same run as a rehearsal (see Rehearsal): it reports to `window` as a run would, and
// leaves the folder as it is.
RunResult Rehearse(HeaderChoice choice, const std::string& folder, RunWindow& window,
                   const Rehearsal& rehearsal);

} // namespace kelbrin
