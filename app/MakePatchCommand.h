#pragma once

#include <optional>
#include <string>

#include "PatchFormat.h"

namespace kelbrin {

// kelbrin-cli --make-patch SOURCE TARGET [--bps | --ips | --ups] [--metadata TEXT]
//             [--output FILE|-] [--force]
struct MakePatchOptions {
    std::string Source;
    std::string Target;
    PatchFormat Format = PatchFormat::Bps;
    std::string Metadata;              // BPS only
    std::optional<std::string> Output; // "-": standard output
    bool Force = false;
};

// Makes the patch from SOURCE to TARGET, applies it to SOURCE in memory as a player's run would
// and writes it only when that gives TARGET byte for byte (by default under TARGET's name with
// the format's extension, beside it: "out/hack.sfc" gives "out/hack.bps"). Then says
// "Patch written: NAME (N bytes)", on standard error when the patch went to standard output.
// A refusal or a failure is a box on standard error, and nothing is written. Returns the exit
// status: 0 written, 1 not.
int MakePatchCommand(const MakePatchOptions& options);

} // namespace kelbrin
