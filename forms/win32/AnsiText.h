#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace kelbrin::win32 {

// The engine's text is 8-bit, and names from a script reach the file system as text of the ANSI
// code page, as the classic file calls read them. Shown through the same code page, a name
// reads as the file that Explorer lists, whatever the system's language.
std::wstring Widen(std::string_view ansi);
std::string Narrow(std::wstring_view wide);

// Paths are UTF-8 in the program (see WideText.h): a folder of any name, as the system gives it
// in UTF-16 (a folder dialog's, a drop's, the program's own), and back for a title or a dialog.
std::string PathFromWide(std::wstring_view path);
std::wstring WidePathText(std::string_view path);

// The text a window or control holds now.
std::wstring WindowText(HWND window);

} // namespace kelbrin::win32
