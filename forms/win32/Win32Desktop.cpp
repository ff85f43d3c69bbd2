#include "Win32Desktop.h"

#include <cstring>
#include <windows.h>

#include "AnsiText.h"
#include "EventPump.h"
#include "FileChoice.h"
#include "FolderChoice.h"
#include "MessageBoxes.h"
#include "Win32FormHost.h"

namespace kelbrin::win32 {

namespace {

// Every window of this desktop is one of its hosts.
HWND HandleOf(FormPort& port) {
    return static_cast<Win32FormHost&>(port).Handle();
}

} // namespace

std::unique_ptr<FormPort> Win32Desktop::OpenForm(const form::Form& description, FormEvents& events,
                                                 FormPort* owner) {
    return std::make_unique<Win32FormHost>(description, events, static_cast<Win32FormHost*>(owner));
}

std::optional<std::string> Win32Desktop::ChooseFolder(FormPort& owner, const std::string& start) {
    return ChooseFolderDialog(HandleOf(owner), start);
}

std::optional<std::string> Win32Desktop::ChooseFile(FormPort& owner, const std::string& title,
                                                    const std::string& start) {
    return ChooseFileDialog(HandleOf(owner), title, start);
}

void Win32Desktop::ShowMessageBox(FormPort& owner, const std::string& message,
                                  const std::string& title, MessageBoxIcon icon) {
    win32::ShowMessageBox(HandleOf(owner), message, title, icon);
}

bool Win32Desktop::AskYesNo(FormPort& owner, const std::string& question,
                            const std::string& title) {
    return win32::AskYesNo(HandleOf(owner), question, title);
}

void Win32Desktop::CopyToClipboard(const std::string& text) {
    // The clipboard wants CR LF.
    std::string lines;
    for (const char c : text) {
        if (c == '\n') {
            lines += '\r';
        }
        lines += c;
    }
    const std::wstring wide = Widen(lines);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr || !::OpenClipboard(nullptr)) {
        ::GlobalFree(block);
        return;
    }
    std::memcpy(::GlobalLock(block), wide.c_str(), bytes);
    ::GlobalUnlock(block);
    ::EmptyClipboard();
    // The clipboard owns the block once it has taken it.
    if (::SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        ::GlobalFree(block);
    }
    ::CloseClipboard();
}

std::optional<std::string> Win32Desktop::RememberedFolder() {
    return win32::RememberedFolder();
}

void Win32Desktop::RememberFolder(const std::string& folder) {
    win32::RememberFolder(folder);
}

void Win32Desktop::LetEventsRun() {
    PumpPendingMessages();
}

void Win32Desktop::EndProcess() {
    ::ExitProcess(0);
}

} // namespace kelbrin::win32
