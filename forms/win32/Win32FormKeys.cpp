// The keyboard in a form's window: its Ctrl keys, Tab by the form's tab order, Enter and
// Escape in a box, and where the focus goes when the window is activated.

#include <algorithm>

#include "Win32FormHost.h"

namespace kelbrin::win32 {

namespace {

bool CanTakeFocus(HWND control) {
    return control != nullptr && ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

bool IsChecked(HWND option) {
    return ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

} // namespace

bool Win32FormHost::TranslateKeys(MSG& message) {
    if (message.hwnd == nullptr) {
        return false;
    }
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    for (Win32FormHost* window : OpenWindows()) {
        if (window->window_ == root) {
            return window->TranslateOwnKeys(message);
        }
    }
    return false;
}

bool Win32FormHost::TranslateOwnKeys(MSG& message) {
    if (accelerators_ != nullptr &&
        ::TranslateAcceleratorW(window_, accelerators_, &message) != 0) {
        return true;
    }
    // A box over its owner closes on Escape, and on Enter, which presses a push button that has
    // the focus, as in any dialog box; the multi-line text box would keep both for itself.
    if (owner_ != nullptr && message.message == WM_KEYDOWN &&
        (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN)) {
        const Child* focused = ChildOfHandle(::GetFocus());
        if (message.wParam == VK_RETURN && focused != nullptr &&
            focused->Control->Kind == form::ControlKind::PushButton) {
            ::SendMessageW(focused->Window, BM_CLICK, 0, 0);
        } else {
            ::SendMessageW(window_, WM_CLOSE, 0, 0);
        }
        return true;
    }
    // Tab goes by the description's tab order, which need not be the stacking order that
    // dialog navigation would follow; a multi-line text box would keep Tab for itself.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        MoveFocus(::GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    return ::IsDialogMessageW(window_, &message) != FALSE;
}

void Win32FormHost::MoveFocus(int step) {
    const std::vector<form::ControlId>& order = description_.TabOrder;
    const int count = static_cast<int>(order.size());
    HWND focus = ::GetFocus();
    int at = step > 0 ? -1 : 0;
    for (int i = 0; i < count; ++i) {
        if (ControlHandle(order[static_cast<std::size_t>(i)]) == focus) {
            at = i;
        }
    }
    for (int n = 1; n <= count; ++n) {
        const int next = ((at + n * step) % count + count) % count;
        HWND control = ControlHandle(order[static_cast<std::size_t>(next)]);
        if (CanTakeFocus(control) && StopsTab(control)) {
            ::SetFocus(control);
            // As in a dialog box: the text of a box reached by Tab is selected, and focus
            // rectangles show from now on.
            if ((::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
                ::SendMessageW(control, EM_SETSEL, 0, -1);
            }
            ::SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
            return;
        }
    }
}

HWND Win32FormHost::FocusOnActivation() const {
    if (::IsWindow(lastFocus_) && ::IsChild(window_, lastFocus_) && CanTakeFocus(lastFocus_)) {
        return lastFocus_;
    }
    for (const form::ControlId id : description_.TabOrder) {
        if (HWND control = ControlHandle(id); CanTakeFocus(control) && StopsTab(control)) {
            return control;
        }
    }
    return window_;
}

bool Win32FormHost::StopsTab(HWND control) const {
    // Of a group of option buttons Tab stops on the one checked, and the arrow keys move
    // between them; on every one while none is checked.
    const Child* child = ChildOfHandle(control);
    if (child == nullptr || child->Control->Kind != form::ControlKind::OptionButton ||
        IsChecked(control)) {
        return true;
    }
    return std::ranges::none_of(children_, [child](const Child& other) {
        return other.Control->Kind == form::ControlKind::OptionButton &&
               other.Control->Parent == child->Control->Parent && IsChecked(other.Window);
    });
}

} // namespace kelbrin::win32
