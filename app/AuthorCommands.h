#pragma once

#include <string>

namespace kelbrin {

// kelbrin-cli --check: how each button's run would end, with its box when it fails, and the
// author's notes, on standard output; nothing written. 0 when the script is fit to ship (see
// ScriptCheck::Passes), 1 otherwise. `original`, when not empty, is read in place of the
// script's.
int CheckCommand(const std::string& folder, const std::string& original);

// kelbrin-cli --layout: the header and the rows of the expanded image on standard output,
// and the failure of a script that fails; nothing written. Its exit status is --check's.
int LayoutCommand(const std::string& folder, const std::string& original);

} // namespace kelbrin
