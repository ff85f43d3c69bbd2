#pragma once

#include <optional>
#include <string>

#include "FileDigests.h"
#include "RunResult.h"
#include "RunWindow.h"
#include "ScriptHead.h"

namespace kelbrin {

// What Kelbrin can say for certain about the original a script names: whether it carries a
// header, and the digests of its image without one, which are the values ROM databases and
// patch read-mes quote.
struct OriginalIdentity {
    ScriptHead Head;
    bool HasHeader = false;
    FileDigests Digests;
};

struct IdentityResult {
    // Nothing when the script or the original failed a check: the box said why.
    std::optional<OriginalIdentity> Identity;
    // How the look ended: Done, or ended by the error its box showed.
    RunResult Ending;
};

// Reads the script in `programDirectory` as a run does up to header detection, with the same
// checks, boxes and error numbers, then digests the original in one read. It writes nothing and
// never creates or empties the expanded file.
IdentityResult IdentifyOriginal(const std::string& programDirectory, RunWindow& window);

// The identity as text, one item a line ("Name: value", lines end in LF), in a stable order that
// scripts can read, ending with a SIZE line that carries the image's checksum for the script.
std::string IdentityReport(const OriginalIdentity& identity);

} // namespace kelbrin
