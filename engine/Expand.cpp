#include "Expand.h"

#include <stdexcept>

#include "ExpansionRun.h"

namespace kelbrin {

RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window) {
    return ExpansionRun(header, folder, window).Run();
}

RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window,
                 const RunExtras& extras) {
    // Patches and another original are not taken yet: a run given them must not pass for a
    // plain one.
    if (extras.Any()) {
        throw std::logic_error("run extras are not supported yet");
    }
    return ExpansionRun(header, folder, window).Run();
}

RunResult Rehearse(HeaderChoice choice, const std::string& folder, RunWindow& window,
                   const Rehearsal& rehearsal) {
    return ExpansionRun(choice, folder, window, &rehearsal).Run();
}

} // namespace kelbrin
