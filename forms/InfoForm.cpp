#include "InfoForm.h"

namespace kelbrin::form {

namespace {

Form MakeInfoForm() {
    using enum frmInfo::ControlName;
    using enum ControlKind;
    Form form;
    form.Name = "frmInfo";
    form.Caption = "ROM Information";
    form.Width = 8400;
    // Room for the whole text of a headered ROM, twenty lines, without scrolling.
    form.Height = 5700;
    form.Back = kDarkBlue;
    form.Controls = {
        {.Id = txtInfo,
         .Name = "txtInfo",
         .Kind = TextBox,
         .At = {120, 120, 8160, 4800},
         .Back = kWhite,
         .Fore = kBlack,
         .TextFont = {.Family = "Courier New", .Points = 9},
         .MultiLine = true,
         .AccessibleName = "ROM Information",
         .AccessibleDescription = "What can be told about your ROM: whether it is the one the "
                                  "patch expects, its size, header and checksums"},
        {.Id = cmdCopy,
         .Name = "cmdCopy",
         .Kind = PushButton,
         .At = {5640, 5100, 1215, 375},
         .Caption = "&Copy",
         .AccessibleDescription = "Copies this information to the clipboard"},
        {.Id = cmdClose,
         .Name = "cmdClose",
         .Kind = PushButton,
         .At = {6960, 5100, 1215, 375},
         .Caption = "Close"},
    };
    form.TabOrder = {cmdClose, cmdCopy, txtInfo};
    return form;
}

} // namespace

const Form& InfoForm() {
    static const Form form = MakeInfoForm();
    return form;
}

} // namespace kelbrin::form
