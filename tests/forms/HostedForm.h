#pragma once

// What the conformance suite (HostConformanceTest.cpp) asks of a toolkit's host: a form shown
// by it, driven and read as a person would. Each toolkit's tests give a driver (FormOn, in
// WindowHarness.h and tests/win32/Win32Harness.h) and ShowForm, which makes one.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Desktop.h"
#include "FormDescription.h"
#include "FormPort.h"
#include "RecordedEvents.h"

namespace kelbrin::test {

// A pixel's place, in the client area.
struct Point {
    int X = 0;
    int Y = 0;
};

// A rectangle in pixels.
struct PixelBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const PixelBox&) const = default;
};

// A control as the window shows it.
struct ControlState {
    // Its caption or text, in UTF-8, its lines ending in LF.
    std::string Text;
    bool Visible = false;
    bool Enabled = false;
    // Its place in its parent, and that parent (nothing: the client area).
    PixelBox Place;
    std::optional<form::ControlId> Parent;
    // Its font as asked for (its height in the window's pixels), and the family drawn.
    std::string Family;
    double Pixels = 0;
    bool Bold = false;
    std::string Resolved;
    // A label's alignment, an option button's check, a text box's being editable.
    form::TextAlign Align = form::TextAlign::Centre;
    bool Checked = false;
    bool Editable = false;
    // The label a screen reader names it by (nothing: none); a picture's image size.
    std::optional<form::ControlId> Label{};
    std::pair<int, int> Image{};
};

// The window as shown.
struct WindowState {
    std::string Title;
    // The client area's size in pixels; whether the window stays in front of another.
    std::pair<int, int> Client;
    bool Owned = false;
    // The control that has the focus (nothing: none of the form's).
    std::optional<form::ControlId> Focus;
    // The menu bar's captions (none: no menu bar), and each menu's items: the caption,
    // "\tCtrl+K" after it for a Ctrl key, "-" for a separator.
    std::vector<std::string> MenuBar{};
    std::vector<std::vector<std::string>> Menus{};
};

// A message box as a person saw it; its lines end in LF.
struct SeenMessageBox {
    std::string Title;
    // A folder dialog's: the folder it opened at.
    std::string Text;
    // "stop", "question" or empty.
    std::string Icon;
    // Without access keys; " with an icon" after one that shows one; the one Enter presses.
    std::vector<std::string> Buttons;
    std::string Default;
    // It was shown over the window that asked for it.
    bool OverItsWindow = false;
};

// What a person saw while a form was shown modally over another: its window came up, over its
// owner, which took no input meanwhile, and took input again once the form was closed.
struct SeenModal {
    bool Shown = false;
    bool OverItsOwner = false;
    bool OwnerLocked = false;
    bool OwnerFreedAfter = false;
};

// What a screen reader heard of a control: its name changing, what it announced wherever the
// focus was, and the name it gives the control now.
struct Heard {
    bool NameChanged = false;
    std::vector<std::string> Announced;
    std::string Name;
};

class HostedForm {
public:
    virtual ~HostedForm() = default;
    // What the window tells its form, and the window as the form's handlers reach it.
    RecordedEvents Events;
    std::unique_ptr<FormPort> Port;
    const form::Form& Form() const { return *Events.Form; }
    virtual kelbrin::Desktop& TheDesktop() = 0;

    // A left click on the control; the item chosen from its menu, found there by its place.
    virtual void Click(form::ControlId control) = 0;
    virtual void Choose(form::MenuId item) = 0;
    // Ctrl and a key, Tab or the down arrow, as a person presses them where the focus is; the
    // focus given to a control.
    virtual void PressCtrl(char key) = 0;
    virtual void PressTab() = 0;
    virtual void PressDown() = 0;
    virtual void FocusOn(form::ControlId control) = 0;
    virtual void CloseBox() = 0;
    // A file dropped from the file manager; whether the window took it.
    virtual bool Drop(const std::string& path) = 0;

    virtual ControlState StateOf(form::ControlId control) = 0;
    virtual WindowState State() = 0;
    // The font of a control that names none.
    virtual form::Font DefaultFont() = 0;
    virtual bool IsEnabled(form::MenuId item) = 0;
    // What a screen reader hears of the control while `act` runs.
    virtual Heard HearDuring(form::ControlId control, const std::function<void()>& act) = 0;
    // Every message box over the window is closed as soon as it is up, with OK, or a question
    // with Yes or No as told last. The desktop's message box, shown over this window (where a
    // style would put icons on its buttons); the boxes closed since the last call.
    virtual void AnswerQuestions(bool yes) = 0;
    virtual void ShowMessageBox(const std::string& message, const std::string& title,
                                MessageBoxIcon icon) = 0;
    virtual std::vector<SeenMessageBox> TakeBoxes() = 0;
    // `modal`, a window of `form` owned by this one, shown modally and closed with `button` as
    // soon as it is up.
    virtual SeenModal ShowModal(FormPort& modal, const form::Form& form,
                                form::ControlId button) = 0;
    // The clipboard's text in UTF-8, and the line end of the system's texts.
    virtual std::string Clipboard() = 0;
    virtual std::string_view LineEnd() = 0;

    // The window's pixels as shown, saved as the PNG `file` for a person to look at; the shot's
    // colour at a point of the client area.
    virtual void Shoot(const std::string& file) = 0;
    virtual form::Colour ShotAt(Point at) = 0;
    // The shot's pixels inside the control, kMargin pixels clear of its edges (a button's
    // border and focus mark) and of a text box's border and scroll bars, row by row.
    static constexpr int kMargin = 4;
    virtual std::vector<form::Colour> ShotInside(form::ControlId control) = 0;
    // The form's control that lies on top at a point of the client area (nothing: none).
    virtual std::optional<form::ControlId> TopAt(Point at) = 0;
    // A point of the client area where the control lies on top and none of its own controls
    // covers it, halfway down near its right or its left end, clear of its caption and edges (a
    // text box's: left of its scroll bar).
    virtual std::optional<Point> PointOnTop(form::ControlId control) = 0;
    // The colour of a picture control's own image at a point of the client area.
    virtual form::Colour PictureAt(form::ControlId control, Point at) = 0;
};

// While it lives, the desktop's theme is a dark one, light text on dark surfaces, as a person
// may choose it: for Qt a dark palette, on Windows a high-contrast theme.
class DarkTheme {
public:
    DarkTheme();
    ~DarkTheme();
    DarkTheme(const DarkTheme&) = delete;
    DarkTheme& operator=(const DarkTheme&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved_;
};

// Shoots the window into `file` and checks that its colour shows where no control lies and, for
// every visible control with a colour of its own or a picture, that its colour or its image
// shows where it lies on top: a colour that reaches no pixel would pass every other test and
// still look wrong. How many controls were probed.
int ExpectColoursShown(HostedForm& on, const std::string& file);

// The window shows every control of its form where the form places it on a screen of `dpi`
// dots per inch, in its parent, with its caption (or text), its font and its state at the start.
void ExpectPlacedAsDescribed(HostedForm& on, int dpi = 96);

// `form` drawn by the toolkit's host and shown, its events written down.
std::unique_ptr<HostedForm> ShowForm(const form::Form& form);

} // namespace kelbrin::test
