#include "PatchedRomFile.h"

#include <optional>

#include "FileIdentity.h"
#include "Patch.h"
#include "PatchedRomFileOutput.h"
#include "RunFailure.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Applies the patch into the unfinished file, a piece at a time, and puts that file in place;
// returns the patched ROM's CRC32. A patch refused before the first byte leaves no file, and
// a failure after it removes the unfinished one.
std::uint32_t WritePatched(const PatchedRomOrder& order) {
    const WholeFile patch = Under("Can't open the patch: " + Quoted(order.Patch),
                                  [&] { return ReadPatch(order.Patch); });
    // A ROM larger than any patch makes is refused with the patch's own words.
    const WholeFile rom = Under("Can't open the ROM: " + Quoted(order.Rom),
                                [&] { return WholeFile(order.Rom, kLargestPatchedRom); });
    const std::string context = "Can't save the patched ROM: " + Quoted(order.Output);
    std::optional<ReplacementFile> written;
    PatchedRomFileOutput output(written, order.Output, {order.Patch, order.Rom}, context);
    const std::uint32_t crc32 =
        Under("Can't apply the patch " + Quoted(order.Patch) + " to " + Quoted(order.Rom),
              [&] { return ApplyPatch(order.Patch, patch.Bytes(), rom.Bytes(), output); });
    output.Finish();
    // A file that appeared there meanwhile stays as it is unless the order replaces it.
    Under(context, [&] { written->Commit(order.ReplaceExisting); });
    return crc32;
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
    return {order.Output, WritePatched(order)};
}

} // namespace kelbrin
