#pragma once

#include <cstdint>
#include <string>

namespace kelbrin {

// How an expansion run ended: what its callers branch on. The status texts the run shows are
// for people; nothing reads them back.
struct RunResult {
    enum class Ending { Done, EndedByError };

    Ending How = Ending::Done;
    // For a run that ended by an error: the error's number (0 for a broken script rule) and the
    // text of the box that reported it.
    std::int32_t ErrorNumber = 0;
    std::string BoxText;
    // The original's checksum differed from the script's, and the warning box was shown.
    bool MD5WarningShown = false;

    bool Done() const noexcept { return How == Ending::Done; }
};

} // namespace kelbrin
