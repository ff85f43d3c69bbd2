#include "Dpi.h"

namespace kelbrin::win32 {

namespace {

// The per-monitor calls exist from Windows 10 on; looked up at run time, the program still
// starts on older systems, at the system's DPI.
template <typename Function> Function User32Function(const char* name) {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name);
    // Through the generic function type, which the compiler accepts as a cast between any two.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        return getDpiForWindow(window);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

SIZE OuterSize(DWORD style, DWORD exStyle, bool menu, SIZE client, UINT dpi) {
    using AdjustFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT outer{0, 0, client.cx, client.cy};
    if (adjustForDpi != nullptr) {
        adjustForDpi(&outer, style, menu, exStyle, dpi);
    } else {
        ::AdjustWindowRectEx(&outer, style, menu, exStyle);
    }
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

} // namespace kelbrin::win32
