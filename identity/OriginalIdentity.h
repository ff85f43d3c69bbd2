#pragma once

#include <optional>
#include <string>

#include "FileDigests.h"
#include "RunResult.h"
#include "RunWindow.h"
#include "ScriptHead.h"

namespace kelbrin {

// How the original's length compares with the script's SIZE and HEADER lines.
enum class LengthFit {
    Image,           // the image alone: no header
    ImageWithHeader, // the image behind a header of the script's size
    Neither,         // another ROM, or a damaged one: only the whole file can be told
};

// What Kelbrin can say for certain about the original a script names: whether it carries a
// header, and the digests of its image without one, which are the values ROM databases and
// patch read-mes quote.
struct OriginalIdentity {
    // The folder the script was read from, as the system names it.
    std::string Folder;
    ScriptHead Head;
    LengthFit Fit = LengthFit::Image;
    // For a length that fits neither size, the image is unknown and Digests.Image holds the
    // whole file's digests.
    FileDigests Digests;

    bool HasHeader() const noexcept { return Fit == LengthFit::ImageWithHeader; }
    // The digests of the whole file, header and all.
    const kelbrin::Digests& WholeFile() const noexcept {
        return Digests.WholeFile ? *Digests.WholeFile : Digests.Image;
    }
};

// Where a look reports an original whose length fits neither of the script's sizes.
enum class WrongLength {
    // In the error box a run shows: on the command line, whose callers read standard error.
    ShowErrorBox,
    // Only in the identity, for a report that says it in a player's words.
    LeaveToReport,
};

struct IdentityResult {
    // Nothing when the script or the original failed a check, or could not be read: the box
    // said why. For a length that fits neither size, the identity as far as it can be told.
    std::optional<OriginalIdentity> Identity;
    // How the look ended: Done, or ended by the error its box showed (for a wrong length left
    // to the report: number 0 and no box text).
    RunResult Ending;
};

// Reads the script in `programDirectory` as a run does up to header detection, with the same
// checks, boxes and error numbers, then digests the original in one read. It writes nothing and
// never creates or empties the expanded file.
// `original`, when not empty, is the original in place of the file the NAME line names.
IdentityResult IdentifyOriginal(const std::string& programDirectory, RunWindow& window,
                                WrongLength wrongLength = WrongLength::ShowErrorBox,
                                const std::string& original = {});

// The identity as text, one item a line ("Name: value", lines end in LF), in a stable order that
// scripts can read, ending with a SIZE line that carries the image's checksum for the script.
// For a length that fits neither size: the name, the length and the whole file's digests.
std::string IdentityReport(const OriginalIdentity& identity);

// The script's SIZE line that names this original's image: its sizes and its MD5, separated by
// tabs, for a patch author to put into Kelbrin.txt.
std::string SizeLine(const OriginalIdentity& identity);

} // namespace kelbrin
