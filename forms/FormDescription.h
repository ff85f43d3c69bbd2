#pragma once

// The windows as data, free of any toolkit: every control with its place in twips, caption,
// colours, font, visibility and tab order, and the menus. The Qt and the Win32 front ends both
// render these tables, so each window is laid out once. Each form's own table lies in a file of
// its own (KelbrinForm.h, ...), with the enums that name its controls and menu items.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelbrin::form {

// 1/1440 inch; 15 twips are one pixel at 96 dots per inch.
struct Twips {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    bool operator==(const Twips&) const = default;
};

// The nearest whole pixel of `twips` on a screen of `dpi` dots per inch.
constexpr std::int32_t ToPixels(std::int32_t twips, std::int32_t dpi = 96) {
    return (twips * dpi + 720) / 1440;
}

struct Colour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    bool operator==(const Colour&) const = default;
};

// A font asked for by name; the system substitutes a look-alike where it has none. An empty
// family is the system's default font for controls.
struct Font {
    std::string_view Family{};
    double Points = 0;
    bool Bold = false;
};

enum class ControlKind {
    Frame,        // a container with the standard frame border; its children lie inside it
    TextBox,      // its text can be selected and copied, and edited only when it is Editable
    PushButton,   // its face filled with its back colour, when it has one
    Label,        // text across as aligned, kept at the top; transparent without a back colour
    OptionButton, // one of a group, as in the control array
    Picture,      // a bitmap at its natural size, its top-left corner at the control's place
    Shape,        // a filled rectangle without a border: decoration, see IsDecoration
    Drawing,      // rectangles and short texts that its form's handlers compute (form::Drawing),
                  // a picture to screen readers, which name and describe it from its control
};

// Where a text lies across its box.
enum class TextAlign { Centre, Left, Right };

// Labels, pictures and shapes are drawn on their parent's surface: every other kind of control
// lies above them, whatever the order of definition. Among each group, a later control lies
// above an earlier one.
constexpr bool IsDrawnOnParent(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Picture || kind == ControlKind::Shape;
}

// Shown to the eye only: screen readers neither name it nor find it.
constexpr bool IsDecoration(ControlKind kind) {
    return kind == ControlKind::Shape;
}

// Marks the enum that names one form's controls (see ControlId), and the one that names its
// menus and their items (see MenuId): each form declares both beside its description.
template <typename Named> inline constexpr bool kNamesControls = false;
template <typename Named> inline constexpr bool kNamesMenuItems = false;

// One control of a form: its place in the form's table of controls (Form::Controls). Each form
// names its controls in an enum of its own, in the order of that table, with the names the form
// gives them ("cmdExpand0" for member 0 of a control array); a name converts to its id. The port
// and the toolkits' hosts take the controls of any form this way, knowing none of the names.
class ControlId {
public:
    template <typename Named>
    requires kNamesControls<Named>
    constexpr ControlId(Named named) : index_(static_cast<int>(named)) {}
    constexpr int Index() const noexcept { return index_; }
    // The name of the control in the enum of the form it belongs to.
    template <typename Named>
    requires kNamesControls<Named>
    constexpr Named As() const noexcept { return static_cast<Named>(index_); }
    constexpr bool operator==(const ControlId&) const = default;
    // Written out, not defaulted: clang-tidy 14 reads the defaulted one's test against 0 as a
    // null pointer.
    constexpr std::strong_ordering operator<=>(const ControlId& other) const {
        return index_ <=> other.index_;
    }

private:
    int index_;
};

// One menu or menu item of a form: its place among the form's menus, each followed by its
// items, in order. Each form names them in an enum of its own, as ControlId has it.
class MenuId {
public:
    template <typename Named>
    requires kNamesMenuItems<Named>
    constexpr MenuId(Named named) : index_(static_cast<int>(named)) {}
    constexpr int Index() const noexcept { return index_; }
    template <typename Named>
    requires kNamesMenuItems<Named>
    constexpr Named As() const noexcept { return static_cast<Named>(index_); }
    constexpr bool operator==(const MenuId&) const = default;
    // Written out as ControlId's is.
    constexpr std::strong_ordering operator<=>(const MenuId& other) const {
        return index_ <=> other.index_;
    }

private:
    int index_;
};

enum class Picture { None, SampleExpanded, SampleOriginal };

