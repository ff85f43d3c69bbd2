#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>
// The drag and drop header needs the types of windows.h.
#include <shellapi.h>

#include "FontSet.h"
#include "FormDescription.h"
#include "FormEvents.h"
#include "FormPort.h"

namespace kelbrin::win32 {

class ScreenReaderAnnotations;

// Any form as a window of the system's own controls: drawn from its description (the controls
// in their stacking order with their captions, colours and fonts, placed in twips scaled to the
// DPI of the screen the window is on, also after it moves to another, and smaller where the
// screen's work area could not hold it; the menus and their Ctrl keys), each push button, option
// button and menu item handed to the form's events, and the port its handlers act on. Tab
// follows the description's tab order. The controls carry what screen readers tell of them. The
// process ends when the last such window has been closed.
class Win32FormHost final : public FormPort {
public:
    // With an `owner` the window stays in front of it, and ShowModal locks it meanwhile.
    Win32FormHost(const form::Form& description, FormEvents& events, Win32FormHost* owner);
    ~Win32FormHost() override;
    Win32FormHost(const Win32FormHost&) = delete;
    Win32FormHost& operator=(const Win32FormHost&) = delete;

    HWND Handle() const noexcept { return window_; }
    HWND ControlHandle(form::ControlId id) const;

    // Gives `message` to the open form window it is meant for, for keyboard handling before
    // it is dispatched: the window's Ctrl keys, Tab, dialog navigation. Returns whether that
    // window used it.
    static bool TranslateKeys(MSG& message);

    void SetCaption(form::ControlId control, const std::string& caption) override;
    void Announce(form::ControlId control, const std::string& caption) override;
    std::string Caption(form::ControlId control) const override;
    void SetText(form::ControlId control, const std::string& text) override;
    std::string Text(form::ControlId control) const override;
    void SetEnabled(form::ControlId control, bool enabled) override;
    void SetEnabled(form::MenuId item, bool enabled) override;
    void SetVisible(form::ControlId control, bool visible) override;
    void SetFocus(form::ControlId control) override;
    void SetPicture(form::ControlId control, form::Picture picture) override;
    void SetDrawing(form::ControlId control, const form::Drawing& drawing) override;
    void SetTitleName(const std::string& name) override;
    void SetPathTip(form::ControlId control, const std::string& path) override;
    void TakeDrops(bool take) override;
    void Show() override;
    void ShowModal() override;
    void Close() override;
    bool IsOpen() const override;

private:
    struct Child {
        const form::Control* Control;
        HWND Window;
        form::Picture Shows;
        HBITMAP Picture;
    };
    // The form windows of the process that are open, for their keyboard handling.
    static std::vector<Win32FormHost*>& OpenWindows();
    static LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A button was pressed, or (`fromMenu`) a menu item or its Ctrl key chosen.
    void OnCommand(int id, bool fromMenu);
    bool TranslateOwnKeys(MSG& message);
    void CreateChildren(std::optional<form::ControlId> parent, HWND parentWindow);
    // The label that names `box` and the box, when both lie on one parent; else nothing.
    std::pair<HWND, HWND> LabelOf(const form::Control& box) const;
    // A label lies just above the box it names, but the box shows where they overlap.
    void ClipLabels();
    void LayOut();
    void LayOutAt(UINT dpi);
    // Lays the window out smaller where the work area of its screen cannot hold it, and moves
    // it into the work area.
    void FitInWorkArea();
    void Forget();
    Child* ChildOf(form::ControlId id);
    const Child* ChildOfHandle(HWND window) const;
    std::optional<LRESULT> Colour(HDC dc, HWND control);
    HBRUSH Brush(form::Colour colour);
    void MoveFocus(int step);
    HWND FocusOnActivation() const;
    bool StopsTab(HWND control) const;

    const form::Form& description_;
    FormEvents& events_;
    const HWND owner_;
    HWND window_ = nullptr;
    bool closing_ = false;
    // The DPI of the layout, and of the screen the window is on.
    UINT dpi_ = 96;
    UINT screenDpi_ = 96;
    std::vector<Child> children_;
    std::unique_ptr<FontSet> fonts_;
    std::unique_ptr<ScreenReaderAnnotations> annotations_;
    std::map<COLORREF, HBRUSH> brushes_;
    HACCEL accelerators_ = nullptr;
    // Shows a path over a control; made with the first.
    HWND pathTip_ = nullptr;
    std::vector<HWND> tipped_;
    HWND lastFocus_ = nullptr;
};

} // namespace kelbrin::win32
