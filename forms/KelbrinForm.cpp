#include "KelbrinForm.h"

namespace kelbrin::form {

namespace {

constexpr Font kTitleFont{.Family = "Comic Sans MS", .Points = 12};

Form MakeKelbrinForm() {
    using enum frmKelbrin::ControlName;
    using enum ControlKind;
    using enum frmKelbrin::MenuName;
    Form form;
    form.Name = "frmKelbrin";
    form.Caption = "Kelbrin";
    form.Width = 4680;
    form.Height = 4230;
    form.Back = kBlack;
    form.Controls = {
        {.Id = fraDownloader,
         .Name = "fraDownloader",
         .Kind = Frame,
         .At = {120, 720, 4455, 2835},
         .Back = Colour{0, 255, 0},
         .Fore = kWhite,
         .AccessibleName = "Expand the ROM"},
        {.Id = txtMD5,
         .Name = "txtMD5",
         .Kind = TextBox,
         .Parent = fraDownloader,
         .At = {720, 1680, 3615, 285},
         .Visible = false,
         .Back = Colour{192, 255, 192},
         .TextFont = {.Family = "Courier New", .Points = 8.25},
         .LabelledBy = lblMD5,
         .AccessibleDescription =
             "Your ROM's MD5 checksum, which differs from the one the patch expects"},
        {.Id = cmdExpand1,
         .Name = "cmdExpand(1)",
         .Kind = PushButton,
         .Parent = fraDownloader,
         .At = {2280, 240, 2055, 855},
         .Caption = "Expand and Ignore/Remove Header",
         .Back = Colour{208, 208, 208},
         .AccessibleDescription = "Writes the expanded ROM without a header"},
        {.Id = cmdExpand0,
         .Name = "cmdExpand(0)",
         .Kind = PushButton,
         .Parent = fraDownloader,
         .At = {120, 240, 2055, 855},
         .Caption = "Expand and   Add/Replace Header",
         .Back = kWhite,
         .AccessibleDescription = "Writes the expanded ROM with the header that Kelbrin.txt "
                                  "describes"},
        {.Id = lblMD5,
         .Name = "lblMD5",
         .Kind = Label,
         .Parent = fraDownloader,
         .At = {120, 1700, 615, 255},
         .Caption = "MD5:",
         .Visible = false,
         .Fore = kBlack,
         .TextFont = {.Family = "Courier New", .Points = 9.75, .Bold = true}},
        {.Id = lblStatus,
         .Name = "lblStatus",
         .Kind = Label,
         .Parent = fraDownloader,
         .At = {120, 1200, 4215, 375},
         .Back = Colour{128, 255, 128},
         .TextFont = {.Family = "MS Sans Serif", .Points = 9.75, .Bold = true},
         .AccessibleDescription = "Status line",
         .StatusLine = true},
        {.Id = lblTitle1,
         .Name = "lblTitle(1)",
         .Kind = Label,
         .At = {120, 3540, 4455, 375},
         .Caption = "Ver. 11.11.29",
         .Back = kBlack,
         .Fore = Colour{128, 128, 255},
         .TextFont = kTitleFont},
        {.Id = lblTitle2,
         .Name = "lblTitle(2)",
         .Kind = Label,
         .At = {120, 3900, 4455, 375},
         .Caption = "by Halvek",
         .Back = kBlack,
         .Fore = Colour{0, 0, 255},
         .TextFont = kTitleFont},
        {.Id = lblTitle0,
         .Name = "lblTitle(0)",
         .Kind = Label,
         .At = {120, 0, 4455, 735},
         .Caption = "Kelbrin",
         .Back = kBlack,
         .Fore = Colour{255, 0, 0},
         .TextFont = {.Family = "Comic Sans MS", .Points = 21.75}},
        // The patch the buttons apply after expanding, and the choice of another or none.
        {.Id = lblPatch,
         .Name = "lblPatch",
         .Kind = Label,
         .Parent = fraDownloader,
         .At = {120, 2085, 2415, 255},
         .Caption = "Patch: none",
         .Fore = kBlack,
         .Align = TextAlign::Left,
         .AccessibleDescription = "The patch the buttons apply after expanding"},
        {.Id = cmdPatch,
         .Name = "cmdPatch",
         .Kind = PushButton,
         .Parent = fraDownloader,
         .At = {2640, 2025, 855, 375},
         .Caption = "&Patch...",
         .AccessibleDescription = "Chooses the patch the buttons apply after expanding"},
        {.Id = cmdNoPatch,
         .Name = "cmdNoPatch",
         .Kind = PushButton,
         .Parent = fraDownloader,
         .At = {3600, 2025, 735, 375},
         .Caption = "N&one",
         .AccessibleDescription = "Expands without applying a patch"},
        // Which button suits the chosen patch, once that is known.
        {.Id = lblFits,
         .Name = "lblFits",
         .Kind = Label,
         .Parent = fraDownloader,
         .At = {120, 2490, 4215, 255},
         .Fore = kBlack,
         .Align = TextAlign::Left,
         .AccessibleDescription = "Which button suits the patch"},
    };
    form.TabOrder = {cmdExpand0, cmdExpand1, txtMD5, cmdPatch, cmdNoPatch};
    form.Menus = {
        {mnuFile,
         "mnuFile",
         "&File",
         {{mnuFile_Expand0, "mnuFile_Expand(0)", "Expand and &Add Header"},
          {mnuFile_Expand1, "mnuFile_Expand(1)", "Expand and &Remove Header"},
          {mnuFile_bar2, "mnuFile_bar2", "-"},
          {mnuFile_Folder, "mnuFile_Folder", "&Choose Folder..."},
          {mnuFile_Info, "mnuFile_Info", "ROM &Information..."},
          {mnuFile_ApplyPatch, "mnuFile_ApplyPatch", "A&pply Patch..."},
          // For patch authors.
          {mnuFile_bar3, "mnuFile_bar3", "-"},
          {mnuFile_Check, "mnuFile_Check", "Chec&k Script..."},
          {mnuFile_MakeScript, "mnuFile_MakeScript", "&Make Script..."},
          {mnuFile_MakePatch, "mnuFile_MakePatch", "Make Pa&tch..."},
          {mnuFile_bar0, "mnuFile_bar0", "-"},
          {mnuFile_Exit, "mnuFile_Exit", "E&xit", 'Q'}}},
        {mnuHelp,
         "mnuHelp",
         "&Help",
         {{mnuHelp_HowTo, "mnuHelp_HowTo", "&How to Use Kelbrin..."},
          // It stands in the Help menu, whatever its name says.
          {mnuFile_bar1, "mnuFile_bar1", "-"},
          {mnuHelp_About, "mnuHelp_About", "&About Kelbrin..."}}},
    };
    return form;
}

} // namespace

const Form& KelbrinForm() {
    static const Form form = MakeKelbrinForm();
    return form;
}

std::string AboutText(std::string_view title, std::string_view version) {
    std::string text;
    text.append(title).append("\r\n");
    text.append(version).append("\r\n");
    text.append("\r\n");
    text.append("A handy utility for custom expanding any ROM file\r\n");
    text.append("before using an IPS (or any other type of) patch.");
    return text;
}

} // namespace kelbrin::form
