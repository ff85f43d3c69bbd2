#include "FormDescription.h"

#include <algorithm>
#include <stdexcept>

#include "HelpTexts.h"

namespace kelbrin::form {

namespace {

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kDarkBlue{0, 0, 192};
constexpr Colour kPaleBlue{240, 240, 255};

constexpr Font kTitleFont{.Family = "Comic Sans MS", .Points = 12};

Form MakeKelbrinForm() {
    using enum ControlId;
    using enum ControlKind;
    Form form;
    form.Name = "frmKelbrin";
    form.Caption = "Kelbrin";
    form.Width = 4680;
    form.Height = 3450;
    form.Back = kBlack;
    form.Controls = {
        {.Id = fraDownloader,
         .Name = "fraDownloader",
         .Kind = Frame,
         .At = {120, 720, 4455, 2055},
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
         .At = {120, 2760, 4455, 375},
         .Caption = "Ver. 11.11.29",
         .Back = kBlack,
         .Fore = Colour{128, 128, 255},
         .TextFont = kTitleFont},
        {.Id = lblTitle2,
         .Name = "lblTitle(2)",
         .Kind = Label,
         .At = {120, 3120, 4455, 375},
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
    };
    form.TabOrder = {cmdExpand0, cmdExpand1, txtMD5};
    form.Menus = {
        {MenuId::mnuFile,
         "mnuFile",
         "&File",
         {{MenuId::mnuFile_Expand0, "mnuFile_Expand(0)", "Expand and &Add Header"},
          {MenuId::mnuFile_Expand1, "mnuFile_Expand(1)", "Expand and &Remove Header"},
          {MenuId::mnuFile_bar2, "mnuFile_bar2", "-"},
          {MenuId::mnuFile_Folder, "mnuFile_Folder", "&Choose Folder..."},
          {MenuId::mnuFile_Info, "mnuFile_Info", "ROM &Information..."},
          // For patch authors.
          {MenuId::mnuFile_bar3, "mnuFile_bar3", "-"},
          {MenuId::mnuFile_Check, "mnuFile_Check", "Chec&k Script..."},
          {MenuId::mnuFile_MakeScript, "mnuFile_MakeScript", "&Make Script..."},
          {MenuId::mnuFile_bar0, "mnuFile_bar0", "-"},
          {MenuId::mnuFile_Exit, "mnuFile_Exit", "E&xit", 'Q'}}},
        {MenuId::mnuHelp,
         "mnuHelp",
         "&Help",
         {{MenuId::mnuHelp_HowTo, "mnuHelp_HowTo", "&How to Use Kelbrin..."},
          // It stands in the Help menu, whatever its name says.
          {MenuId::mnuFile_bar1, "mnuFile_bar1", "-"},
          {MenuId::mnuHelp_About, "mnuHelp_About", "&About Kelbrin..."}}},
    };
    return form;
}

Form MakeHowToForm() {
    using enum ControlId;
    using enum ControlKind;
    const Font pageFont{.Family = "Courier New", .Points = 9};
    Form form;
    form.Name = "frmHowTo";
    form.Caption = "How To Use Kelbrin";
    form.Width = 9000;
    form.Height = 7800;
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
         .At = {3840, 7320, 1215, 375},
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
    };
    form.TabOrder = {txtHowTo0, cmdOK, txtHowTo1, optPart0, optPart1};
    return form;
}

Form MakeInfoForm() {
    using enum ControlId;
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

Form MakeCheckForm() {
    using enum ControlId;
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

Form MakeMakeScriptForm() {
    using enum ControlId;
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

const Form& KelbrinForm() {
    static const Form form = MakeKelbrinForm();
    return form;
}

const Form& HowToForm() {
    static const Form form = MakeHowToForm();
    return form;
}

const Form& InfoForm() {
    static const Form form = MakeInfoForm();
    return form;
}

const Form& CheckForm() {
    static const Form form = MakeCheckForm();
    return form;
}

const Form& MakeScriptForm() {
    static const Form form = MakeMakeScriptForm();
    return form;
}

const std::vector<const Form*>& AllForms() {
    static const std::vector<const Form*> forms{&KelbrinForm(), &HowToForm(), &InfoForm(),
                                                &CheckForm(), &MakeScriptForm()};
    return forms;
}

const Control& ControlOf(ControlId id) {
    for (const Form* form : AllForms()) {
        for (const Control& control : form->Controls) {
            if (control.Id == id) {
                return control;
            }
        }
    }
    throw std::logic_error("no control with this id");
}

const MenuItem& MenuItemOf(MenuId id) {
    for (const Menu& menu : KelbrinForm().Menus) {
        for (const MenuItem& item : menu.Items) {
            if (item.Id == id) {
                return item;
            }
        }
    }
    throw std::logic_error("no menu item with this id");
}

ControlId ExpandButton(std::int16_t Index) {
    return Index == 0 ? ControlId::cmdExpand0 : ControlId::cmdExpand1;
}

MenuId ExpandMenuItem(std::int16_t Index) {
    return Index == 0 ? MenuId::mnuFile_Expand0 : MenuId::mnuFile_Expand1;
}

ControlId HelpPage(std::int16_t Index) {
    return Index == 0 ? ControlId::txtHowTo0 : ControlId::txtHowTo1;
}

ControlId HelpStrip(std::int16_t Index) {
    return Index == 0 ? ControlId::Shape0 : ControlId::Shape1;
}

ControlId HelpOption(std::int16_t Index) {
    return Index == 0 ? ControlId::optPart0 : ControlId::optPart1;
}

std::optional<Colour> TextColour(const Control& control) {
    if (control.Fore) {
        return control.Fore;
    }
    if (control.Back) {
        return kFixedText;
    }
    return std::nullopt;
}

std::string SpokenName(const Control& control) {
    if (!control.AccessibleName.empty()) {
        return std::string(control.AccessibleName);
    }
    if (control.LabelledBy == ControlId::None) {
        return {};
    }
    std::string name;
    for (const char c : ControlOf(control.LabelledBy).Caption) {
        if (c != '&') {
            name += c;
        }
    }
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) {
        name.pop_back();
    }
    return name;
}

std::vector<const Control*> StackingOrder(const Form& form, ControlId parent) {
    std::vector<const Control*> order;
    for (const Control& control : form.Controls) {
        if (control.Parent == parent) {
            order.push_back(&control);
        }
    }
    std::stable_partition(order.begin(), order.end(),
                          [](const Control* c) { return IsDrawnOnParent(c->Kind); });
    return order;
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
