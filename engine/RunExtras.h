#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelbrin {

// What a player may add to a run beyond the button and the folder. A run without any of them
// is the plain expansion, with every status, box and byte as ever.
struct RunExtras {
    // Patches applied in this order to the expanded image once it is built; the patched ROM is
    // written beside the expanded one.
    std::vector<std::string> Patches;
    // Where the patched ROM goes, in place of the last patch's name with the expanded ROM's
    // extension.
    std::optional<std::string> PatchedOutput;
    // The original ROM for this run, in place of the name on the script's NAME line.
    std::optional<std::string> Original;

    bool Any() const { return !Patches.empty() || PatchedOutput || Original; }
};

} // namespace kelbrin
