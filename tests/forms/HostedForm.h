#pragma once

// What the conformance suite (HostConformanceTest.cpp) asks of a toolkit's host: a form shown
// by it, driven and read as a person would. Each toolkit's tests give a driver (QtDriver.cpp,
// tests/win32/Win32Harness.cpp) that defines ShowForm.

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

// A message box as a person saw it; its lines end in LF.
struct SeenMessageBox {
    std::string Title;
    std::string Text;
    // "stop", "question" or empty.
    std::string Icon;
    // Without access keys; " with an icon" after one that shows one.
    std::vector<std::string> Buttons;
    // The button that Enter presses.
    std::string Default;
    // It was shown over the window that asked for it.
    bool OverItsWindow = false;
};

// What a person saw while a form was shown modally over another.
struct SeenModal {
    // The form's window came up, over its owner, which took no input meanwhile.
    bool Shown = false;
    bool OverItsOwner = false;
    bool OwnerLocked = false;
    // And took input again once the form was closed.
    bool OwnerFreedAfter = false;
};

// What a screen reader heard of a control: its name changing, what it announced wherever the
// focus was, and the name it gives the control now.
struct Heard {
    bool NameChanged = false;
    std::vector<std::string> Announced;
    std::string Name;
};

// A rectangle in pixels.
struct PixelBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const PixelBox&) const = default;
};

// A control's font as asked for, and the family the system draws it in.
struct ShownFont {
    std::string Family;
    // Where the toolkit asks in pixels, converted at the window's DPI.
    double Points = 0;
    bool Bold = false;
    std::string Resolved;
};

class HostedForm {
public:
    virtual ~HostedForm() = default;
    virtual const form::Form& Form() = 0;
    virtual RecordedEvents& Events() = 0;
    virtual FormPort& Port() = 0;
    virtual kelbrin::Desktop& TheDesktop() = 0;

    // A left click on the control; the item chosen from its menu, found there by its place.
    virtual void Click(form::ControlId control) = 0;
    virtual void Choose(form::MenuId item) = 0;
    virtual void PressCtrl(char key) = 0;
    // Tab or the down arrow, as a person presses it where the focus is; the control that has the
    // focus (nothing: none of the form's), and giving it to one.
    virtual void PressTab() = 0;
    virtual void PressDown() = 0;
    virtual std::optional<form::ControlId> Focus() = 0;
    virtual void FocusOn(form::ControlId control) = 0;
    virtual void CloseBox() = 0;
    // A file dropped from the file manager; whether the window took it.
    virtual bool Drop(const std::string& path) = 0;

    // A control's caption or text as it shows, in UTF-8, its lines ending in LF.
    virtual std::string Shown(form::ControlId control) = 0;
    virtual bool IsVisible(form::ControlId control) = 0;
    virtual bool IsEnabled(form::ControlId control) = 0;
    virtual bool IsEnabled(form::MenuId item) = 0;
    virtual std::string Title() = 0;
    // The client area's size in pixels; whether the window stays in front of another.
    virtual std::pair<int, int> ClientSize() = 0;
    virtual bool HasOwner() = 0;
    // A control's place in its parent, and that parent (nothing: the client area).
    virtual PixelBox Place(form::ControlId control) = 0;
    virtual std::optional<form::ControlId> ParentOf(form::ControlId control) = 0;
    virtual ShownFont FontOf(form::ControlId control, int dpi) = 0;
    // The font of a control that names none.
    virtual form::Font DefaultFont() = 0;
    virtual form::TextAlign Alignment(form::ControlId label) = 0;
    virtual bool IsChecked(form::ControlId option) = 0;
    virtual bool IsEditable(form::ControlId textBox) = 0;
    // The label a screen reader names the control by (nothing: none), and what it hears of the
    // control while `act` runs.
    virtual std::optional<form::ControlId> LabelOf(form::ControlId control) = 0;
    virtual Heard HearDuring(form::ControlId control, const std::function<void()>& act) = 0;
    // A picture control's size in pixels.
    virtual std::pair<int, int> PictureSize(form::ControlId control) = 0;
    // The menu bar's captions, and each menu's items: the caption, "\tCtrl+K" after it for a
    // Ctrl key, "-" for a separator.
    // No menu bar: nothing.
    virtual std::vector<std::string> MenuBar() = 0;
    virtual std::vector<std::string> MenuItems(std::size_t menu) = 0;
    // The desktop's message box over this window, closed at once with OK.
    virtual SeenMessageBox ShowMessageBox(const std::string& message, const std::string& title,
                                          MessageBoxIcon icon) = 0;
    // The desktop's question over this window, answered; what it returned.
    virtual std::pair<bool, SeenMessageBox> Ask(const std::string& question,
                                                const std::string& title, bool yes) = 0;
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
    // The form's control that lies on top at a point of the client area (nothing: none).
    virtual std::optional<form::ControlId> TopAt(Point at) = 0;
    // A point of the client area where the control lies on top and none of its own controls
    // covers it, halfway down near its right or its left end, clear of its caption and edges (a
    // text box's: left of its scroll bar).
    virtual std::optional<Point> PointOnTop(form::ControlId control) = 0;
    // The colour of a picture control's own image at a point of the client area.
    virtual form::Colour PictureAt(form::ControlId control, Point at) = 0;
};

// Shoots the window into `file` and checks that its colour shows where no control lies and, for
// every visible control with a colour of its own or a picture, that its colour or its image
// shows where it lies on top: a colour that reaches
// no pixel would pass every other test and still look wrong. How many controls were probed.
int ExpectColoursShown(HostedForm& on, const std::string& file);

// The window shows every control of its form where the form places it on a screen of `dpi`
// dots per inch, in its parent, with its caption (or text), its font and its state at the start.
void ExpectPlacedAsDescribed(HostedForm& on, int dpi = 96);

// `form` drawn by the toolkit's host and shown, its events written down.
std::unique_ptr<HostedForm> ShowForm(const form::Form& form);

} // namespace kelbrin::test
