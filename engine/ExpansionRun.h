#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ExpandedFileOutput.h"
#include "FailureBox.h"
#include "HeaderChoice.h"
#include "ImageWriter.h"
#include "Rehearsal.h"
#include "ReplacementFile.h"
#include "RunFailure.h"
#include "RunResult.h"
#include "RunWindow.h"
#include "ScriptHead.h"
#include "TextInputFile.h"

namespace kelbrin {

// One expansion run, from the script to the expanded file, and its single failure exit. It lives
// for one call of Expand and owns what is open meanwhile: the script, the new expanded file and
// the image's writer. The new file replaces the expanded file only when the run is done; a run
// that fails removes it, leaving the folder as it was. A rehearsal makes no new file at all.
class ExpansionRun {
public:
    ExpansionRun(HeaderChoice choice, std::string folder, RunWindow& window,
                 const Rehearsal* rehearsal = nullptr);

    // Runs to the end: "Expansion Done", or an error box and "Ended due to Error". Nothing
    // escapes it.
    RunResult Run() noexcept;

private:
    // The steps of the run in their order; any failure leaves as a RunFailure.
    void RunSteps();
    // Digests the original without its header when the script gives a checksum. A mismatch
    // shows the digest and a warning, and the run goes on.
    void CheckMD5(const ScriptHead& head, bool originalHasHeader);
    RunResult FailureExit(RunFailure failure) noexcept;

    const bool WantHeader;
    const std::string folder_;
    RunWindow& window_;
    const Rehearsal* const rehearsal_;
    bool md5WarningShown_ = false;
    std::optional<OpenedScript> opened_;
    std::optional<ReplacementFile> expanded_;
    std::optional<ExpandedFileOutput> expandedOutput_;
    std::optional<ImageWriter> image_;
    FailureBox failureBox_;
};

} // namespace kelbrin
