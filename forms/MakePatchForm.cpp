#include "MakePatchForm.h"

#include "FileDialogRows.h"

namespace kelbrin::form {

namespace {

Form MakeMakePatchForm() {
    using enum frmMakePatch::ControlName;
    using enum ControlKind;
    const auto option = [](ControlId id, std::string_view controlName, Twips at,
                           std::string_view caption, bool selected) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = OptionButton,
                       .Parent = fraFormat,
                       .At = at,
                       .Caption = caption,
                       .Back = kDarkBlue,
                       .Fore = kWhite,
                       .Selected = selected};
    };
    Form form;
    form.Name = "frmMakePatch";
    form.Caption = "Make Patch";
    form.Width = 8400;
    form.Height = 4980;
    form.Back = kDarkBlue;
    form.Controls = {
        rows::Caption(lblSource, "lblSource", 120, "The expanded ROM, as the script makes it:"),
        rows::Box(txtSource, "txtSource", 420, lblSource),
        rows::Choose(cmdSource, "cmdSource", 420, "&Expanded..."),
        rows::Caption(lblTarget, "lblTarget", 900, "The hacked ROM, as the patch should make it:"),
        rows::Box(txtTarget, "txtTarget", 1200, lblTarget),
        rows::Choose(cmdTarget, "cmdTarget", 1200, "&Hacked..."),
        {.Id = fraFormat,
         .Name = "fraFormat",
         .Kind = Frame,
         .At = {120, 1680, 6840, 435},
         .Back = kDarkBlue,
         .Fore = kWhite,
         .AccessibleName = "The patch's format"},
        option(optBps, "optBps", {120, 90, 2040, 255}, "&BPS", true),
        option(optIps, "optIps", {2280, 90, 2040, 255}, "&IPS (up to 16 MiB)", false),
        option(optUps, "optUps", {4440, 90, 2040, 255}, "&UPS", false),
        rows::Caption(lblMetadata, "lblMetadata", 2280,
                      "The author's text in a BPS patch (optional):"),
        rows::Box(txtMetadata, "txtMetadata", 2580, lblMetadata, false),
        rows::Caption(lblOutput, "lblOutput", 3060, "The patch goes to:"),
        rows::Box(txtOutput, "txtOutput", 3360, lblOutput),
        rows::Choose(cmdOutput, "cmdOutput", 3360, "&Folder..."),
        rows::StatusLine(lblStatus, 3840),
        {.Id = cmdMake,
         .Name = "cmdMake",
         .Kind = PushButton,
         .At = {5640, 4485, 1320, 375},
         .Caption = "&Make Patch"},
        {.Id = cmdClose,
         .Name = "cmdClose",
         .Kind = PushButton,
         .At = {7080, 4485, 1200, 375},
         .Caption = "Close"},
    };
    form.TabOrder = {txtSource, cmdSource,   txtTarget, cmdTarget, optBps,  optIps,
                     optUps,    txtMetadata, txtOutput, cmdOutput, cmdMake, cmdClose};
    return form;
}

} // namespace

const Form& MakePatchForm() {
    static const Form form = MakeMakePatchForm();
    return form;
}

} // namespace kelbrin::form
