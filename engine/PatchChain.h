#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "HeaderChoice.h"
#include "PageBuffer.h"
#include "PatchDescription.h"
#include "PatchFit.h"
#include "PatchedRomSink.h"
#include "RunWindow.h"
#include "WholeFile.h"

namespace kelbrin {

// The patches of a run, read and checked before the expansion starts, so that a damaged one is
// refused before anything is written, and applied in their order to its image once it is
// built. Each failure leaves as a RunFailure that names its patch.
class PatchChain {
public:
    explicit PatchChain(const std::vector<std::string>& paths);

    // The first patch against the file of the button pressed (see RequireFit): the note to
    // show for a patch that cannot tell, empty when it fits.
    std::string RequireFit(const ButtonFiles& files, HeaderChoice pressed) const;

    // Makes the patched ROM from `expanded`, whose CRC32 is `expandedCrc32`, and which is let go
    // once the first patch has made its ROM: at most two ROMs are in memory at a time, and the
    // last patch writes to `patched` as it goes. Each patch is announced on `window`. Returns
    // the patched ROM's CRC32.
    std::uint32_t Apply(PageBuffer expanded, std::uint32_t expandedCrc32, RunWindow& window,
                        PatchedRomSink& patched) const;

    const std::string& LastPath() const { return patches_.back().Path; }
    std::vector<std::string> Paths() const;

private:
    struct Patch {
        std::string Path;
        WholeFile Bytes;
        PatchDescription Description;
    };
    std::vector<Patch> patches_;
};

} // namespace kelbrin
