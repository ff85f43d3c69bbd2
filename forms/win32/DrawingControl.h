#pragma once

#include <windows.h>

#include "Drawing.h"

namespace kelbrin::win32 {

// The window class of a drawing control, registered with the first call: a child window that
// paints a form::Drawing, scaled to its screen's DPI, over the brush its parent gives it for
// WM_CTLCOLORSTATIC, in the font WM_SETFONT gives it. It starts empty.
const wchar_t* DrawingClass();

// What the drawing control `control` shows from now on.
void SetDrawing(HWND control, const form::Drawing& drawing);

} // namespace kelbrin::win32
