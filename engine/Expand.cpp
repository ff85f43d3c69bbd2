#include "Expand.h"

#include "ExpansionRun.h"

namespace kelbrin {

RunResult Expand(std::int16_t Index, const std::string& programDirectory, RunWindow& window) {
    return ExpansionRun(Index == 0 ? HeaderChoice::AddOrReplace : HeaderChoice::IgnoreOrRemove,
                        programDirectory, window)
        .Run();
}

RunResult Rehearse(HeaderChoice choice, const std::string& folder, RunWindow& window,
                   const Rehearsal& rehearsal) {
    return ExpansionRun(choice, folder, window, &rehearsal).Run();
}

} // namespace kelbrin
