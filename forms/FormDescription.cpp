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

constexpr Font kDefaultFont{};
constexpr Font kTitleFont{"Comic Sans MS", 12, false};

Form MakeKelbrinForm() {
    using enum ControlId;
    using enum ControlKind;
    Form form;
    form.Name = "frmKelbrin";
    form.Caption = "Kelbrin";
    form.Width = 4680;
    form.Height = 3450;
    form.Back = kBlack;
    // clang-format off
    form.Controls = {
        {fraDownloader, "fraDownloader", Frame, None, {120, 720, 4455, 2055}, "", true,
         Colour{0, 255, 0}, kWhite, kDefaultFont},
        {txtMD5, "txtMD5", TextBox, fraDownloader, {720, 1680, 3615, 285}, "", false,
         Colour{192, 255, 192}, std::nullopt, {"Courier New", 8.25, false}},
        {cmdExpand1, "cmdExpand(1)", PushButton, fraDownloader, {2280, 240, 2055, 855},
         "Expand and Ignore/Remove Header", true, Colour{208, 208, 208}, std::nullopt,
         kDefaultFont},
        {cmdExpand0, "cmdExpand(0)", PushButton, fraDownloader, {120, 240, 2055, 855},
         "Expand and   Add/Replace Header", true, kWhite, std::nullopt, kDefaultFont},
        {lblMD5, "lblMD5", Label, fraDownloader, {120, 1700, 615, 255}, "MD5:", false,
         std::nullopt, kBlack, {"Courier New", 9.75, true}},
        {lblStatus, "lblStatus", Label, fraDownloader, {120, 1200, 4215, 375}, "", true,
         Colour{128, 255, 128}, std::nullopt, {"MS Sans Serif", 9.75, true}},
        {lblTitle1, "lblTitle(1)", Label, None, {120, 2760, 4455, 375}, "Ver. 11.11.29", true,
         kBlack, Colour{128, 128, 255}, kTitleFont},
        {lblTitle2, "lblTitle(2)", Label, None, {120, 3120, 4455, 375}, "by Halvek", true,
         kBlack, Colour{0, 0, 255}, kTitleFont},
        {lblTitle0, "lblTitle(0)", Label, None, {120, 0, 4455, 735}, "Kelbrin", true, kBlack,
         Colour{255, 0, 0}, {"Comic Sans MS", 21.75, false}},
    };
    // clang-format on
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
    const Font pageFont{"Courier New", 9, false};
    Form form;
    form.Name = "frmHowTo";
    form.Caption = "How To Use Kelbrin";
    form.Width = 9000;
    form.Height = 7800;
    form.Back = kDarkBlue;
    // clang-format off
    form.Controls = {
        {txtHowTo1, "txtHowTo(1)", TextBox, None, {240, 120, 8655, 3255}, FormatHelpText(), true,
         kPaleBlue, kBlack, pageFont, true},
        {txtHowTo0, "txtHowTo(0)", TextBox, None, {240, 120, 8655, 6975}, UsageHelpText(), true,
         kWhite, kBlack, pageFont, true},
        {optPart1, "optPart(1)", OptionButton, None, {120, 7440, 3615, 255},
         "How to Format the Kelbrin.txt file", true, kDarkBlue, kWhite, kDefaultFont},
        {optPart0, "optPart(0)", OptionButton, None, {120, 7200, 3615, 255},
         "How to Use Kelbrin", true, kDarkBlue, kWhite, kDefaultFont, false, form::Picture::None,
         true},
        {cmdOK, "cmdOK", PushButton, None, {3840, 7320, 1215, 375}, "OK", true, std::nullopt,
         std::nullopt, kDefaultFont},
        {Image1, "Image1", Picture, None, {2760, 4560, 6135, 2445}, "", true, std::nullopt,
         std::nullopt, kDefaultFont, false, form::Picture::SampleExpanded},
        {Image2, "Image2", Picture, None, {240, 3480, 6375, 2235}, "", true, std::nullopt,
         std::nullopt, kDefaultFont, false, form::Picture::SampleOriginal},
        {Shape1, "Shape(1)", Shape, None, {120, 120, 255, 3265}, "", true, kPaleBlue},
        {Shape0, "Shape(0)", Shape, None, {120, 120, 255, 6990}, "", true, kWhite},
    };
    // clang-format on
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
    form.Height = 3900;
    form.Back = kDarkBlue;
    // clang-format off
    form.Controls = {
        {txtInfo, "txtInfo", TextBox, None, {120, 120, 8160, 3000}, "", true, kWhite, kBlack,
         {"Courier New", 9, false}, true},
        {cmdCopy, "cmdCopy", PushButton, None, {5640, 3300, 1215, 375}, "&Copy", true,
         std::nullopt, std::nullopt, kDefaultFont},
        {cmdClose, "cmdClose", PushButton, None, {6960, 3300, 1215, 375}, "Close", true,
         std::nullopt, std::nullopt, kDefaultFont},
    };
    // clang-format on
    form.TabOrder = {cmdClose, cmdCopy, txtInfo};
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

const Control& ControlOf(ControlId id) {
    for (const Form* form : {&KelbrinForm(), &HowToForm(), &InfoForm()}) {
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
