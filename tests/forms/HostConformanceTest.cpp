// What every toolkit's host does alike, run by each toolkit's tests through its driver
// (HostedForm.h): every control and menu item of every form reaching the form's events, the
// menus and the tab order as the form has them, what the port sets showing at once, and the
// message boxes.

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "AllForms.h"
#include "HostedForm.h"
#include "HowToForm.h"
#include "InfoForm.h"
#include "KelbrinForm.h"

namespace kelbrin::test {
namespace {

namespace main = form::frmKelbrin;

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
                                     on.Events().Log.clear();
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
    cases.push_back({"close box", kelbrin, [](HostedForm& on) { on.CloseBox(); }, {"close"}});
    cases.push_back({"drop",
                     kelbrin,
                     [](HostedForm& on) {
                         on.Port().TakeDrops(true);
                         EXPECT_TRUE(on.Drop("/tmp/caf\xC3\xA9 game/x.nes"));
                     },
                     {"drop:/tmp/caf\xC3\xA9 game/x.nes"}});
    cases.push_back({"drop on a window that takes none",
                     kelbrin,
                     [](HostedForm& on) {
                         on.Port().TakeDrops(false);
                         EXPECT_FALSE(on.Drop("/tmp/game"));
                     },
                     {}});
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto on = ShowForm(*c.Form);
        c.Act(*on);
        EXPECT_EQ(on->Events().Log, c.Log);
    }
}

TEST(Forms, WindowStaysWhenItsFormRefusesToClose) {
    const auto on = ShowForm(form::KelbrinForm());
    on->Events().MayClose = false;
    on->CloseBox();
    EXPECT_TRUE(on->Port().IsOpen());
    // The form closing its window itself is not asked.
    on->Port().Close();
    EXPECT_FALSE(on->Port().IsOpen());
    EXPECT_EQ(on->Events().Log, std::vector<std::string>{"close"});
}

TEST(Forms, WhatThePortSetsShowsAtOnce) {
    const auto on = ShowForm(form::KelbrinForm());
    FormPort& port = on->Port();
    port.SetCaption(main::lblStatus, "Copy, Fill, Replace line #4");
    EXPECT_EQ(on->Shown(main::lblStatus), "Copy, Fill, Replace line #4");
    // Script text that is no UTF-8 reads as Windows-1252.
    port.SetCaption(main::lblStatus, "No caf\xE9");
    EXPECT_EQ(on->Shown(main::lblStatus), "No caf\xC3\xA9");
    EXPECT_EQ(port.Caption(main::lblTitle1), "Ver. 11.11.29");
    port.SetText(main::txtMD5, "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(on->Shown(main::txtMD5), "B2D3F56BC197FD985D5965079B5E7148");
    port.SetVisible(main::txtMD5, true);
    EXPECT_TRUE(on->IsVisible(main::txtMD5));
    port.SetEnabled(main::cmdExpand0, false);
    EXPECT_FALSE(on->IsEnabled(main::cmdExpand0));
    port.SetEnabled(main::mnuFile_Info, false);
    EXPECT_FALSE(on->IsEnabled(main::mnuFile_Info));
    port.SetTitleName("t1");
    EXPECT_EQ(on->Title(), "Kelbrin \u2013 t1");
    port.SetTitleName("");
    EXPECT_EQ(on->Title(), "Kelbrin");

    // A text's lines may end in LF alone.
    const auto info = ShowForm(form::InfoForm());
    info->Port().SetText(form::frmInfo::txtInfo, "Original: orig.nes\nHeader: none\n");
    EXPECT_EQ(info->Shown(form::frmInfo::txtInfo), "Original: orig.nes\nHeader: none\n");

    const auto help = ShowForm(form::HowToForm());
    help->Port().SetPicture(form::frmHowTo::Image1, form::Picture::SampleOriginal);
    EXPECT_EQ(help->PictureSize(form::frmHowTo::Image1), std::pair(425, 149));
}

TEST(MainWindow, MenusHoldTheFormsItemsInOrder) {
    const auto on = ShowForm(form::KelbrinForm());
    const std::vector<form::Menu>& menus = form::KelbrinForm().Menus;
    std::vector<std::string> bar;
    for (std::size_t m = 0; m < menus.size(); ++m) {
        bar.emplace_back(menus[m].Caption);
        std::vector<std::string> items;
        for (const form::MenuItem& item : menus[m].Items) {
            items.push_back(std::string(item.Caption) +
                            (item.CtrlKey != 0 ? std::string("\tCtrl+") + item.CtrlKey : ""));
        }
        EXPECT_EQ(on->MenuItems(m), items) << menus[m].Name;
    }
    EXPECT_EQ(on->MenuBar(), bar);
}

TEST(MainWindow, FocusStartsOnTheAddButtonAndTabsThroughLiveControls) {
    const auto on = ShowForm(form::KelbrinForm());
    const auto tab = [&on] {
        on->PressTab();
        return on->Focus();
    };
    EXPECT_EQ(on->Focus(), form::ControlId(main::cmdExpand0));
    EXPECT_EQ(tab(), form::ControlId(main::cmdExpand1));
    EXPECT_EQ(tab(), form::ControlId(main::cmdExpand0));
    on->Port().SetVisible(main::txtMD5, true);
    EXPECT_EQ(tab(), form::ControlId(main::cmdExpand1));
    EXPECT_EQ(tab(), form::ControlId(main::txtMD5));
    EXPECT_EQ(tab(), form::ControlId(main::cmdExpand0));
    on->Port().SetEnabled(main::cmdExpand1, false);
    EXPECT_EQ(tab(), form::ControlId(main::txtMD5));
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
        const SeenMessageBox box = on->ShowMessageBox(c.Message, "Title", c.Icon);
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
        EXPECT_EQ(box.Icon, c.Icon);
        EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"});
        EXPECT_TRUE(box.OverItsWindow);
    }
}

} // namespace
} // namespace kelbrin::test
