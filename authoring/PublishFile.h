#pragma once

#include <string>

namespace kelbrin {

// Where a file is written before it is complete: a name of its own beside `path`, which no
// other process writing the same path at the same time takes.
std::string UnfinishedName(const std::string& path);

// Gives the complete file `finished` the name `path`, in one step, so that `path` never names a
// part of it. An existing file of that name is replaced only when `replaceExisting`; otherwise
// the move fails with error 58 and the existing file stays as it was.
void PublishFile(const std::string& finished, const std::string& path, bool replaceExisting);

// Removes a file that is left unfinished; a failure to do so is not a second error.
void RemoveUnfinished(const std::string& path) noexcept;

} // namespace kelbrin
