#pragma once

#include <windows.h>

namespace kelbrin::win32 {

// Paints an owner-drawn push button: the face in its own colour with a raised edge that sinks
// while pressed, the caption centred in `ink`, or `greyed` while disabled, broken into lines
// as the forms' captions break (CaptionLines), and the usual focus rectangle while it has the
// focus and the keyboard is in use.
void DrawColourButton(const DRAWITEMSTRUCT& item, COLORREF face, COLORREF ink, COLORREF greyed);

} // namespace kelbrin::win32
