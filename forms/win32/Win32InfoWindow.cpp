#include "Win32InfoWindow.h"

#include <cstring>
#include <utility>

#include "AnsiText.h"
#include "ControlIds.h"
#include "EventPump.h"

namespace kelbrin {

namespace {

// The report's lines end in LF; an edit control and the clipboard want CR LF.
std::wstring WindowsLines(const std::string& text) {
    std::string lines;
    for (const char c : text) {
        if (c == '\n') {
            lines += '\r';
        }
        lines += c;
    }
    return win32::Widen(lines);
}

} // namespace

Win32InfoWindow::Win32InfoWindow(std::string report, HWND owner)
    : FormWindow(form::InfoForm()), handlers_(*this, std::move(report)), owner_(owner) {
    Create(nullptr, owner);
    handlers_.Form_Load();
}

void Win32InfoWindow::ShowModal() {
    ::EnableWindow(owner_, FALSE);
    Show();
    win32::RunModalLoop([this] { return !IsOpen(); });
    ::EnableWindow(owner_, TRUE);
    ::SetActiveWindow(owner_);
}

void Win32InfoWindow::SetText(form::ControlId control, const std::string& text) {
    ::SetWindowTextW(ControlHandle(control), WindowsLines(text).c_str());
}

void Win32InfoWindow::CopyToClipboard(const std::string& text) {
    const std::wstring lines = WindowsLines(text);
    const std::size_t bytes = (lines.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr || !::OpenClipboard(Handle())) {
        ::GlobalFree(block);
        return;
    }
    std::memcpy(::GlobalLock(block), lines.c_str(), bytes);
    ::GlobalUnlock(block);
    ::EmptyClipboard();
    // The clipboard owns the block once it has taken it.
    if (::SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        ::GlobalFree(block);
    }
    ::CloseClipboard();
}

void Win32InfoWindow::CloseWindow() {
    Close();
}

void Win32InfoWindow::OnCommand(int id) {
    if (id == win32::ChildId(form::ControlId::cmdCopy)) {
        handlers_.cmdCopy_Click();
    } else if (id == win32::ChildId(form::ControlId::cmdClose)) {
        handlers_.cmdClose_Click();
    }
}

} // namespace kelbrin
