#pragma once

#include <cstdint>
#include <string>

#include "PatchFiles.h"

namespace kelbrin {

// One patch applied to one ROM, written as a file of its own.
struct PatchedRomOrder {
    std::string Patch;
    std::string Rom;
    std::string Output;
    // An existing file at Output is replaced; without it, it is refused.
    bool ReplaceExisting = false;
    // How the person replaces an existing file, said in its refusal: "--force replaces it".
    std::string HowToReplace;
};

struct PatchedRom {
    std::string Path;
    std::uint32_t Crc32 = 0;
};

// Applies the patch and writes the patched ROM whole at the order's output, never over the
// ROM or the patch (under any name), nor over an existing file unless the order says so. Every
// refusal and failure is a RunFailure in the context of the file it concerns, and leaves no
// file behind: the command line and the window both write patched ROMs through here, so they
// refuse and write alike.
PatchedRom WritePatchedRom(const PatchedRomOrder& order);

} // namespace kelbrin
