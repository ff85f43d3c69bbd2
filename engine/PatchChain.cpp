#include "PatchChain.h"

#include "ContextTexts.h"
#include "Patch.h"
#include "PatchFiles.h"
#include "PatchedRomInMemory.h"
#include "RunFailure.h"

namespace kelbrin {

PatchChain::PatchChain(const std::vector<std::string>& paths) {
    patches_.reserve(paths.size());
    for (const std::string& path : paths) {
        Under(ContextText::Patch(path), [&] {
            WholeFile bytes = ReadPatch(path);
            PatchDescription description = DescribePatch(PatchName(path), bytes.Bytes());
            patches_.push_back({path, std::move(bytes), std::move(description)});
        });
    }
}

std::string PatchChain::RequireFit(const ButtonFiles& files, HeaderChoice pressed) const {
    const Patch& first = patches_.front();
    return Under(ContextText::Patch(first.Path), [&] {
        return kelbrin::RequireFit(PatchName(first.Path), first.Description, files, pressed);
    });
}

std::uint32_t PatchChain::Apply(PageBuffer expanded, std::uint32_t expandedCrc32, RunWindow& window,
                                PatchedRomSink& patched) const {
    PageBuffer rom = std::move(expanded);
    // Each ROM's CRC32 is known without reading it: the expanded one's was taken for the fit,
    // and a patched one's was taken as the patch made it.
    std::uint32_t romCrc32 = expandedCrc32;
    for (const Patch& patch : patches_) {
        window.SetStatus("Applying " + PatchName(patch.Path));
        Under(ContextText::Patch(patch.Path), [&] {
            if (&patch == &patches_.back()) {
                romCrc32 = ApplyPatch(PatchName(patch.Path), patch.Bytes.Bytes(), rom.Bytes(),
                                      patched, romCrc32);
                return;
            }
            PatchedRomInMemory next;
            romCrc32 =
                ApplyPatch(PatchName(patch.Path), patch.Bytes.Bytes(), rom.Bytes(), next, romCrc32);
            rom = next.TakeBytes();
        });
    }
    return romCrc32;
}

std::vector<std::string> PatchChain::Paths() const {
    std::vector<std::string> paths;
    for (const Patch& patch : patches_) {
        paths.push_back(patch.Path);
    }
    return paths;
}

} // namespace kelbrin
