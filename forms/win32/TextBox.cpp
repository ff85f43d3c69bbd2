#include "TextBox.h"

#include <algorithm>

#include "AnsiText.h"

namespace kelbrin::win32 {

std::wstring WindowsLines(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            lines += '\r';
        }
        lines += text[i];
    }
    return Widen(lines);
}

void GiveTextBoxFont(HWND box, const form::Control& control, FontSet& fonts) {
    const form::Font& font = control.TextFont;
    const auto use = [box](HFONT handle) {
        ::SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
        // The help pages are written for 79 columns of a fixed-pitch font, which fill their
        // box but for a pixel or two: the usual margins, set anew with each font, would make
        // the box break every full line again.
        ::SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 0));
    };
    use(fonts.Get(font));
    if (!control.MultiLine || control.WrapsLines) {
        return;
    }
    // A font's advances round to whole pixels at each DPI in their own way, while the box grows
    // in proportion: at 120 DPI Courier New's characters are 9 pixels wide where the box has
    // room for 8.75, and every full line would break again.
    RECT room;
    ::SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    HDC dc = ::GetDC(box);
    HGDIOBJ previous = ::SelectObject(dc, fonts.Get(font));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    LONG widest = 0;
    const std::wstring text = WindowText(box);
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        // Tab stops every 8 average characters, as the box sets them.
        const DWORD extent = ::GetTabbedTextExtentW(dc, text.data() + start,
                                                    static_cast<int>(end - start), 0, nullptr);
        widest = std::max<LONG>(widest, LOWORD(extent));
        start = end + 2;
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(box, dc);
    const LONG width = room.right - room.left;
    if (widest > width) {
        use(fonts.Get(font, std::max<LONG>(1, metrics.tmAveCharWidth * width / widest)));
    }
}

} // namespace kelbrin::win32
