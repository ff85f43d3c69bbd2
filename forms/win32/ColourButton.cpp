#include "ColourButton.h"

#include <string>
#include <string_view>

#include "AnsiText.h"
#include "CaptionLines.h"

namespace kelbrin::win32 {

namespace {

int WidthOf(HDC dc, std::wstring_view text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

void DrawColourButton(const DRAWITEMSTRUCT& item, COLORREF face, COLORREF ink, COLORREF greyed) {
    HDC dc = item.hDC;
    RECT bounds = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;

    HBRUSH brush = ::CreateSolidBrush(face);
    ::FillRect(dc, &bounds, brush);
    ::DeleteObject(brush);
    ::DrawEdge(dc, &bounds, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    // Inside the edge and the focus rectangle; a pressed caption moves with the face.
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    RECT area = bounds;
    ::InflateRect(&area, -(2 * edge + 2), -(2 * edge + 2));
    if (pressed) {
        ::OffsetRect(&area, 1, 1);
    }
    const std::wstring text = WindowText(item.hwndItem);
    const std::wstring caption = form::CaptionLines(
        std::wstring_view(text), [dc](std::wstring_view piece) { return WidthOf(dc, piece); },
        area.right - area.left);
    constexpr UINT kFormat = DT_CENTER | DT_NOPREFIX;
    RECT measured = area;
    ::DrawTextW(dc, caption.c_str(), -1, &measured, kFormat | DT_CALCRECT);
    const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
    if (spare > 0) {
        area.top += spare / 2;
    }
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, disabled ? greyed : ink);
    ::DrawTextW(dc, caption.c_str(), -1, &area, kFormat);

    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = bounds;
        ::InflateRect(&focus, -(edge + 2), -(edge + 2));
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace kelbrin::win32
