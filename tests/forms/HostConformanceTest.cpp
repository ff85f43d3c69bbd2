// What every toolkit's host does alike, run by each toolkit's tests through its driver
// (HostedForm.h): every control and menu item of every form reaching the form's events, the
// menus and the tab order as the form has them, what the port sets showing at once, and the
// message boxes, and the colours and pictures as the windows show them (their shots land in
// the build tree for a person to look at).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

#include "AllForms.h"
#include "ApplyPatchForm.h"
#include "CheckForm.h"
#include "HostedForm.h"
#include "HowToForm.h"
#include "InfoForm.h"
#include "KelbrinForm.h"
#include "LayoutDrawing.h"
#include "MakePatchForm.h"
#include "MakeScriptForm.h"
#include "OriginalIdentity.h"
#include "RecordingWindow.h"
#include "RomInformation.h"
#include "RunFolder.h"
#include "ScriptCheck.h"

namespace kelbrin::test {
namespace {

namespace main = form::frmKelbrin;

// `shown` is `caption` with some of its runs of blanks turned into line breaks, and CR LF
// shown as LF.
bool IsWrappingOf(std::string_view shown, std::string_view caption) {
    std::size_t s = 0;
    for (std::size_t c = 0; c < caption.size();) {
        if (caption[c] == ' ' && s < shown.size() && shown[s] == '\n') {
            c = std::min(caption.find_first_not_of(' ', c), caption.size());
            ++s;
        } else if (caption.substr(c, 2) == "\r\n" && s < shown.size() && shown[s] == '\n') {
            c += 2;
            ++s;
        } else if (s < shown.size() && shown[s] == caption[c]) {
            ++s;
            ++c;
        } else {
            return false;
        }
    }
    return s == shown.size();
}

// The look-alike a family resolves to on a machine without it.
std::string_view LookAlike(std::string_view family) {
    for (const auto& [asked, alike] :
         {std::pair<std::string_view, std::string_view>{"Comic Sans MS", "Comic Neue"},
          {"Courier New", "Liberation Mono"},
          {"MS Sans Serif", "Liberation Sans"}}) {
        if (family == asked) {
            return alike;
        }
    }
    return family;
}

// The help window's page `page` (0: how to use, 1: the script's format) as its option buttons
// show it.
void ShowHelpPage(FormPort& help, int page) {
    for (std::int16_t i = 0; i < 2; ++i) {
        help.SetVisible(form::frmHowTo::txtHowTo(i), i == page);
        help.SetVisible(form::frmHowTo::Shape(i), i == page);
    }
}

TEST(Forms, EveryFormIsPlacedAsDescribedWithTheFocusOnTheFirstOfItsTabOrder) {
    for (const form::Form* f : form::AllForms()) {
        SCOPED_TRACE(std::string(f->Name));
        const auto on = ShowForm(*f);
        ExpectPlacedAsDescribed(*on);
        const WindowState window = on->State();
        EXPECT_FALSE(window.Owned);
        EXPECT_EQ(window.Focus, f->TabOrder.front());
    }
}

TEST(Forms, EveryButtonOptionMenuItemKeyDropAndCloseBoxReachesTheFormsEvents) {
    struct EventCase {
        std::string Name;
        const form::Form* Form;
        std::function<void(HostedForm&)> Act;
        std::vector<std::string> Log;
    };
    std::vector<EventCase> cases;
    for (const form::Form* f : form::AllForms()) {
        for (const form::Control& c : f->Controls) {
            if (c.Kind != form::ControlKind::PushButton &&
                c.Kind != form::ControlKind::OptionButton) {
                continue;
            }
            // The option chosen at the start reports when it is chosen again after another.
            const auto other = std::ranges::find_if(f->Controls, [&c](const form::Control& o) {
                return o.Kind == c.Kind && o.Id != c.Id;
            });
            const std::optional<form::ControlId> first =
                c.Selected ? std::optional(other->Id) : std::nullopt;
            cases.push_back({std::string(c.Name),
                             f,
                             [id = c.Id, first](HostedForm& on) {
                                 if (first) {
                                     on.Click(*first);
                                     on.Events.Log.clear();
                                 }
                                 on.Click(id);
                             },
                             {"click:" + std::string(c.Name)}});
        }
        for (const form::Menu& menu : f->Menus) {
            for (const form::MenuItem& item : menu.Items) {
                if (item.Caption != "-") {
                    cases.push_back({std::string(item.Name),
                                     f,
                                     [id = item.Id](HostedForm& on) { on.Choose(id); },
                                     {"choose:" + std::string(item.Name)}});
                }
            }
        }
    }
    const form::Form* kelbrin = &form::KelbrinForm();
    cases.push_back(
        {"Ctrl+Q", kelbrin, [](HostedForm& on) { on.PressCtrl('Q'); }, {"choose:mnuFile_Exit"}});
    // The window stays when its form refuses to close; the form closing it itself is not asked.
    cases.push_back({"close box, refused",
                     kelbrin,
                     [](HostedForm& on) {
                         on.Events.MayClose = false;
                         on.CloseBox();
                         EXPECT_TRUE(on.Port->IsOpen());
                         on.Port->Close();
                         EXPECT_FALSE(on.Port->IsOpen());
                     },
                     {"close"}});
    cases.push_back({"drop",
                     kelbrin,
                     [](HostedForm& on) {
                         on.Port->TakeDrops(true);
                         EXPECT_TRUE(on.Drop("/tmp/caf\xC3\xA9 game/x.nes"));
                     },
                     {"drop:/tmp/caf\xC3\xA9 game/x.nes"}});
    cases.push_back({"drop on a window that takes none",
                     kelbrin,
                     [](HostedForm& on) {
                         on.Port->TakeDrops(false);
                         EXPECT_FALSE(on.Drop("/tmp/game"));
                     },
                     {}});
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto on = ShowForm(*c.Form);
        c.Act(*on);
        EXPECT_EQ(on->Events.Log, c.Log);
    }
}

TEST(Forms, WhatThePortSetsShowsAtOnce) {
    const auto on = ShowForm(form::KelbrinForm());
    FormPort& port = *on->Port;
    port.SetCaption(main::lblStatus, "Copy, Fill, Replace line #4");
    EXPECT_EQ(on->StateOf(main::lblStatus).Text, "Copy, Fill, Replace line #4");
    // Script text that is no UTF-8 reads as Windows-1252.
    port.SetCaption(main::lblStatus, "No caf\xE9");
    EXPECT_EQ(on->StateOf(main::lblStatus).Text, "No caf\xC3\xA9");
    EXPECT_EQ(port.Caption(main::lblTitle1), "Ver. 11.11.29");
    port.SetText(main::txtMD5, "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(on->StateOf(main::txtMD5).Text, "B2D3F56BC197FD985D5965079B5E7148");
    port.SetVisible(main::txtMD5, true);
    EXPECT_TRUE(on->StateOf(main::txtMD5).Visible);
    port.SetEnabled(main::cmdExpand0, false);
    EXPECT_FALSE(on->StateOf(main::cmdExpand0).Enabled);
    port.SetEnabled(main::mnuFile_Info, false);
    EXPECT_FALSE(on->IsEnabled(main::mnuFile_Info));
    port.SetTitleName("t1");
    EXPECT_EQ(on->State().Title, "Kelbrin \u2013 t1");
    port.SetTitleName("");
    EXPECT_EQ(on->State().Title, "Kelbrin");

    // A text's lines may end in LF alone.
    const auto info = ShowForm(form::InfoForm());
    info->Port->SetText(form::frmInfo::txtInfo, "Original: orig.nes\nHeader: none\n");
    EXPECT_EQ(info->StateOf(form::frmInfo::txtInfo).Text, "Original: orig.nes\nHeader: none\n");

    const auto help = ShowForm(form::HowToForm());
    help->Port->SetPicture(form::frmHowTo::Image1, form::Picture::SampleOriginal);
    EXPECT_EQ(help->StateOf(form::frmHowTo::Image1).Image, std::pair(425, 149));
}

// Labels, pictures and shapes lie under the other controls, and each group in the order of
// definition.
TEST(Forms, WhereControlsOverlapTheOneStackedLaterLiesOnTop) {
    int overlaps = 0;
    for (const form::Form* f : form::AllForms()) {
        SCOPED_TRACE(std::string(f->Name));
        const auto on = ShowForm(*f);
        std::vector<std::pair<form::ControlId, PixelBox>> stacked;
        for (const form::Control* c : form::StackingOrder(*f, std::nullopt)) {
            if (c->Visible) {
                stacked.emplace_back(c->Id, on->StateOf(c->Id).Place);
            }
        }
        const auto covers = [](const PixelBox& box, Point at) {
            return box.Left <= at.X && at.X < box.Left + box.Width && box.Top <= at.Y &&
                   at.Y < box.Top + box.Height;
        };
        for (std::size_t i = 0; i < stacked.size(); ++i) {
            for (std::size_t j = i + 1; j < stacked.size(); ++j) {
                const PixelBox& a = stacked[i].second;
                const PixelBox& b = stacked[j].second;
                const int left = std::max(a.Left, b.Left);
                const int top = std::max(a.Top, b.Top);
                const int right = std::min(a.Left + a.Width, b.Left + b.Width);
                const int bottom = std::min(a.Top + a.Height, b.Top + b.Height);
                if (left >= right || top >= bottom) {
                    continue;
                }
                const Point centre{(left + right) / 2, (top + bottom) / 2};
                const auto last =
                    std::find_if(stacked.rbegin(), stacked.rend(),
                                 [&](const auto& s) { return covers(s.second, centre); });
                // The control on top there, or the frame it lies in.
                std::optional<form::ControlId> seen = on->TopAt(centre);
                while (seen && on->StateOf(*seen).Parent) {
                    seen = on->StateOf(*seen).Parent;
                }
                EXPECT_EQ(seen, last->first)
                    << form::ControlOf(*f, stacked[i].first).Name << " under "
                    << form::ControlOf(*f, stacked[j].first).Name;
                ++overlaps;
            }
        }
    }
    EXPECT_GT(overlaps, 0);
}

// A screen reader says a changed name only of the focused object; what the status line
// announces, it says wherever the focus is.
TEST(MainWindow, ScreenReadersHearEveryStatusAndWhatTheStatusLineAnnounces) {
    const auto on = ShowForm(form::KelbrinForm());
    struct StatusCase {
        const char* Text;
        bool Announced;
    };
    for (const StatusCase& c :
         {StatusCase{"Writing Header", true}, StatusCase{"Copy, Fill, Replace line #4", false},
          StatusCase{"Expansion Done", true}}) {
        SCOPED_TRACE(c.Text);
        const Heard heard = on->HearDuring(main::lblStatus, [&] {
            if (c.Announced) {
                on->Port->Announce(main::lblStatus, c.Text);
            } else {
                on->Port->SetCaption(main::lblStatus, c.Text);
            }
        });
        EXPECT_EQ(on->StateOf(main::lblStatus).Text, c.Text);
        EXPECT_TRUE(heard.NameChanged);
        EXPECT_EQ(heard.Announced,
                  c.Announced ? std::vector<std::string>{c.Text} : std::vector<std::string>{});
        EXPECT_EQ(heard.Name, c.Text);
    }
}

// Tab, pressed once for each control, takes the focus to each in turn.
void ExpectTabsThrough(HostedForm& on, const std::vector<form::ControlId>& stops) {
    for (const form::ControlId stop : stops) {
        on.PressTab();
        EXPECT_EQ(on.State().Focus, stop) << form::ControlOf(on.Form(), stop).Name;
    }
}

TEST(MainWindow, FocusStartsOnTheAddButtonAndTabsThroughLiveControls) {
    const auto on = ShowForm(form::KelbrinForm());
    EXPECT_EQ(on->State().Focus, form::ControlId(main::cmdExpand0));
    ExpectTabsThrough(*on, {main::cmdExpand1, main::cmdPatch, main::cmdNoPatch, main::cmdExpand0});
    on->Port->SetVisible(main::txtMD5, true);
    on->Port->SetEnabled(main::cmdNoPatch, false);
    ExpectTabsThrough(*on, {main::cmdExpand1, main::txtMD5, main::cmdPatch, main::cmdExpand0});
    on->Port->SetEnabled(main::cmdExpand1, false);
    ExpectTabsThrough(*on, {main::txtMD5});
}

// As everywhere in Windows, and in Qt: of the option buttons, Tab stops on the one checked; the
// arrow keys move between them and check the one they reach.
TEST(HelpWindow, TabStopsOnTheCheckedOptionOnlyAndTheArrowsMoveBetweenThem) {
    namespace help = form::frmHowTo;
    const auto on = ShowForm(form::HowToForm());
    ASSERT_EQ(on->State().Focus, form::ControlId(help::txtHowTo0));
    ExpectTabsThrough(*on, {help::cmdOK, help::txtHowTo1, help::optPart0, help::txtHowTo0});

    on->FocusOn(help::optPart0);
    on->PressDown();
    EXPECT_EQ(on->State().Focus, form::ControlId(help::optPart1));
    EXPECT_TRUE(on->StateOf(help::optPart1).Checked);
    EXPECT_FALSE(on->StateOf(help::optPart0).Checked);
    EXPECT_EQ(on->Events.Log, std::vector<std::string>{"click:optPart(1)"});
    on->FocusOn(help::txtHowTo1);
    ExpectTabsThrough(*on, {help::optPart1, help::txtHowTo0});
}

TEST(HelpWindow, PicturesAtTheirNaturalSizeLieUnderTheTallPageAndOverTheShortOne) {
    namespace help = form::frmHowTo;
    const auto on = ShowForm(form::HowToForm());
    EXPECT_EQ(on->StateOf(help::Image1).Image, std::pair(409, 163));
    EXPECT_EQ(on->StateOf(help::Image2).Image, std::pair(425, 149));
    const auto corner = [](form::ControlId id) {
        const form::Twips& at = form::ControlOf(form::HowToForm(), id).At;
        return Point{form::ToPixels(at.Left), form::ToPixels(at.Top)};
    };
    const Point one = corner(help::Image1);
    const Point two = corner(help::Image2);
    // A point that only each covers, and one where both do.
    const std::vector<std::pair<Point, form::ControlId>> points{
        {{one.X + 409 - 4, one.Y + 163 - 4}, help::Image1},
        {{two.X + 4, two.Y + 4}, help::Image2},
        {{(one.X + two.X + 425) / 2, (one.Y + two.Y + 149) / 2}, help::Image2}};
    for (const int page : {0, 1, 0}) {
        SCOPED_TRACE(page);
        ShowHelpPage(*on->Port, page);
        for (const auto& [at, picture] : points) {
            EXPECT_EQ(on->TopAt(at) == picture, page == 1) << at.X << "," << at.Y;
        }
    }
}

TEST(Desktop, MessageBoxesAreModalOverTheirWindowWithOnlyOK) {
    struct BoxCase {
        const char* Name;
        std::string Message;
        MessageBoxIcon Icon;
        std::string Shown;
    };
    const std::vector<BoxCase> cases{
        {"error", "Error #0 -> \r\n\r\nCopy, Fill, or Replace missing", MessageBoxIcon::Stop,
         "Error #0 -> \n\nCopy, Fill, or Replace missing"},
        {"no icon", "Kelbrin\r\nVer. 11.11.29", MessageBoxIcon::None, "Kelbrin\nVer. 11.11.29"},
        // A message may quote a script line of megabytes; the box shows its start.
        {"huge", "Error #0 -> \r\n\r\n" + std::string(1 << 20, 'X'), MessageBoxIcon::Stop, ""},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto on = ShowForm(form::KelbrinForm());
        on->ShowMessageBox(c.Message, "Title", c.Icon);
        const std::vector<SeenMessageBox> boxes = on->TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        const SeenMessageBox& box = boxes[0];
        EXPECT_EQ(box.Title, "Title");
        if (c.Shown.empty()) {
            EXPECT_TRUE(box.Text.starts_with("Error #0 -> \n\nXXX"));
            EXPECT_TRUE(box.Text.ends_with("XXX \u2026"));
            // At most so many characters of the message, its line ends counted as one or two,
            // then " \u2026" (4 bytes).
            EXPECT_LE(box.Text.size(), form::kLongestBoxText + 4);
            EXPECT_GE(box.Text.size(), form::kLongestBoxText);
        } else {
            EXPECT_EQ(box.Text, c.Shown);
        }
        EXPECT_EQ(box.Icon, c.Icon == MessageBoxIcon::Stop ? "stop" : "");
        EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"});
        EXPECT_TRUE(box.OverItsWindow);
    }
}

TEST(Desktop, QuestionAsksYesOrNoWithNoForEnter) {
    const auto on = ShowForm(form::KelbrinForm());
    for (const bool yes : {false, true}) {
        on->AnswerQuestions(yes);
        EXPECT_EQ(on->TheDesktop().AskYesNo(*on->Port, "Replace it?", "Make Script"), yes);
        const std::vector<SeenMessageBox> boxes = on->TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        const SeenMessageBox& box = boxes[0];
        EXPECT_EQ(box.Title, "Make Script");
        EXPECT_EQ(box.Text, "Replace it?");
        EXPECT_EQ(box.Icon, "question");
        EXPECT_EQ(box.Buttons, (std::vector<std::string>{"Yes", "No"}));
        EXPECT_EQ(box.Default, "No");
        EXPECT_TRUE(box.OverItsWindow);
    }
}

TEST(Desktop, ModalFormLocksItsOwnerStaysInFrontAndReturnsOnceClosed) {
    const auto main = ShowForm(form::KelbrinForm());
    ClosingEvents events;
    events.Form = &form::InfoForm();
    const auto info = main->TheDesktop().OpenForm(form::InfoForm(), events, main->Port.get());
    events.Port = info.get();
    const SeenModal seen = main->ShowModal(*info, form::InfoForm(), form::frmInfo::cmdClose);
    EXPECT_TRUE(seen.Shown);
    EXPECT_TRUE(seen.OverItsOwner);
    EXPECT_TRUE(seen.OwnerLocked);
    EXPECT_FALSE(info->IsOpen());
    EXPECT_TRUE(seen.OwnerFreedAfter);
    EXPECT_EQ(events.Log, std::vector<std::string>{"click:cmdClose"});
}

// Text shown as the system's texts: UTF-8, whatever the form's bytes, with its line ends.
TEST(Desktop, ClipboardTakesTheTextAsItIsShown) {
    const auto on = ShowForm(form::KelbrinForm());
    on->TheDesktop().CopyToClipboard("Original: caf\xE9.nes\nHeader: none\n");
    const std::string end(on->LineEnd());
    EXPECT_EQ(on->Clipboard(), "Original: caf\xC3\xA9.nes" + end + "Header: none" + end);
}

std::string Hex(form::Colour c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.Red, c.Green, c.Blue);
    return hex;
}

int Distance(form::Colour a, form::Colour b) {
    return std::abs(a.Red - b.Red) + std::abs(a.Green - b.Green) + std::abs(a.Blue - b.Blue);
}

// Summed over the three channels: room for antialiasing and a faint shade, not another colour.
void ExpectNear(form::Colour seen, form::Colour expected, int room = 24) {
    EXPECT_LE(Distance(seen, expected), room) << Hex(seen) << " instead of " << Hex(expected);
}

TEST(Screenshots, EveryWindowShowsItsColoursItsPicturesAndItsDrawing) {
    const TempFolder folder;
    WriteGame(folder);
    const auto on = ShowForm(form::KelbrinForm());
    // The frame, both buttons, the status line and the three titles.
    EXPECT_EQ(ExpectColoursShown(*on, "main-idle.png"), 7);
    on->Port->SetText(main::txtMD5, "B2D3F56BC197FD985D5965079B5E7148");
    on->Port->SetVisible(main::txtMD5, true);
    on->Port->SetVisible(main::lblMD5, true);
    EXPECT_EQ(ExpectColoursShown(*on, "main-md5.png"), 8);

    // The box of the original's identity, as File, ROM Information shows it.
    RecordingWindow quiet;
    const IdentityResult identity = IdentifyOriginal(folder.Path(), quiet);
    ASSERT_TRUE(identity.Identity.has_value());
    const auto info = ShowForm(form::InfoForm());
    info->Port->SetText(form::frmInfo::txtInfo, RomInformation(*identity.Identity));
    // The report's text box.
    EXPECT_EQ(ExpectColoursShown(*info, "info.png"), 1);

    const auto help = ShowForm(form::HowToForm());
    // The usage page, its strip and the three option buttons.
    EXPECT_EQ(ExpectColoursShown(*help, "help-usage.png"), 5);
    help->Click(form::frmHowTo::optPart1);
    ShowHelpPage(*help->Port, 1);
    // The format page, its strip, the three option buttons and both pictures.
    EXPECT_EQ(ExpectColoursShown(*help, "help-format.png"), 7);

    // Check Script on a laid-out ROM: every filled box of its strip and its legend where no
    // later one covers it.
    WriteAuthorsGame(folder);
    const auto check = ShowForm(form::CheckForm());
    const form::Control& strip = form::ControlOf(form::CheckForm(), form::frmCheck::picLayout);
    const form::Drawing drawn = form::DrawLayout(CheckScript(folder.Path()).WithoutHeader,
                                                 strip.At.Width, strip.At.Height, *strip.Fore);
    check->Port->SetDrawing(form::frmCheck::picLayout, drawn);
    // The report, the drawing and the rows.
    EXPECT_EQ(ExpectColoursShown(*check, "check.png"), 3);
    int boxes = 0;
    const auto pixels = [](std::int32_t twips) { return form::ToPixels(twips); };
    for (std::size_t i = 0; i < drawn.Boxes.size(); ++i) {
        const form::Twips& at = drawn.Boxes[i].At;
        const Point centre{pixels(at.Left + at.Width / 2), pixels(at.Top + at.Height / 2)};
        const auto covers = [&](const form::DrawnBox& later) {
            return later.Fill && pixels(later.At.Left) <= centre.X &&
                   centre.X < pixels(later.At.Left + later.At.Width) &&
                   pixels(later.At.Top) <= centre.Y &&
                   centre.Y < pixels(later.At.Top + later.At.Height);
        };
        if (!drawn.Boxes[i].Fill || pixels(at.Height) < 2 || pixels(at.Width) <= 2 ||
            std::any_of(drawn.Boxes.begin() + static_cast<std::ptrdiff_t>(i) + 1, drawn.Boxes.end(),
                        covers)) {
            continue;
        }
        SCOPED_TRACE("box " + std::to_string(i));
        ExpectNear(
            check->ShotAt({pixels(strip.At.Left) + centre.X, pixels(strip.At.Top) + centre.Y}),
            *drawn.Boxes[i].Fill);
        ++boxes;
    }
    // Four copies, the fill, both replaced marks (the last two bytes are no pixel high) and
    // the legend's six swatches.
    EXPECT_EQ(boxes, 7 + 6);

    const auto maker = ShowForm(form::MakeScriptForm());
    maker->Port->SetText(form::frmMakeScript::txtOriginal, folder.PathOf("orig.nes"));
    maker->Port->SetText(form::frmMakeScript::txtExpanded, folder.PathOf("big.nes"));
    maker->Port->SetText(form::frmMakeScript::txtOriginalHeader, "10");
    // Both paths, and the two header boxes.
    EXPECT_EQ(ExpectColoursShown(*maker, "make-script.png"), 4);

    // The patch dialogs: their boxes, and the option buttons (in their frame).
    const auto patcher = ShowForm(form::ApplyPatchForm());
    patcher->Port->SetText(form::frmApplyPatch::txtPatch, folder.PathOf("hack.bps"));
    patcher->Port->SetText(form::frmApplyPatch::txtRom, folder.PathOf("big.nes"));
    EXPECT_EQ(ExpectColoursShown(*patcher, "apply-patch.png"), 5);
    const auto patchMaker = ShowForm(form::MakePatchForm());
    patchMaker->Port->SetText(form::frmMakePatch::txtSource, folder.PathOf("big.nes"));
    patchMaker->Port->SetText(form::frmMakePatch::txtTarget, folder.PathOf("hack.nes"));
    EXPECT_EQ(ExpectColoursShown(*patchMaker, "make-patch.png"), 8);
}

// A fixed background needs a fixed text colour: under a dark theme the forms' colours still show,
// and every control with a colour of its own shows its text in the colour that its form fixes
// (black where it names none; grey on a locked button), not in the theme's light text.
TEST(Screenshots, UnderADarkThemeTheFormsKeepTheirColoursAndTheColoursOfTheirText) {
    const DarkTheme dark;
    std::vector<std::pair<const form::Form*, int>> shown;
    for (const form::Form* f : form::AllForms()) {
        shown.emplace_back(f, 0);
    }
    shown.emplace_back(&form::HowToForm(), 1);
    for (const auto& [f, helpPage] : shown) {
        const std::string shot = std::string(f->Name) + (helpPage == 1 ? "-format" : "") + "-dark";
        SCOPED_TRACE(shot);
        const auto on = ShowForm(*f);
        std::vector<const form::Control*> inked;
        for (const form::Control& c : f->Controls) {
            using enum form::ControlKind;
            if (!c.Back || c.Kind == Shape || c.Kind == Picture || c.Kind == Frame ||
                c.Kind == Drawing) {
                continue;
            }
            // Every one shown, with a text (the help window shows one page at a time).
            if (f != &form::HowToForm()) {
                on->Port->SetVisible(c.Id, true);
            }
            if (c.Kind == TextBox && on->StateOf(c.Id).Text.empty()) {
                on->Port->SetText(c.Id, "B2D3F56BC197FD985D5965079B5E7148");
            } else if (c.Kind != TextBox && c.Caption.empty()) {
                on->Port->SetCaption(c.Id, "Expansion Done");
            }
            inked.push_back(&c);
        }
        if (f == &form::HowToForm()) {
            ShowHelpPage(*on->Port, helpPage);
        }
        EXPECT_GT(ExpectColoursShown(*on, shot + ".png"), 0);
        for (const bool locked : {false, true}) {
            if (locked) {
                for (const form::Control* c : inked) {
                    if (c->Kind == form::ControlKind::PushButton) {
                        on->Port->SetEnabled(c->Id, false);
                    }
                }
                on->Shoot(shot + "-locked.png");
            }
            for (const form::Control* c : inked) {
                if (!on->StateOf(c->Id).Visible ||
                    (locked && c->Kind != form::ControlKind::PushButton)) {
                    continue;
                }
                SCOPED_TRACE(std::string(c->Name) + (locked ? ", locked" : ""));
                // Of the pixels inside it, the one least like its back; a small font's
                // antialiased strokes may not reach their full colour.
                const std::vector<form::Colour> inside = on->ShotInside(c->Id);
                ASSERT_FALSE(inside.empty());
                const form::Colour ink = *std::ranges::max_element(
                    inside, {}, [&c](form::Colour pixel) { return Distance(pixel, *c->Back); });
                ExpectNear(ink, locked ? form::kFixedGreyText : *form::TextColour(*c), 3 * 40);
            }
        }
    }
}

} // namespace

