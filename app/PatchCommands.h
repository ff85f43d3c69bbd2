#pragma once

#include <optional>
#include <string>

namespace kelbrin {

// kelbrin-cli --apply PATCH ROM [--output FILE] [--force]: the patcher alone, for any ROM.
struct ApplyOptions {
    std::string Patch;
    std::string Rom;
    std::optional<std::string> Output;
    bool Force = false;
};

// Applies the patch and writes the patched ROM whole (unless --output says, under the patch's
// name with the ROM's extension, beside the patch: "mods/hack.bps" and "big.sfc" give
// "mods/hack.sfc"), then says its name and CRC32 on standard output. A refusal or a failure is
// a box on standard error, and nothing is written. Returns the exit status: 0 written, 1 not.
int ApplyCommand(const ApplyOptions& options);

// kelbrin-cli --patch-info PATCH: what the patch says of itself, one "Name: value" a line; a
// patch Kelbrin does not apply, or a damaged one, is a box. Returns 0 or 1.
int PatchInfoCommand(const std::string& patch);

} // namespace kelbrin
