#pragma once

#include <functional>
#include <string>

#include "CheckedScript.h"

namespace kelbrin {

// The script for `request`, made, proved and written to `path`: what the command line and the
// window both do for an author. A `path` that names the original or the expanded file is
// refused with error 70 whatever the answer; one that names another existing file is replaced
// only when `mayReplace` agrees (asked then, before any work), else refused with error 58. No
// failure leaves a script, or a part of one. Returns the script written, for its summary.
CheckedScript WriteScript(const ScriptRequest& request, const std::string& path,
                          const std::function<bool()>& mayReplace);

} // namespace kelbrin
