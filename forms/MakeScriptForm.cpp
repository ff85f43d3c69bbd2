#include "MakeScriptForm.h"

namespace kelbrin::form {

namespace {

Form MakeMakeScriptForm() {
    using enum frmMakeScript::ControlName;
    using enum ControlKind;
    const auto name = [](ControlId id, std::string_view controlName, std::int32_t top,
                         std::string_view caption) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = Label,
                       .At = {120, top, 5400, 255},
                       .Caption = caption,
                       .Fore = kWhite,
                       .Align = TextAlign::Left};
    };
    const auto box = [](ControlId id, std::string_view controlName, std::int32_t left,
                        std::int32_t top, std::int32_t width, bool path, std::string_view text,
                        ControlId label) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = TextBox,
                       .At = {left, top, width, 315},
                       .Caption = text,
                       .Back = kWhite,
                       .Fore = kBlack,
                       .Editable = true,
                       .HoldsPath = path,
                       .LabelledBy = label};
    };
    Form form;
    form.Name = "frmMakeScript";
    form.Caption = "Make Script";
    form.Width = 8400;
    form.Height = 3600;
    form.Back = kDarkBlue;
    form.Controls = {
        name(lblOriginal, "lblOriginal", 120, "The original ROM, as players have it:"),
        box(txtOriginal, "txtOriginal", 120, 420, 6840, true, "", lblOriginal),
        {.Id = cmdOriginal,
         .Name = "cmdOriginal",
         .Kind = PushButton,
         .At = {7080, 390, 1200, 375},
         .Caption = "&Original..."},
        name(lblExpanded, "lblExpanded", 900, "The expanded ROM, as the patch expects it:"),
        box(txtExpanded, "txtExpanded", 120, 1200, 6840, true, "", lblExpanded),
        {.Id = cmdExpanded,
         .Name = "cmdExpanded",
         .Kind = PushButton,
         .At = {7080, 1170, 1200, 375},
         .Caption = "&Expanded..."},
        name(lblOriginalHeader, "lblOriginalHeader", 1740,
             "The original's header size, in hex (0: none):"),
        box(txtOriginalHeader, "txtOriginalHeader", 5640, 1710, 1320, false, "0",
            lblOriginalHeader),
        name(lblExpandedHeader, "lblExpandedHeader", 2160,
             "The expanded ROM's header size, in hex (0: none):"),
        box(txtExpandedHeader, "txtExpandedHeader", 5640, 2130, 1320, false, "0",
            lblExpandedHeader),
        name(lblScriptPlace, "lblScriptPlace", 2700,
             "The script goes beside the original, as Kelbrin.txt."),
        {.Id = cmdMake,
         .Name = "cmdMake",
         .Kind = PushButton,
         .At = {5640, 3105, 1320, 375},
         .Caption = "&Make Script"},
        {.Id = cmdCancel,
         .Name = "cmdCancel",
         .Kind = PushButton,
         .At = {7080, 3105, 1200, 375},
         .Caption = "Cancel"},
    };
    form.TabOrder = {txtOriginal,       cmdOriginal,       txtExpanded, cmdExpanded,
                     txtOriginalHeader, txtExpandedHeader, cmdMake,     cmdCancel};
    return form;
}

} // namespace

const Form& MakeScriptForm() {
    static const Form form = MakeMakeScriptForm();
    return form;
}

} // namespace kelbrin::form
