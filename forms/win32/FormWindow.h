#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>
#include <windows.h>
// The drag and drop header needs the types of windows.h.
#include <shellapi.h>

#include "FontSet.h"
#include "FormDescription.h"

namespace kelbrin::win32 {

// A top-level window drawn from its description: the controls in their stacking order with
// their captions, colours and fonts, placed in twips scaled to the DPI of the screen the
// window is on, also after it moves to another; Tab follows the description's tab order. The
// process ends when the last such window has been closed.
class FormWindow {
public:
    explicit FormWindow(const form::Form& form) : form_(form) {}
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND Handle() const noexcept { return window_; }
    bool IsOpen() const noexcept { return window_ != nullptr; }
    HWND ControlHandle(form::ControlId id) const;
    void Show();
    void Close();

    // Gives `message` to the open form window it is meant for, for keyboard handling before
    // it is dispatched: Tab, the window's accelerators, dialog navigation. Returns whether that
    // window used it.
    static bool TranslateKeys(MSG& message);

protected:
    // Creates the window, hidden, with its controls and `menu` (none: nullptr), owned by `owner`
    // (none: nullptr), which it then stays in front of.
    void Create(HMENU menu, HWND owner = nullptr);
    virtual bool TranslateOwnKeys(MSG& message);
    // A button was pressed, or a menu item or accelerator chosen.
    virtual void OnCommand(int id) = 0;
    // The close box; returns whether the window may go.
    virtual bool OnClose() { return true; }
    // Files dropped on a window that accepts them (DragAcceptFiles).
    virtual void OnDropFiles(HDROP) {}
    const form::Form& Description() const noexcept { return form_; }
    const form::Control* ControlWithChildId(int id) const;

private:
    struct Child {
        const form::Control* Control;
        HWND Window;
        HBITMAP Picture;
    };
    static LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateChildren(form::ControlId parent, HWND parentWindow);
    void LayOut();
    void Forget();
    const Child* ChildOfHandle(HWND window) const;
    std::optional<LRESULT> Colour(HDC dc, HWND control);
    HBRUSH Brush(form::Colour colour);
    void MoveFocus(int step);
    HWND FocusOnActivation() const;

    const form::Form& form_;
    HWND window_ = nullptr;
    bool closing_ = false;
    UINT dpi_ = 96;
    std::vector<Child> children_;
    std::unique_ptr<FontSet> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
    HWND lastFocus_ = nullptr;
};

} // namespace kelbrin::win32
