#include "PatchedRomFile.h"

#include <optional>

#include "BinaryWriter.h"
#include "Crc32.h"
#include "FileIdentity.h"
#include "Patch.h"
#include "ReplacementFile.h"
#include "RunFailure.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

struct Applied {
    PageBuffer Bytes;
    std::uint32_t Crc32 = 0;
};

Applied Patched(const PatchedRomOrder& order) {
    const WholeFile patch = Under("Can't open the patch: " + Quoted(order.Patch),
                                  [&] { return ReadPatch(order.Patch); });
    // A ROM larger than any patch makes is refused with the patch's own words.
    const WholeFile rom = Under("Can't open the ROM: " + Quoted(order.Rom),
                                [&] { return WholeFile(order.Rom, kLargestPatchedRom); });
    return Under("Can't apply the patch " + Quoted(order.Patch) + " to " + Quoted(order.Rom), [&] {
        PageBuffer bytes = ApplyPatch(order.Patch, patch.Bytes(), rom.Bytes());
        // A patch that promises its ROM's CRC32 has checked the ROM against it: a large ROM is
        // not read once more for it.
        const std::optional<std::uint32_t> promised =
            DescribePatch(order.Patch, patch.Bytes()).TargetCrc32;
        if (promised) {
            return Applied{std::move(bytes), *promised};
        }
        Crc32 crc;
        crc.Update(bytes.Bytes());
        return Applied{std::move(bytes), crc.Value()};
    });
}

void Write(const PatchedRomOrder& order, const PageBuffer& bytes) {
    Under("Can't save the patched ROM: " + Quoted(order.Output), [&] {
        ReplacementFile written(ReplacementFile::NamesFor(order.Output), {order.Patch, order.Rom});
        BinaryWriter writer(written.File());
        writer.Write(bytes.Bytes());
        writer.Close();
        written.FlushToDisk();
        // A file that appeared there meanwhile stays as it is unless the order replaces it.
        written.Commit(order.ReplaceExisting);
    });
}

} // namespace

PatchedRom WritePatchedRom(const PatchedRomOrder& order) {
    const std::string context = "Can't save the patched ROM: " + Quoted(order.Output);
    // Nothing, not even an order to replace, writes the patched ROM over what it is made from.
    for (const std::string* input : {&order.Rom, &order.Patch}) {
        if (SameExistingFile(order.Output, *input)) {
            throw RunFailure(
                RuntimeError(ErrPermissionDenied,
                             "it would replace " + Quoted(*input) + ", which it is made from"),
                context);
        }
    }
    // Refused before the work; the rename that puts the file in place refuses again should one
    // appear there meanwhile.
    if (!order.ReplaceExisting && ExistingFileKey(order.Output)) {
        throw RunFailure(
            RuntimeError(ErrFileAlreadyExists, "the file exists already; " + order.HowToReplace),
            context);
    }
    const Applied patched = Patched(order);
    Write(order, patched.Bytes);
    return {order.Output, patched.Crc32};
}

} // namespace kelbrin
