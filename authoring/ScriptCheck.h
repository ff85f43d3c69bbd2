#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "HeaderChoice.h"
#include "ImageLayout.h"
#include "RunResult.h"
#include "ScriptNotes.h"

namespace kelbrin {

// How a run of one button would end, as its rehearsal found.
struct ButtonVerdict {
    HeaderChoice Choice = HeaderChoice::AddOrReplace;
    RunResult Ending;
    // The original's digest, when it differs from the script's checksum and the run warns.
    std::string MismatchedMD5;
};

// A script checked for its author: how the run of each button would end, the notes that explain
// what the runs' messages cannot, and what the script builds. The script and the original are
// read exactly as the runs read them; nothing is written.
struct ScriptCheck {
    ButtonVerdict AddOrReplace;
    ButtonVerdict IgnoreOrRemove;
    std::vector<ScriptNote> Notes;
    // What each run builds, up to where it ended: the header is the Add/Replace run's, the
    // image the same for both.
    ImageLayout WithHeader;
    ImageLayout WithoutHeader;

    // A script fit to ship: the Ignore/Remove run ends in "Expansion Done", and the Add/Replace
    // run does too or is refused only because the script declares no header.
    bool Passes() const;
};

// `original`, when not empty, is read in place of the file the script's NAME line names.
ScriptCheck CheckScript(const std::string& folder, const std::string& original = {});

// The button's words, as the check reports its verdict.
std::string_view ButtonName(HeaderChoice choice);

// The check as its author reads it: the verdict ("Fit to ship: ..." or "Not fit to ship: ...")
// on the first line, where a screen reader starts, then the notes, one a line, and after an
// empty line a line per button ("Expand and Add/Replace Header: Expansion Done") with a failing
// run's box below it (once, when both runs fail with the same box). Lines end in LF.
std::string CheckReport(const ScriptCheck& check);

// The layout as text: the header the Add/Replace run writes (or its box, when it fails there),
// then a row per stretch of the image in address order ("0-3FFF copy from 0", "4000-7FFF fill
// FF", "8000-8001 replace 12 34"), and, when the image's run ended in an error, that error's
// box. Lines end in LF.
std::string LayoutReport(const ScriptCheck& check);

// One line that counts what the image is made of: rows and bytes by kind.
std::string LayoutSummary(const ImageLayout& layout);

} // namespace kelbrin
