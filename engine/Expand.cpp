#include "Expand.h"

#include "ExpansionRun.h"

namespace kelbrin {

RunResult Expand(HeaderChoice header, const std::string& folder, RunWindow& window) {
    // The run numbers its choice as the window's control array does: 0 adds the header.
    return ExpansionRun(header == HeaderChoice::Add ? 0 : 1, folder, window).Run();
}

} // namespace kelbrin
