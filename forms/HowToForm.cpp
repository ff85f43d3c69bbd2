#include "HowToForm.h"

#include "HelpTexts.h"

namespace kelbrin::form {

namespace {

constexpr Colour kPaleBlue{240, 240, 255};
constexpr Colour kPaleGreen{240, 255, 240};

Form MakeHowToForm() {
    using enum frmHowTo::ControlName;
    using enum ControlKind;
    const Font pageFont{.Family = "Courier New", .Points = 9};
    Form form;
    form.Name = "frmHowTo";
    form.Caption = "How To Use Kelbrin";
    form.Width = 9000;
    form.Height = 8040;
    form.Back = kDarkBlue;
    form.Controls = {
        {.Id = txtHowTo1,
         .Name = "txtHowTo(1)",
         .Kind = TextBox,
         .At = {240, 120, 8655, 3255},
         .Caption = FormatHelpText(),
         .Back = kPaleBlue,
         .Fore = kBlack,
         .TextFont = pageFont,
         .MultiLine = true,
         .LabelledBy = optPart1},
        {.Id = txtHowTo0,
         .Name = "txtHowTo(0)",
         .Kind = TextBox,
         .At = {240, 120, 8655, 6975},
         .Caption = UsageHelpText(),
         .Back = kWhite,
         .Fore = kBlack,
         .TextFont = pageFont,
         .MultiLine = true,
         .LabelledBy = optPart0},
        {.Id = optPart1,
         .Name = "optPart(1)",
         .Kind = OptionButton,
         .At = {120, 7440, 3615, 255},
         .Caption = "How to Format the Kelbrin.txt file",
         .Back = kDarkBlue,
         .Fore = kWhite},
        {.Id = optPart0,
         .Name = "optPart(0)",
         .Kind = OptionButton,
         .At = {120, 7200, 3615, 255},
         .Caption = "How to Use Kelbrin",
         .Back = kDarkBlue,
         .Fore = kWhite,
         .Selected = true},
        {.Id = cmdOK,
         .Name = "cmdOK",
         .Kind = PushButton,
         .At = {3840, 7380, 1215, 375},
         .Caption = "OK"},
        {.Id = Image1,
         .Name = "Image1",
         .Kind = Picture,
         .At = {2760, 4560, 6135, 2445},
         .Shows = form::Picture::SampleExpanded,
         .AccessibleName = "The sample's expanded ROM",
         .AccessibleDescription =
             "A hex view of the whole expanded ROM, on white: the header 4E 45 53 1A 04 01 40 "
             "40 from the HEADER line, then the copied bytes with 11 22 33, 44 55 66 and 77 88 "
             "99 put in their places, a row of FF and rows of F0"},
        {.Id = Image2,
         .Name = "Image2",
         .Kind = Picture,
         .At = {240, 3480, 6375, 2235},
         .Shows = form::Picture::SampleOriginal,
         .AccessibleName = "The sample's original ROM",
         .AccessibleDescription =
             "A hex view of the original's first bytes, on yellow: the header 4E 45 53 1A 02 "
             "01 01 00 and zeros, then image bytes that each hold the low byte of their own "
             "address"},
        {.Id = Shape1,
         .Name = "Shape(1)",
         .Kind = Shape,
         .At = {120, 120, 255, 3265},
         .Back = kPaleBlue},
        {.Id = Shape0,
         .Name = "Shape(0)",
         .Kind = Shape,
         .At = {120, 120, 255, 6990},
         .Back = kWhite},
        {.Id = txtHowTo2,
         .Name = "txtHowTo(2)",
         .Kind = TextBox,
         .At = {240, 120, 8655, 6975},
         .Caption = PatchHelpText(),
         // Shown when its page is chosen: it lies over the pictures of the format page.
         .Visible = false,
         .Back = kPaleGreen,
         .Fore = kBlack,
         .TextFont = pageFont,
         .MultiLine = true,
         .LabelledBy = optPart2},
        {.Id = optPart2,
         .Name = "optPart(2)",
         .Kind = OptionButton,
         .At = {120, 7680, 3615, 255},
         .Caption = "Applying a Patch",
         .Back = kDarkBlue,
         .Fore = kWhite},
        {.Id = Shape2,
         .Name = "Shape(2)",
         .Kind = Shape,
         .At = {120, 120, 255, 6990},
         .Visible = false,
         .Back = kPaleGreen},
    };
    form.TabOrder = {txtHowTo0, cmdOK, txtHowTo1, txtHowTo2, optPart0, optPart1, optPart2};
    return form;
}

} // namespace

const Form& HowToForm() {
    static const Form form = MakeHowToForm();
    return form;
}

} // namespace kelbrin::form
