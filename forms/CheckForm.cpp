#include "CheckForm.h"

namespace kelbrin::form {

namespace {

Form MakeCheckForm() {
    using enum frmCheck::ControlName;
    using enum ControlKind;
    const Font reportFont{.Family = "Courier New", .Points = 9};
    Form form;
    form.Name = "frmCheck";
    form.Caption = "Check Script";
    form.Width = 10800;
    form.Height = 8160;
    form.Back = kDarkBlue;
    form.Controls = {
        // The verdict, the notes and how each button's run would end: about nine lines before
        // it scrolls.
        {.Id = txtCheck,
         .Name = "txtCheck",
         .Kind = TextBox,
         .At = {120, 120, 10560, 2160},
         .Back = kWhite,
         .Fore = kBlack,
         .TextFont = reportFont,
         .MultiLine = true,
         .WrapsLines = true,
         .AccessibleName = "Script check",
         .AccessibleDescription = "Whether the script is fit to ship, notes on it, and how each "
                                  "button's run would end"},
        // The image as a strip, beside its rows: both read from the top down in address order.
        {.Id = picLayout,
         .Name = "picLayout",
         .Kind = Drawing,
         .At = {120, 2400, 3960, 5160},
         .Back = kWhite,
         .Fore = kBlack,
         .TextFont = {.Family = "Courier New", .Points = 8},
         .AccessibleName = "Layout strip",
         .AccessibleDescription = "The expanded image drawn as a strip from its first address "
                                  "down: the copied, filled and replaced parts in their colours, "
                                  "as the rows beside it list them"},
        {.Id = txtLayout,
         .Name = "txtLayout",
         .Kind = TextBox,
         .At = {4200, 2400, 6480, 5160},
         .Back = kWhite,
         .Fore = kBlack,
         .TextFont = reportFont,
         .MultiLine = true,
         .WrapsLines = true,
         .AccessibleName = "Layout rows",
         .AccessibleDescription = "The expanded image's parts in address order"},
        {.Id = cmdCheckAgain,
         .Name = "cmdCheckAgain",
         .Kind = PushButton,
         .At = {7860, 7680, 1455, 375},
         .Caption = "Check &Again"},
        {.Id = cmdCheckClose,
         .Name = "cmdCheckClose",
         .Kind = PushButton,
         .At = {9435, 7680, 1245, 375},
         .Caption = "Close"},
    };
    // The verdict, on the report's first line, has the focus first: a screen reader reads it.
    form.TabOrder = {txtCheck, txtLayout, cmdCheckAgain, cmdCheckClose};
    return form;
}

} // namespace

const Form& CheckForm() {
    static const Form form = MakeCheckForm();
    return form;
}

} // namespace kelbrin::form
