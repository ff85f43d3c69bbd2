#include "DrawingControl.h"

#include <map>

#include "AnsiText.h"
#include "Dpi.h"

namespace kelbrin::win32 {

namespace {

constexpr const wchar_t* kDrawingClass = L"KelbrinDrawing";

struct DrawingState {
    form::Drawing Drawing;
    HFONT Font = nullptr;
};

DrawingState* StateOf(HWND control) {
    return reinterpret_cast<DrawingState*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
}

// From the rounded edges rather than the rounded size: boxes that meet in twips meet on the
// screen, without a gap or an overlap of a pixel between them.
RECT PixelRect(const form::Twips& at, UINT dpi) {
    const auto pixels = [dpi](std::int32_t twips) {
        return form::ToPixels(twips, static_cast<std::int32_t>(dpi));
    };
    return RECT{pixels(at.Left), pixels(at.Top), pixels(at.Left + at.Width),
                pixels(at.Top + at.Height)};
}

COLORREF Rgb(form::Colour colour) {
    return RGB(colour.Red, colour.Green, colour.Blue);
}

UINT Across(form::TextAlign align) {
    switch (align) {
    case form::TextAlign::Left: return DT_LEFT;
    case form::TextAlign::Right: return DT_RIGHT;
    case form::TextAlign::Centre: break;
    }
    return DT_CENTER;
}

void Paint(HWND control, HDC dc, const DrawingState& state) {
    RECT client;
    ::GetClientRect(control, &client);
    const auto back = reinterpret_cast<HBRUSH>(
        ::SendMessageW(::GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control)));
    ::FillRect(dc, &client, back != nullptr ? back : ::GetSysColorBrush(COLOR_WINDOW));
    const UINT dpi = WindowDpi(control);
    std::map<COLORREF, HBRUSH> brushes;
    const auto brush = [&brushes](form::Colour colour) {
        HBRUSH& made = brushes[Rgb(colour)];
        if (made == nullptr) {
            made = ::CreateSolidBrush(Rgb(colour));
        }
        return made;
    };
    for (const form::DrawnBox& box : state.Drawing.Boxes) {
        const RECT rect = PixelRect(box.At, dpi);
        if (box.Fill) {
            ::FillRect(dc, &rect, brush(*box.Fill));
        }
        if (box.Edge) {
            ::FrameRect(dc, &rect, brush(*box.Edge));
        }
    }
    HGDIOBJ previousFont =
        ::SelectObject(dc, state.Font != nullptr ? static_cast<HGDIOBJ>(state.Font)
                                                 : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    for (const form::DrawnLabel& label : state.Drawing.Labels) {
        RECT rect = PixelRect(label.At, dpi);
        ::SetTextColor(dc, Rgb(label.Fore));
        const std::wstring text = Widen(label.Text);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                    Across(label.Align) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SelectObject(dc, previousFont);
    for (const auto& [colour, made] : brushes) {
        ::DeleteObject(made);
    }
}

LRESULT CALLBACK DrawingProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new DrawingState()));
        break;
    case WM_NCDESTROY:
        delete StateOf(control);
        ::SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        break;
    case WM_SETFONT:
        StateOf(control)->Font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam) != 0) {
            ::InvalidateRect(control, nullptr, FALSE);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(StateOf(control)->Font);
    case WM_ERASEBKGND: return 1; // painted whole below
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(control, &paint);
        RECT client;
        ::GetClientRect(control, &client);
        // Drawn off the screen first: thousands of bands would otherwise flicker.
        HDC canvas = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ previous = ::SelectObject(canvas, bitmap);
        Paint(control, canvas, *StateOf(control));
        ::BitBlt(dc, 0, 0, client.right, client.bottom, canvas, 0, 0, SRCCOPY);
        ::SelectObject(canvas, previous);
        ::DeleteObject(bitmap);
        ::DeleteDC(canvas);
        ::EndPaint(control, &paint);
        return 0;
    }
    default: break;
    }
    return ::DefWindowProcW(control, message, wParam, lParam);
}

} // namespace

const wchar_t* DrawingClass() {
    static const bool registered = [] {
        WNDCLASSEXW drawing{};
        drawing.cbSize = sizeof drawing;
        drawing.lpfnWndProc = DrawingProcedure;
        drawing.hInstance = ::GetModuleHandleW(nullptr);
        drawing.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        drawing.lpszClassName = kDrawingClass;
        return ::RegisterClassExW(&drawing) != 0;
    }();
    (void)registered;
    return kDrawingClass;
}

void SetDrawing(HWND control, const form::Drawing& drawing) {
    StateOf(control)->Drawing = drawing;
    ::InvalidateRect(control, nullptr, FALSE);
}

} // namespace kelbrin::win32
