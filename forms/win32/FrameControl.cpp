#include "FrameControl.h"

namespace kelbrin::win32 {

namespace {

LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: return ::SendMessageW(::GetParent(frame), message, wParam, lParam);
    case WM_ERASEBKGND: return 1; // painted whole below
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(frame, &paint);
        RECT inside;
        ::GetClientRect(frame, &inside);
        const auto interior = reinterpret_cast<HBRUSH>(
            ::SendMessageW(::GetParent(frame), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(frame)));
        ::FillRect(dc, &inside, interior);
        ::DrawEdge(dc, &inside, EDGE_ETCHED, BF_RECT);
        ::EndPaint(frame, &paint);
        return 0;
    }
    default: return ::DefWindowProcW(frame, message, wParam, lParam);
    }
}

} // namespace

const wchar_t* FrameClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW frame{};
        frame.cbSize = sizeof frame;
        frame.lpfnWndProc = FrameProcedure;
        frame.hInstance = ::GetModuleHandleW(nullptr);
        frame.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        frame.lpszClassName = L"KelbrinFrame";
        ::RegisterClassExW(&frame);
        return frame.lpszClassName;
    }();
    return name;
}

} // namespace kelbrin::win32
