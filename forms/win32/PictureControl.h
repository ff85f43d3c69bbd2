#pragma once

#include <windows.h>

#include "FormDescription.h"

namespace kelbrin::win32 {

// The bitmap a picture control shows for `picture` at a layout of `dpi` dots per inch: at its
// natural size, 96 of its pixels to the inch. None: nullptr.
HBITMAP LoadPicture(form::Picture picture, UINT dpi);

} // namespace kelbrin::win32
