#pragma once

#include <string>
#include <windows.h>

#include "RunWindow.h"

namespace kelbrin::win32 {

// A modal box owned by `owner` with a single OK button, the stop icon or none. A message of
// more than 2,000 characters shows its start and an ellipsis: a script line can be megabytes
// long, and a box that size could be neither laid out nor read.
void ShowMessageBox(HWND owner, const std::string& message, const std::string& title,
                    MessageBoxIcon icon);

// A modal question owned by `owner` with the buttons Yes and No, No the default; whether the
// answer was Yes.
bool AskYesNo(HWND owner, const std::string& question, const std::string& title);

} // namespace kelbrin::win32
