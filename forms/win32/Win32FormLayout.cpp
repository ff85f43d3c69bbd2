// A form's window laid out at a DPI: the controls placed in twips scaled to it, with their fonts
// and pictures, the labels that name text boxes clipped, and the whole in its screen's work area.

#include <algorithm>

#include "PictureControl.h"
#include "TextBox.h"
#include "Win32FormHost.h"

namespace kelbrin::win32 {

namespace {

// A window too large for its screen's work area is laid out smaller, down to this.
constexpr UINT kSmallestDpi = 48;

// Sizes `window` so that its client area is `client`, whatever its frame and menu bar take at
// its DPI. A second pass makes up for a menu bar that the first size made wrap or unwrap.
void SetClientSize(HWND window, SIZE client) {
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer;
        RECT inner;
        ::GetWindowRect(window, &outer);
        ::GetClientRect(window, &inner);
        ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + client.cx - inner.right,
                       outer.bottom - outer.top + client.cy - inner.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The place of `control` in its parent's client area.
RECT PlaceInParent(HWND control) {
    RECT place;
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

} // namespace

std::pair<HWND, HWND> Win32FormHost::LabelOf(const form::Control& box) const {
    if (!box.LabelledBy ||
        form::ControlOf(description_, *box.LabelledBy).Kind != form::ControlKind::Label) {
        return {nullptr, nullptr};
    }
    HWND label = ControlHandle(*box.LabelledBy);
    HWND boxWindow = ControlHandle(box.Id);
    if (label == nullptr || boxWindow == nullptr || ::GetParent(label) != ::GetParent(boxWindow)) {
        return {nullptr, nullptr};
    }
    return {label, boxWindow};
}

void Win32FormHost::ClipLabels() {
    for (const Child& child : children_) {
        const auto [label, box] = LabelOf(*child.Control);
        if (label == nullptr) {
            continue;
        }
        const RECT labelPlace = PlaceInParent(label);
        const RECT boxPlace = PlaceInParent(box);
        RECT overlap;
        if (!::IntersectRect(&overlap, &labelPlace, &boxPlace)) {
            ::SetWindowRgn(label, nullptr, TRUE);
            continue;
        }
        ::OffsetRect(&overlap, -labelPlace.left, -labelPlace.top);
        HRGN region = ::CreateRectRgn(0, 0, labelPlace.right - labelPlace.left,
                                      labelPlace.bottom - labelPlace.top);
        HRGN cut = ::CreateRectRgnIndirect(&overlap);
        ::CombineRgn(region, region, cut, RGN_DIFF);
        ::DeleteObject(cut);
        // The window owns the region from here on.
        ::SetWindowRgn(label, region, TRUE);
    }
}

void Win32FormHost::LayOut() {
    const auto pixels = [this](std::int32_t twips) {
        return form::ToPixels(twips, static_cast<std::int32_t>(dpi_));
    };
    for (Child& child : children_) {
        const form::Twips& at = child.Control->At;
        SIZE size{pixels(at.Width), pixels(at.Height)};
        if (child.Control->Kind == form::ControlKind::Picture) {
            HBITMAP previous = child.Picture;
            child.Picture = LoadPicture(child.Shows, dpi_);
            ::SendMessageW(child.Window, STM_SETIMAGE, IMAGE_BITMAP,
                           reinterpret_cast<LPARAM>(child.Picture));
            if (previous != nullptr) {
                ::DeleteObject(previous);
            }
            BITMAP bitmap{};
            if (::GetObjectW(child.Picture, sizeof bitmap, &bitmap) != 0) {
                size = SIZE{bitmap.bmWidth, bitmap.bmHeight};
            }
        }
        ::SetWindowPos(child.Window, nullptr, pixels(at.Left), pixels(at.Top), size.cx, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (child.Control->Kind == form::ControlKind::TextBox) {
            GiveTextBoxFont(child.Window, *child.Control, *fonts_);
        } else {
            ::SendMessageW(child.Window, WM_SETFONT,
                           reinterpret_cast<WPARAM>(fonts_->Get(child.Control->TextFont)), FALSE);
        }
    }
    ClipLabels();
    SetClientSize(window_, SIZE{pixels(description_.Width), pixels(description_.Height)});
}

void Win32FormHost::LayOutAt(UINT dpi) {
    dpi_ = dpi;
    // The controls take the new fonts before the old ones are deleted.
    auto previous = std::move(fonts_);
    fonts_ = std::make_unique<FontSet>(dpi_);
    LayOut();
}

void Win32FormHost::FitInWorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    RECT outer;
    RECT inner;
    ::GetWindowRect(window_, &outer);
    ::GetClientRect(window_, &inner);
    const LONG roomWidth = (work.right - work.left) - ((outer.right - outer.left) - inner.right);
    const LONG roomHeight = (work.bottom - work.top) - ((outer.bottom - outer.top) - inner.bottom);
    // The largest layout, up to the screen's own, whose client area the work area holds: the
    // help window at 200 % is 1040 pixels high, more than a 1080-pixel screen leaves it.
    const auto fits = [this, roomWidth, roomHeight](UINT dpi) {
        const auto pixels = [dpi](std::int32_t twips) {
            return form::ToPixels(twips, static_cast<std::int32_t>(dpi));
        };
        return pixels(description_.Width) <= roomWidth && pixels(description_.Height) <= roomHeight;
    };
    UINT dpi = screenDpi_;
    while (dpi > kSmallestDpi && !fits(dpi)) {
        --dpi;
    }
    if (dpi != dpi_) {
        LayOutAt(dpi);
    }
    // Its frame inside the work area; its top-left corner, with the title bar, whatever else.
    ::GetWindowRect(window_, &outer);
    const LONG left =
        std::max(work.left, std::min(outer.left, work.right - (outer.right - outer.left)));
    const LONG top =
        std::max(work.top, std::min(outer.top, work.bottom - (outer.bottom - outer.top)));
    if (left != outer.left || top != outer.top) {
        ::SetWindowPos(window_, nullptr, left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

} // namespace kelbrin::win32
