#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "HeaderChoice.h"
#include "PatchDescription.h"
#include "RunExtras.h"

namespace kelbrin {

// Numbers of their own, after those of the patch readers.
enum PatchFitErrorNumber : std::int32_t {
    ErrPatchFitsOtherButton = 613,
    ErrPatchFitsNeitherButton = 614,
    ErrPatchAlreadyApplied = 615,
};

// The length and CRC32 of a file.
struct RomSum {
    std::uint64_t Size = 0;
    std::uint32_t Crc32 = 0;
    bool operator==(const RomSum&) const = default;
};

// The files that the two buttons write from one expansion, told from the image's CRC32, taken
// once, and the header's bytes.
struct ButtonFiles {
    // None when the script declares no header, or its header bytes break a rule: that button
    // writes nothing.
    std::optional<RomSum> AddOrReplace;
    RomSum IgnoreOrRemove;

    std::optional<RomSum> Of(HeaderChoice button) const {
        return button == HeaderChoice::AddOrReplace ? AddOrReplace
                                                    : std::optional<RomSum>(IgnoreOrRemove);
    }
};
ButtonFiles FilesOfButtons(const std::optional<std::vector<std::uint8_t>>& header, RomSum image);

enum class ButtonFit {
    Fits,
    DoesNotFit,
    // The button's file is already what the patch makes.
    AlreadyPatched,
    // The patch holds no checksum (IPS, IPS32): only its author can say.
    CannotTell,
    // The button writes nothing: the script declares no header, or the folder or the patch
    // could not be read.
    NoFile,
};

// What a patch's checksums say of one button's file.
ButtonFit FitOf(const PatchDescription& patch, const std::optional<RomSum>& file);

// The caption of the button, as the main window shows it.
std::string_view ButtonCaption(HeaderChoice button);

// What a player is told about `button` and the patch `name`: the text of the box for a button
// the patch does not fit (the other one, or neither, with the sizes and CRC32s), or is applied
// to already; for the others, a line that says so.
std::string FitText(std::string_view name, const PatchDescription& patch, const ButtonFiles& files,
                    HeaderChoice button);

// For a run of `pressed`: raises the numbered error of a patch that does not fit its file, or is
// applied to it already; returns the note for a patch that cannot tell (empty when it fits).
std::string RequireFit(std::string_view name, const PatchDescription& patch,
                       const ButtonFiles& files, HeaderChoice pressed);

// What each button gives with a patch, asked without writing anything.
struct ButtonAnswer {
    ButtonFit Fit = ButtonFit::NoFile;
    std::string Text;
};
struct PatchFitting {
    ButtonAnswer AddOrReplace;
    ButtonAnswer IgnoreOrRemove;
};

// Rehearses the expansion of `folder` (with `extras`' original, when it names one) into a
// checksum alone, and compares the files of both buttons with the patch at `patch`. A folder or
// a patch that cannot be read gives NoFile for both buttons, with the error box's text.
PatchFitting FitPatch(const std::string& folder, const RunExtras& extras, const std::string& patch);

} // namespace kelbrin
