#include "ApplyPatchForm.h"

namespace kelbrin::form {

namespace {

Form MakeApplyPatchForm() {
    using enum frmApplyPatch::ControlName;
    using enum ControlKind;
    const auto name = [](ControlId id, std::string_view controlName, std::int32_t top,
                         std::string_view caption) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = Label,
                       .At = {120, top, 6840, 255},
                       .Caption = caption,
                       .Fore = kWhite,
                       .Align = TextAlign::Left};
    };
    const auto path = [](ControlId id, std::string_view controlName, std::int32_t top,
                         ControlId label) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = TextBox,
                       .At = {120, top, 6840, 315},
                       .Back = kWhite,
                       .Fore = kBlack,
                       .Editable = true,
                       .HoldsPath = true,
                       .LabelledBy = label};
    };
    const auto choose = [](ControlId id, std::string_view controlName, std::int32_t top,
                           std::string_view caption) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = PushButton,
                       .At = {7080, top, 1200, 375},
                       .Caption = caption};
    };
    const auto option = [](ControlId id, std::string_view controlName, std::int32_t top,
                           std::string_view caption, bool selected) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = OptionButton,
                       .At = {120, top, 6840, 255},
                       .Caption = caption,
                       .Back = kDarkBlue,
                       .Fore = kWhite,
                       .Selected = selected};
    };
    Form form;
    form.Name = "frmApplyPatch";
    form.Caption = "Apply Patch";
    form.Width = 8400;
    form.Height = 4200;
    form.Back = kDarkBlue;
    form.Controls = {
        name(lblPatch, "lblPatch", 120, "The patch (IPS, BPS or UPS):"),
        path(txtPatch, "txtPatch", 420, lblPatch),
        choose(cmdPatch, "cmdPatch", 390, "&Patch..."),
        name(lblRom, "lblRom", 900, "The ROM it patches:"),
        path(txtRom, "txtRom", 1200, lblRom),
        choose(cmdRom, "cmdRom", 1170, "R&OM..."),
        name(lblOutput, "lblOutput", 1680, "The patched ROM goes to:"),
        path(txtOutput, "txtOutput", 1980, lblOutput),
        choose(cmdOutput, "cmdOutput", 1950, "&Folder..."),
        option(optKeep, "optKeep", 2460, "&Keep a file that is there already", true),
        option(optReplace, "optReplace", 2760, kReplaceCaption, false),
        {.Id = lblStatus,
         .Name = "lblStatus",
         .Kind = Label,
         .At = {120, 3120, 8160, 480},
         .Fore = kWhite,
         .Align = TextAlign::Left,
         .AccessibleDescription = "Status line",
         .StatusLine = true},
        {.Id = cmdApply,
         .Name = "cmdApply",
         .Kind = PushButton,
         .At = {5640, 3705, 1320, 375},
         .Caption = "&Apply"},
        {.Id = cmdClose,
         .Name = "cmdClose",
         .Kind = PushButton,
         .At = {7080, 3705, 1200, 375},
         .Caption = "Close"},
    };
    form.TabOrder = {txtPatch,  cmdPatch, txtRom,     cmdRom,   txtOutput,
                     cmdOutput, optKeep,  optReplace, cmdApply, cmdClose};
    return form;
}

} // namespace

const Form& ApplyPatchForm() {
    static const Form form = MakeApplyPatchForm();
    return form;
}

} // namespace kelbrin::form
