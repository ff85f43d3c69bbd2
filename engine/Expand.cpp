#include "Expand.h"

#include "ExpansionRun.h"

namespace kelbrin {

RunResult Expand(std::int16_t Index, const std::string& programDirectory, RunWindow& window) {
    return ExpansionRun(Index, programDirectory, window).Run();
}

} // namespace kelbrin
