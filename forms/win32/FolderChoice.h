#pragma once

#include <optional>
#include <string>
#include <windows.h>
// The drag and drop header needs the types of windows.h.
#include <shellapi.h>

namespace kelbrin::win32 {

// The system's folder dialog over `owner`, opening at `start`; the folder chosen, as the file
// layer names files (UTF-8); nothing when the user cancels it.
std::optional<std::string> ChooseFolderDialog(HWND owner, const std::string& start);

// The first file of a drop, in UTF-8.
std::string DroppedFile(HDROP drop);

// The folder chosen last time, kept under HKEY_CURRENT_USER\Software\Kelbrin in UTF-16.
std::optional<std::string> RememberedFolder();
void RememberFolder(const std::string& folder);

} // namespace kelbrin::win32
