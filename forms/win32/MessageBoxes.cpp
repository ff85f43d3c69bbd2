#include "MessageBoxes.h"

#include <algorithm>

#include "AnsiText.h"
#include "FormDescription.h"

namespace kelbrin::win32 {

namespace {

constexpr std::size_t kLongestShown = form::kLongestBoxText;

std::wstring BoxText(const std::string& message) {
    // A character of the ANSI code page takes one or two bytes, so this start holds more than
    // kLongestShown characters whenever the message is longer; only the start is converted.
    const std::size_t bytes = std::min(message.size(), 2 * kLongestShown + 2);
    std::wstring text = Widen(std::string_view(message).substr(0, bytes));
    if (text.size() > kLongestShown) {
        text.resize(kLongestShown);
        text += L" \u2026";
    }
    return text;
}

} // namespace

void ShowMessageBox(HWND owner, const std::string& message, const std::string& title,
                    MessageBoxIcon icon) {
    const UINT style = MB_OK | (icon == MessageBoxIcon::Stop ? MB_ICONERROR : 0);
    ::MessageBoxW(owner, BoxText(message).c_str(), Widen(title).c_str(), style);
}

bool AskYesNo(HWND owner, const std::string& question, const std::string& title) {
    return ::MessageBoxW(owner, BoxText(question).c_str(), Widen(title).c_str(),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

} // namespace kelbrin::win32
