#include "MenuBar.h"

#include "AnsiText.h"
#include "ControlIds.h"

namespace kelbrin::win32 {

HMENU CreateMenuBar(const std::vector<form::Menu>& menus) {
    HMENU bar = ::CreateMenu();
    for (const form::Menu& menu : menus) {
        HMENU popup = ::CreatePopupMenu();
        for (const form::MenuItem& item : menu.Items) {
            if (item.Caption == "-") {
                ::AppendMenuW(popup, MF_SEPARATOR, static_cast<UINT_PTR>(CommandId(item.Id)),
                              nullptr);
                continue;
            }
            std::wstring caption = Widen(item.Caption);
            if (item.CtrlKey != 0) {
                caption += std::wstring(L"\tCtrl+") + static_cast<wchar_t>(item.CtrlKey);
            }
            ::AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(CommandId(item.Id)),
                          caption.c_str());
        }
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                      Widen(menu.Caption).c_str());
    }
    return bar;
}

HACCEL CreateAccelerators(const std::vector<form::Menu>& menus) {
    std::vector<ACCEL> keys;
    for (const form::Menu& menu : menus) {
        for (const form::MenuItem& item : menu.Items) {
            if (item.CtrlKey != 0) {
                keys.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(item.CtrlKey),
                                static_cast<WORD>(CommandId(item.Id))});
            }
        }
    }
    return keys.empty() ? nullptr
                        : ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

} // namespace kelbrin::win32
