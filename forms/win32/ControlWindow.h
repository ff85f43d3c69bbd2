#pragma once

#include <windows.h>

#include "FormDescription.h"

namespace kelbrin::win32 {

// The system's control that draws `control` of its kind, in `parent`, numbered by its ChildId,
// with the caption and state it starts with; placed and given its font by the layout.
HWND CreateControlWindow(const form::Control& control, HWND parent, bool tabStop);

} // namespace kelbrin::win32
