#include "Expand.h"

#include "ExpansionRun.h"

namespace kelbrin {

RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window) {
    return ExpansionRun(header, folder, window).Run();
}

RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window,
                 const RunExtras& extras) {
    return ExpansionRun(header, folder, window, nullptr, &extras).Run();
}

RunResult Rehearse(HeaderChoice choice, const std::string& folder, RunWindow& window,
                   const Rehearsal& rehearsal) {
    return ExpansionRun(choice, folder, window, &rehearsal).Run();
}

} // namespace kelbrin
