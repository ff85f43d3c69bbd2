#include "ControlWindow.h"

#include <uxtheme.h>

#include "AnsiText.h"
#include "ControlIds.h"
#include "DrawingControl.h"
#include "FrameControl.h"

namespace kelbrin::win32 {

HWND CreateControlWindow(const form::Control& control, HWND parent, bool tabStop) {
    using enum form::ControlKind;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (control.Visible ? WS_VISIBLE : 0) |
                  (tabStop ? WS_TABSTOP : 0) | (control.Kind == OptionButton ? 0 : WS_GROUP);
    DWORD exStyle = 0;
    const wchar_t* windowClass = L"STATIC";
    switch (control.Kind) {
    case Frame:
        windowClass = FrameClass();
        style |= WS_CLIPCHILDREN;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case TextBox:
        windowClass = L"EDIT";
        style |= (control.Editable ? 0 : ES_READONLY) |
                 (control.MultiLine ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case PushButton:
        windowClass = L"BUTTON";
        // A themed button ignores any colour but the theme's.
        style |= control.Back ? BS_OWNERDRAW : BS_PUSHBUTTON;
        break;
    case OptionButton:
        windowClass = L"BUTTON";
        style |= BS_AUTORADIOBUTTON;
        break;
    case Label:
        style |= SS_NOPREFIX | (control.Align == form::TextAlign::Left    ? SS_LEFT
                                : control.Align == form::TextAlign::Right ? SS_RIGHT
                                                                          : SS_CENTER);
        break;
    case Picture: style |= SS_BITMAP; break;
    case Shape:
        // An empty static fills itself with the brush its colour message returns.
        break;
    case Drawing: windowClass = DrawingClass(); break;
    }
    HWND window = ::CreateWindowExW(
        exStyle, windowClass, control.Kind == TextBox ? L"" : Widen(control.Caption).c_str(), style,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ChildId(control.Id))),
        ::GetModuleHandleW(nullptr), nullptr);
    // A themed option button draws its caption in the theme's colour, not in its own.
    if (control.Kind == OptionButton && control.Fore) {
        ::SetWindowTheme(window, L"", L"");
    }
    if (control.Selected) {
        ::SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
    }
    return window;
}

} // namespace kelbrin::win32
