#include "ColourButton.h"

#include <algorithm>
#include <string>

#include "AnsiText.h"

namespace kelbrin::win32 {

namespace {

int WidthOf(HDC dc, const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Breaks `text` into lines no wider than `width` only at blanks, where DrawText would also
// break after a "/"; the blanks at a break are dropped, the others kept.
std::wstring WrapAtBlanks(HDC dc, const std::wstring& text, int width) {
    std::wstring wrapped;
    std::wstring line;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t wordStart = std::min(text.find_first_not_of(L' ', at), text.size());
        const std::size_t wordEnd = std::min(text.find(L' ', wordStart), text.size());
        const std::wstring blanks = text.substr(at, wordStart - at);
        const std::wstring word = text.substr(wordStart, wordEnd - wordStart);
        if (line.empty() || WidthOf(dc, line + blanks + word) <= width) {
            line += blanks + word;
        } else {
            wrapped += line + L"\n";
            line = word;
        }
        at = wordEnd;
    }
    return wrapped + line;
}

} // namespace

void DrawColourButton(const DRAWITEMSTRUCT& item, COLORREF face, COLORREF text) {
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
    const std::wstring caption =
        WrapAtBlanks(dc, WindowText(item.hwndItem), area.right - area.left);
    constexpr UINT kFormat = DT_CENTER | DT_NOPREFIX;
    RECT measured = area;
    ::DrawTextW(dc, caption.c_str(), -1, &measured, kFormat | DT_CALCRECT);
    const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
    if (spare > 0) {
        area.top += spare / 2;
    }
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, disabled ? ::GetSysColor(COLOR_GRAYTEXT) : text);
    ::DrawTextW(dc, caption.c_str(), -1, &area, kFormat);

    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = bounds;
        ::InflateRect(&focus, -(edge + 2), -(edge + 2));
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace kelbrin::win32
