#pragma once

#include <windows.h>

namespace kelbrin::win32 {

// The window class of a frame, registered with the first call: an etched edge around the
// controls that lie in it, filled with the brush its parent gives it for WM_CTLCOLORSTATIC.
// It passes its controls' notifications and colour requests on to its parent, the form.
const wchar_t* FrameClass();

} // namespace kelbrin::win32
