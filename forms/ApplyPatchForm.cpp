#include "ApplyPatchForm.h"

#include "FileDialogRows.h"

namespace kelbrin::form {

namespace {

Form MakeApplyPatchForm() {
    using enum frmApplyPatch::ControlName;
    using enum ControlKind;
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
        rows::Caption(lblPatch, "lblPatch", 120, "The patch (IPS, BPS or UPS):"),
        rows::Box(txtPatch, "txtPatch", 420, lblPatch),
        rows::Choose(cmdPatch, "cmdPatch", 420, "&Patch..."),
        rows::Caption(lblRom, "lblRom", 900, "The ROM it patches:"),
        rows::Box(txtRom, "txtRom", 1200, lblRom),
        rows::Choose(cmdRom, "cmdRom", 1200, "R&OM..."),
        rows::Caption(lblOutput, "lblOutput", 1680, "The patched ROM goes to:"),
        rows::Box(txtOutput, "txtOutput", 1980, lblOutput),
        rows::Choose(cmdOutput, "cmdOutput", 1980, "&Folder..."),
        option(optKeep, "optKeep", 2460, "&Keep a file that is there already", true),
        option(optReplace, "optReplace", 2760, kReplaceCaption, false),
        rows::StatusLine(lblStatus, 3120),
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
