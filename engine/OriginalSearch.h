#pragma once

#include <string>
#include <vector>

namespace kelbrin {

// The files in `folder` that may be the script's original under another name, for a script
// whose original is not there: those whose length is the original's size, without or with the
// script's header, and, when the script gives a checksum, whose image has it. Their names in
// the folder, sorted; nothing when the script cannot be read or its original is there. Nothing
// is renamed: a run may be given one of them as its original.
std::vector<std::string> OriginalsUnderOtherNames(const std::string& folder);

} // namespace kelbrin
