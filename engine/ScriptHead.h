#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ReplacementFile.h"
#include "TextInputFile.h"

namespace kelbrin {

// The script's name, in the folder the buttons act on.
inline constexpr std::string_view kScriptName = "Kelbrin.txt";

// The script's three fixed lines, read and checked: what every later step of a run works from.
struct ScriptHead {
    // The ROM files' names as the script writes them, and their paths in the program folder.
    std::string OriginalName;
    std::string ExpandedName;
    std::string OriginalPath;
    std::string ExpandedPath;
    // Image sizes without header.
    std::int32_t OriginalSize = 0;
    std::int32_t FinalSize = 0;
    // The checksum the original must have without its header, as written; empty for none.
    std::string ExpectedMD5;
    std::int32_t HeaderSize = 0;
    // The HEADER line, and the field position at which its header bytes begin.
    std::string HeaderLine;
    std::int32_t HeaderBytesAt = 0;
    // The original's length in bytes, read once, right after the SIZE line.
    std::int64_t OriginalLength = 0;
};

// What a look at a folder does with the expanded file that the NAME line names.
enum class ExpandedFileUse {
    // Nothing: a look at the original alone, or the proof of a script made for the folders of
    // players, where the expanded file will be.
    Leave,
    // Refuses whatever a run refuses before it makes its new file, and makes nothing: a
    // rehearsal that tells how a run would end.
    Prove,
    // Makes the run's new file.
    Make,
};

// Reads the NAME, SIZE and HEADER lines from `script`, whose path is `scriptPath`, checking
// each rule where it is met, and does on the way what must happen between them: it proves that
// the original can be read and, once the expanded name has passed its checks, deals with the
// expanded file as `use` says; to make it is to make the run's new expanded file in `made`,
// which replaces the expanded file when the run is done. Any failure leaves as a RunFailure in
// its line's context.
// `original`, when not empty, is the original for this look in place of the NAME line's, a path
// as the player gave it.
ScriptHead ReadScriptHead(TextInputFile& script, const std::string& scriptPath,
                          const std::string& programDirectory, ExpandedFileUse use,
                          std::optional<ReplacementFile>* made = nullptr,
                          const std::string& original = {});

// The script a look at a folder reads: Kelbrin.txt there, unless another file is named, or a
// text not yet in a file, made as it is read (a script just made, proved before it is written
// to `Path`).
struct ScriptSource {
    std::string Path;
    TextInputFile::TextPieces Pieces;
    // The original under another name, for this look alone: a path as the player gave it, in
    // place of the file the NAME line names. Empty for that file.
    std::string Original;
};

// The opening that every look at a folder shares, a run's and the original identity's: the
// script opened and its three fixed lines read and checked (ReadScriptHead), the script left at
// its first directive line.
struct OpenedScript {
    TextInputFile Script;
    ScriptHead Head;
};
OpenedScript OpenScript(const std::string& folder, const ScriptSource& source, ExpandedFileUse use,
                        std::optional<ReplacementFile>* made = nullptr);

// Whether the original carries a header, told by its length alone: the image size without a
// header, or with one (the plain size is tested first, so a header size of 0 means none).
// Nothing when the length is neither.
std::optional<bool> HeaderByLength(const ScriptHead& head);

// HeaderByLength, where a length that is neither size breaks the rule of the original's length.
bool OriginalHasHeader(const ScriptHead& head);

} // namespace kelbrin
