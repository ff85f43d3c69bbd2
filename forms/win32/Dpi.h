#pragma once

#include <windows.h>

namespace kelbrin::win32 {

// The dots per inch of the screen the window is on (per monitor since Windows 10; the
// system's before).
UINT WindowDpi(HWND window);

// The outer size of a window whose client area is `client` pixels at `dpi`, with its frame,
// caption and (when `menu`) a one-line menu bar.
SIZE OuterSize(DWORD style, DWORD exStyle, bool menu, SIZE client, UINT dpi);

} // namespace kelbrin::win32
