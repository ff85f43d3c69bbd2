#pragma once

#include <string>
#include <windows.h>

#include "FontSet.h"
#include "FormDescription.h"

namespace kelbrin::win32 {

// A text's lines may end in LF; an edit control wants CR LF.
std::wstring WindowsLines(const std::string& text);

// Gives the text box `box`, drawn for `control`, its font from `fonts`; one that keeps to its
// text's own line breaks, a font narrow enough to show its widest line whole.
void GiveTextBoxFont(HWND box, const form::Control& control, FontSet& fonts);

} // namespace kelbrin::win32
