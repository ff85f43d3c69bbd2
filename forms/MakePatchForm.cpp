#include "MakePatchForm.h"

namespace kelbrin::form {

namespace {

Form MakeMakePatchForm() {
    using enum frmMakePatch::ControlName;
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
    const auto box = [](ControlId id, std::string_view controlName, std::int32_t top, bool path,
                        ControlId label) {
        return Control{.Id = id,
                       .Name = controlName,
                       .Kind = TextBox,
                       .At = {120, top, 6840, 315},
                       .Back = kWhite,
                       .Fore = kBlack,
                       .Editable = true,
                       .HoldsPath = path,
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
        name(lblSource, "lblSource", 120, "The expanded ROM, as the script makes it:"),
        box(txtSource, "txtSource", 420, true, lblSource),
        choose(cmdSource, "cmdSource", 390, "&Expanded..."),
        name(lblTarget, "lblTarget", 900, "The hacked ROM, as the patch should make it:"),
        box(txtTarget, "txtTarget", 1200, true, lblTarget),
        choose(cmdTarget, "cmdTarget", 1170, "&Hacked..."),
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
        name(lblMetadata, "lblMetadata", 2280, "The author's text in a BPS patch (optional):"),
        box(txtMetadata, "txtMetadata", 2580, false, lblMetadata),
        name(lblOutput, "lblOutput", 3060, "The patch goes to:"),
        box(txtOutput, "txtOutput", 3360, true, lblOutput),
        choose(cmdOutput, "cmdOutput", 3330, "&Folder..."),
        {.Id = lblStatus,
         .Name = "lblStatus",
         .Kind = Label,
         .At = {120, 3840, 8160, 480},
         .Fore = kWhite,
         .Align = TextAlign::Left,
         .AccessibleDescription = "Status line",
         .StatusLine = true},
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
