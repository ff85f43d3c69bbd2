#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace kelbrin::win32 {

// The engine's text is 8-bit, and names from a script reach the file system through the ANSI
// code page (CreateFileA). Shown through the same code page, a name reads as the file that
// Explorer lists, whatever the system's language.
std::wstring Widen(std::string_view ansi);
std::string Narrow(std::wstring_view wide);

// A path the system gives in UTF-16 (a folder dialog's, a drop's) as the file layer takes it. A
// name the ANSI code page cannot spell is given by its short (8.3) form, which it can.
std::string AnsiPath(const std::wstring& path);

// The text a window or control holds now.
std::wstring WindowText(HWND window);

} // namespace kelbrin::win32
