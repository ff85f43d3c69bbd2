#pragma once

#include <windows.h>

namespace kelbrin::win32 {

// The dots per inch of the screen the window is on (per monitor since Windows 10; the
// system's before).
UINT WindowDpi(HWND window);

} // namespace kelbrin::win32
