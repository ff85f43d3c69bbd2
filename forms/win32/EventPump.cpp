#include "EventPump.h"

#include <windows.h>

#include "Win32FormHost.h"

namespace kelbrin::win32 {

namespace {

void Deliver(MSG& message) {
    if (!Win32FormHost::TranslateKeys(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace

int RunMessageLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        Deliver(message);
    }
    return static_cast<int>(message.wParam);
}

void RunModalLoop(const std::function<bool()>& done) {
    MSG message;
    while (!done() && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        Deliver(message);
    }
    if (!done()) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
    }
}

void PumpPendingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Deliver(message);
    }
}

} // namespace kelbrin::win32
