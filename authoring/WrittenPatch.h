#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "PatchFormat.h"
#include "PatchWriting.h"

namespace kelbrin {

// Where a patch goes when nobody says: TARGET's name with the format's extension, beside it
// ("out/hack.sfc" gives "out/hack.bps").
std::string DefaultPatchPath(const std::string& target, PatchFormat format);

// How far the making of a patch has come: `done` bytes of the target's `size`.
using MakingProgress = std::function<void(std::uint64_t done, std::uint64_t size)>;

// A patch to make from one ROM to another.
struct PatchOrder {
    std::string Source;
    std::string Target;
    PatchFormat Format = PatchFormat::Bps;
    // The author's text of a BPS patch; none when empty.
    std::string Metadata;
    std::string Output;
    // An existing file at Output is replaced; without it, it is refused.
    bool ReplaceExisting = false;
    // Without ReplaceExisting, asked before any work when a file is there already (not one of
    // the ROMs): a yes replaces it.
    std::function<bool()> MayReplace;
    // How the person replaces an existing file, said in its refusal: "--force replaces it".
    std::string HowToReplace;
    // Told now and then how much of the target a BPS patch has gone through, and for every
    // format once with the target's whole size when the patch is made, before it is proved.
    MakingProgress Progress;
};

// The patch from the order's source to its target, made and proved: applied to the source in
// memory as a player's run reads it, it gives the target byte for byte, else it is refused.
// Its output is not looked at. Every failure is a RunFailure in the context of the file it
// concerns.
PatchBytes ProvedPatch(const PatchOrder& order);

// Makes and proves the patch, then writes it whole at the order's output, never over the
// source or the target (under any name), nor over an existing file unless the order says so or
// the person agrees; both refusals come before any work. No failure leaves a file, or a part of
// one. The command line and the window both write patches through here, so they refuse and write
// alike. Returns the patch's size.
std::uint64_t WritePatch(const PatchOrder& order);

} // namespace kelbrin
