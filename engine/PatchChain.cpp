#include "PatchChain.h"

#include "ContextTexts.h"
#include "Crc32.h"
#include "Patch.h"
#include "PatchFiles.h"
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

PageBuffer PatchChain::Apply(PageBuffer expanded, std::uint32_t expandedCrc32,
                             RunWindow& window) const {
    PageBuffer rom = std::move(expanded);
    // Each ROM's CRC32 is known without reading it: the expanded one's was taken for the fit,
    // and a patched one's is the one its patch promised and checked.
    std::optional<std::uint32_t> romCrc32 = expandedCrc32;
    for (const Patch& patch : patches_) {
        window.SetStatus("Applying " + PatchName(patch.Path));
        rom = Under(ContextText::Patch(patch.Path), [&] {
            return ApplyPatch(PatchName(patch.Path), patch.Bytes.Bytes(), rom.Bytes(), romCrc32);
        });
        romCrc32 = patch.Description.TargetCrc32;
    }
    return rom;
}

std::uint32_t PatchChain::PatchedCrc32(const PageBuffer& patched) const {
    if (const std::optional<std::uint32_t> promised = patches_.back().Description.TargetCrc32) {
        return *promised; // the patch has checked the ROM it made against it
    }
    Crc32 crc;
    crc.Update(patched.Bytes());
    return crc.Value();
}

std::vector<std::string> PatchChain::Paths() const {
    std::vector<std::string> paths;
    for (const Patch& patch : patches_) {
        paths.push_back(patch.Path);
    }
    return paths;
}

} // namespace kelbrin
