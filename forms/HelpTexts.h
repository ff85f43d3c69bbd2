#pragma once

#include <string>

namespace kelbrin {

// The three pages of the help window, fixed at build time: 8-bit text with CR LF line ends,
// no line longer than 79 characters, each framed by a rule of alternating "-" and "=".

// How to use the program: where the files go and which button to press.
const std::string& UsageHelpText();

// How to write Kelbrin.txt, around the sample whose original and expanded images the two
// pictures of the window show (forms/resources/README.md says how they are made from it).
const std::string& FormatHelpText();

// How a player has the patch applied: the patch line, the two buttons, a patch that fits the
// other button's ROM, and File > Apply Patch... for a ROM that needs no expansion.
const std::string& PatchHelpText();

} // namespace kelbrin