void ExpectPlacedAsDescribed(HostedForm& on, int dpi) {
    const form::Form& f = on.Form();
    const auto pixels = [dpi](std::int32_t twips) { return form::ToPixels(twips, dpi); };
    const WindowState window = on.State();
    EXPECT_EQ(window.Title, f.Caption);
    EXPECT_EQ(window.Client, std::pair(pixels(f.Width), pixels(f.Height)));
    // The menus with their items in order.
    std::vector<std::string> bar;
    for (std::size_t m = 0; m < f.Menus.size(); ++m) {
        bar.emplace_back(f.Menus[m].Caption);
        std::vector<std::string> items;
        for (const form::MenuItem& item : f.Menus[m].Items) {
            items.push_back(std::string(item.Caption) +
                            (item.CtrlKey != 0 ? std::string("\tCtrl+") + item.CtrlKey : ""));
        }
        EXPECT_EQ(window.Menus.at(m), items) << f.Menus[m].Name;
    }
    EXPECT_EQ(window.MenuBar, bar);
    for (const form::Control& c : f.Controls) {
        SCOPED_TRACE(std::string(c.Name));
        const ControlState seen = on.StateOf(c.Id);
        EXPECT_EQ(seen.Parent, c.Parent);
        // A picture at its natural size, its top-left corner in its place.
        const auto [width, height] = c.Kind == form::ControlKind::Picture
                                         ? seen.Image
                                         : std::pair(pixels(c.At.Width), pixels(c.At.Height));
        EXPECT_EQ(seen.Place, (PixelBox{pixels(c.At.Left), pixels(c.At.Top), width, height}));
        EXPECT_TRUE(IsWrappingOf(seen.Text, c.Caption)) << seen.Text;
        EXPECT_EQ(seen.Visible, c.Visible);
        // A screen reader names a box that a label names by that label.
        if (c.LabelledBy && form::ControlOf(f, *c.LabelledBy).Kind == form::ControlKind::Label) {
            EXPECT_EQ(seen.Label, c.LabelledBy);
        }
        switch (c.Kind) {
        case form::ControlKind::OptionButton: EXPECT_EQ(seen.Checked, c.Selected); break;
        case form::ControlKind::TextBox: EXPECT_EQ(seen.Editable, c.Editable); break;
        case form::ControlKind::Label: EXPECT_EQ(seen.Align, c.Align); break;
        case form::ControlKind::Frame:
        case form::ControlKind::Picture:
        case form::ControlKind::Shape: continue; // no text to show
        default: break;
        }
        const form::Font font = c.TextFont.Family.empty() ? on.DefaultFont() : c.TextFont;
        EXPECT_EQ(seen.Family, font.Family);
        EXPECT_EQ(std::lround(seen.Pixels), std::lround(font.Points * dpi / 72));
        EXPECT_EQ(seen.Bold, font.Bold);
        // The family itself or its look-alike, not the font mapper's fallback.
        EXPECT_TRUE(seen.Resolved == font.Family || seen.Resolved == LookAlike(font.Family))
            << seen.Resolved;
    }
}

int ExpectColoursShown(HostedForm& on, const std::string& file) {
    SCOPED_TRACE(file);
    on.Shoot(file);
    // The window's own colour, low at its left edge where no control lies.
    Point bare{3, form::ToPixels(on.Form().Height) - 5};
    while (bare.Y > 0 && on.TopAt(bare)) {
        --bare.Y;
    }
    {
        SCOPED_TRACE("the window");
        ExpectNear(on.ShotAt(bare), on.Form().Back);
    }
    int probed = 0;
    for (const form::Control& c : on.Form().Controls) {
        if ((!c.Back && c.Kind != form::ControlKind::Picture) || !on.StateOf(c.Id).Visible) {
            continue;
        }
        const std::optional<Point> at = on.PointOnTop(c.Id);
        if (!at) {
            continue;
        }
        SCOPED_TRACE(std::string(c.Name));
        ExpectNear(on.ShotAt(*at), c.Back ? *c.Back : on.PictureAt(c.Id, *at));
        ++probed;
    }
    return probed;
}

} // namespace kelbrin::test
