#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BinaryWriter.h"
#include "PatchedRomSink.h"
#include "ReplacementFile.h"

namespace kelbrin {

// A patched ROM written into its unfinished file as it is made, a piece at a time, so that no
// copy of the whole ROM is held in memory: a copy from what is written so far reads the file
// back. The file is made only once the patch has proved that it fits its ROM, in `file`, which
// stays the caller's to commit; each failure of the file leaves as a RunFailure in `context`.
class PatchedRomFileOutput final : public PatchedRomSink {
public:
    // The file replaces the one at `path` and is never one of `inputs` (see ReplacementFile).
    PatchedRomFileOutput(std::optional<ReplacementFile>& file, std::string path,
                         std::vector<std::string> inputs, std::string context);

    void Start(std::uint64_t size) override;
    void Take(std::span<const std::uint8_t> bytes) override;
    void ReadBack(std::uint64_t offset, std::span<std::uint8_t> into) override;

    // Writes what is still buffered and has the system put the whole file on the disk.
    void Finish();

private:
    std::optional<ReplacementFile>& file_;
    std::string path_;
    std::vector<std::string> inputs_;
    std::string context_;
    std::optional<BinaryWriter> writer_;
};

} // namespace kelbrin
