#pragma once

#include <optional>
#include <string>
#include <windows.h>

namespace kelbrin::win32 {

// The system's dialog for opening an existing file over `owner`, titled `title`, opening in the
// folder `start`; the file chosen, as the file layer names files (UTF-8); nothing when the user
// cancels it.
std::optional<std::string> ChooseFileDialog(HWND owner, const std::string& title,
                                            const std::string& start);

} // namespace kelbrin::win32
