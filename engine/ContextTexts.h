#pragma once

// What the error box says, under its error line, about where a run failed: one text for each
// step of the run that can meet a file failure.

#include <cstdint>
#include <string>

namespace kelbrin::ContextText {

// Opening the script and reading its NAME line.
std::string Script();
// Proving that the original can be read; `name` as the script writes it.
std::string Original(const std::string& name);
// Checking, creating and emptying the expanded file; `name` as the script writes it.
std::string Expanded(const std::string& name);
std::string SizeLine();
// The HEADER line, the checksum, and opening both ROM files for the image.
std::string HeaderLine();
// A directive line: reading it and writing the bytes it ends.
std::string DirectiveLine(std::int32_t lineNumber);
// Reading a patch and applying it; `path` as the player gave it.
std::string Patch(const std::string& path);
// Making and writing the patched ROM.
std::string Patched(const std::string& path);
// Putting the patched ROM in its place after the expanded ROM has taken its own.
std::string PatchedAfterExpanded(const std::string& expandedName, const std::string& path);

} // namespace kelbrin::ContextText