struct Control {
    // Its place in its form's table.
    ControlId Id;
    // As the form names it: "cmdExpand(0)" for a member of a control array.
    std::string_view Name{};
    ControlKind Kind = ControlKind::Label;
    // The frame it lies in; nothing: the window itself.
    std::optional<ControlId> Parent{};
    Twips At{};
    // What it shows at the start: a caption, or a text box's text.
    std::string_view Caption{};
    bool Visible = true;
    // Nothing: the system's colour, or for a label a transparent background.
    std::optional<Colour> Back{};
    std::optional<Colour> Fore{};
    Font TextFont{};
    // A text box with many lines and a vertical scroll bar.
    bool MultiLine = false;
    // Such a box breaks a line longer than its width at a blank; without it, a line keeps to
    // its own breaks and the box scrolls across where the toolkit lets it (the system's
    // multi-line edit box on Windows always breaks long lines: there its font narrows until
    // the widest line fits).
    bool WrapsLines = false;
    // A text box whose text the user may change; others can only be selected and copied.
    bool Editable = false;
    // A text box that holds a file's path: its text is set and read as the file layer names
    // files (UTF-8 on Windows, where other texts are the ANSI code page), so that a path typed
    // or pasted there reaches the file whatever its name.
    bool HoldsPath = false;
    // A label's caption across its box.
    TextAlign Align = TextAlign::Centre;
    form::Picture Shows = form::Picture::None;
    // The option button of its group that is chosen at the start.
    bool Selected = false;
    // What a screen reader calls it where its caption does not say (see SpokenName): a name of
    // its own, or the label that names it; and what it is for, where the name leaves that open.
    std::string_view AccessibleName{};
    std::optional<ControlId> LabelledBy{};
    std::string_view AccessibleDescription{};
    // A label that is its window's status line: screen readers know it as one, and say what
    // its form announces in it (FormPort::Announce) wherever the focus is.
    bool StatusLine = false;
};

// Black: the text of a control that has a back colour of its own but no text colour. The
// system's text colour would follow the theme over a background that does not, and a dark or
// high-contrast theme would write white on white.
inline constexpr Colour kFixedText{0, 0, 0};
// The caption of such a control while it is disabled: grey on any of the light faces the forms
// give their buttons, where the theme's grey may be as light as the face.
inline constexpr Colour kFixedGreyText{128, 128, 128};

// The colour the control's text is drawn in: its own, else black over a back colour of its
// own; nothing: the system's.
std::optional<Colour> TextColour(const Control& control);

// A menu item; the caption "-" makes a separator, "&" marks the access key of the next letter.
struct MenuItem {
    MenuId Id;
    std::string_view Name;
    std::string_view Caption;
    // A key that chooses the item together with Ctrl, from anywhere in the window; 0 for none.
    char CtrlKey = 0;
};

// A menu of the menu bar.
struct Menu {
    MenuId Id;
    std::string_view Name;
    std::string_view Caption;
    std::vector<MenuItem> Items;
};

struct Form {
    std::string_view Name;
    std::string_view Caption;
    // The client area, under the menu bar; nothing re-lays out the controls, so it is fixed.
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    Colour Back;
    // In the order of the window's definition, which is the order of the enum that names them:
    // each control's id is its place here.
    std::vector<Control> Controls;
    // The controls that take the focus, in the order Tab visits them; the first has it at the
    // start.
    std::vector<ControlId> TabOrder;
    std::vector<Menu> Menus;
};

// The control of `form` with this id, and its menu item.
const Control& ControlOf(const Form& form, ControlId id);
const MenuItem& MenuItemOf(const Form& form, MenuId id);

// The name a screen reader gives `control` of `form`: its accessible name, else the caption of
// the control that labels it (without an access key's "&" or a closing colon); empty: its own
// caption as it shows now, which the toolkits report.
std::string SpokenName(const Form& form, const Control& control);

// The controls of `form` that lie in `parent` (nothing: on the window itself), in the order to
// create them so that each lies above the ones before: those drawn on the parent first, then the
// others, each group in the order of definition.
std::vector<const Control*> StackingOrder(const Form& form, std::optional<ControlId> parent);

// Colours that the forms share.
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
// The background of the boxes and the help window.
inline constexpr Colour kDarkBlue{0, 0, 192};

// A message box shows at most this many characters of its message, then " \u2026". A message may
// quote a script line of megabytes; a box that size could neither be laid out nor read.
inline constexpr std::size_t kLongestBoxText = 2000;

} // namespace kelbrin::form
