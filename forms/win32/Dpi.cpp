#include "Dpi.h"

namespace kelbrin::win32 {

UINT WindowDpi(HWND window) {
    // GetDpiForWindow exists from Windows 10 on; looked up at run time, it lets the program
    // still start on older systems, at the system's DPI. The cast goes through the generic
    // function type, which the compiler accepts between any two.
    using Function = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
        return getDpiForWindow(window);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

} // namespace kelbrin::win32
