#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ExpandedFileOutput.h"
#include "FailureBox.h"
#include "HeaderChoice.h"
#include "ImageWriter.h"
#include "KeptImageOutput.h"
#include "PatchChain.h"
#include "Rehearsal.h"
#include "ReplacementFile.h"
#include "RunExtras.h"
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
                 const Rehearsal* rehearsal = nullptr, const RunExtras* extras = nullptr);

    // Runs to the end: "Expansion Done", or an error box and "Ended due to Error". Nothing
    // escapes it.
    RunResult Run() noexcept;

private:
    // The steps of the run in their order; any failure leaves as a RunFailure.
    void RunSteps();
    // Digests the original without its header when the script gives a checksum. A mismatch
    // shows the digest and a warning, and the run goes on.
    void CheckMD5(const ScriptHead& head, bool originalHasHeader);
    // Applies the patches to the image just written and writes the patched ROM whole, in its
    // own new file, which takes its name after the expanded file has taken its own.
    void WritePatchedRom(const ScriptHead& head);
    RunResult FailureExit(RunFailure failure) noexcept;

    const bool WantHeader;
    const std::string folder_;
    RunWindow& window_;
    const Rehearsal* const rehearsal_;
    const RunExtras* const extras_;
    bool md5WarningShown_ = false;
    std::optional<OpenedScript> opened_;
    std::optional<ReplacementFile> expanded_;
    std::optional<ExpandedFileOutput> expandedOutput_;
    // With patches: the chain, read before the expansion, the image kept as it is written, and
    // the patched ROM's new file, its name as the player reads it and its CRC32.
    std::optional<PatchChain> patches_;
    std::optional<KeptImageOutput> kept_;
    std::optional<ReplacementFile> patched_;
    std::string patchedName_;
    std::uint32_t patchedCrc32_ = 0;
    std::optional<ImageWriter> image_;
    FailureBox failureBox_;
};

} // namespace kelbrin
