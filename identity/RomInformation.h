#pragma once

#include <string>

#include "OriginalIdentity.h"

namespace kelbrin {

// Whether the original is the ROM the patch expects, in a player's words: the length against
// the script's sizes, then the checksum against the script's, or what cannot be told without one.
std::string IdentityVerdict(const OriginalIdentity& identity);

// The text of the ROM Information box, for a player first: the verdict, the folder, the ROM's
// name, length, header and checksums in aligned columns, and last, for patch authors, a SIZE line
// with the checksum for their script. Prose is wrapped to fit the box; lines end in LF.
std::string RomInformation(const OriginalIdentity& identity);

} // namespace kelbrin
