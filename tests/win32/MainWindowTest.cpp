// The forms as the Win32 host draws them: as they are described, the main window at any DPI,
// with its menus and tab order; every control, menu item, Ctrl key, drop and close box of every
// form reaching the form's events; what the port sets, shown at once; and the message boxes.

#include <algorithm>
#include <tuple>
// DROPFILES, after windows.h.
#include <shlobj.h>

#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

using form::MenuId;

TEST(Forms, EveryControlOfEveryFormStandsAsDescribed) {
    for (const form::Form* design : form::AllForms()) {
        SCOPED_TRACE(std::string(design->Name));
        FormOn on(*design);
        ExpectLaidOutAsDescribed(on.Handle(), *design, true);
        EXPECT_EQ(::GetWindow(on.Handle(), GW_OWNER), nullptr);
        EXPECT_EQ(::GetMenu(on.Handle()) != nullptr, !design->Menus.empty());
        EXPECT_EQ(::GetFocus(), on.Control(design->TabOrder.front()));
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(c.Name));
            const LONG_PTR style = ::GetWindowLongPtrW(on.Control(c.Id), GWL_STYLE);
            // Text can be selected and copied, and edited only where the form says so.
            if (c.Kind == form::ControlKind::TextBox) {
                EXPECT_EQ((style & ES_READONLY) == 0, c.Editable);
                EXPECT_EQ((style & WS_VSCROLL) != 0, c.MultiLine);
            }
            if (c.Kind == form::ControlKind::Label) {
                EXPECT_EQ(style & SS_TYPEMASK, c.Align == form::TextAlign::Left    ? SS_LEFT
                                               : c.Align == form::TextAlign::Right ? SS_RIGHT
                                                                                   : SS_CENTER);
            }
            if (c.Kind == form::ControlKind::OptionButton) {
                EXPECT_EQ(::SendMessageW(on.Control(c.Id), BM_GETCHECK, 0, 0),
                          c.Selected ? BST_CHECKED : BST_UNCHECKED);
            }
        }
    }
}

TEST(MainWindow, MovedToAScreenOfAnotherDpiItIsLaidOutAnew) {
    for (const WORD dpi : {144, 192}) {
        SCOPED_TRACE(dpi);
        FormOn on(form::KelbrinForm());
        RECT suggested{10, 10, 700, 600};
        ::SendMessageW(on.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        ExpectLaidOutAsDescribed(on.Handle(), form::KelbrinForm(), true, dpi);
        Shoot(on.Handle(), L"main-" + std::to_wstring(dpi) + L"dpi.png");
    }
}

TEST(MainWindow, MenusHoldTheDescribedItemsWithTheirKeys) {
    FormOn on(form::KelbrinForm());
    HMENU bar = ::GetMenu(on.Handle());
    const auto& menus = form::KelbrinForm().Menus;
    ASSERT_EQ(::GetMenuItemCount(bar), static_cast<int>(menus.size()));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        SCOPED_TRACE(std::string(menus[m].Name));
        wchar_t text[128] = {};
        ::GetMenuStringW(bar, static_cast<UINT>(m), text, 128, MF_BYPOSITION);
        EXPECT_EQ(text, Wide(menus[m].Caption));
        HMENU popup = ::GetSubMenu(bar, static_cast<int>(m));
        ASSERT_EQ(::GetMenuItemCount(popup), static_cast<int>(menus[m].Items.size()));
        for (std::size_t i = 0; i < menus[m].Items.size(); ++i) {
            const form::MenuItem& item = menus[m].Items[i];
            SCOPED_TRACE(std::string(item.Name));
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 128;
            ASSERT_TRUE(::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info));
            if (item.Caption == "-") {
                EXPECT_NE(info.fType & MFT_SEPARATOR, 0u);
                continue;
            }
            EXPECT_EQ(info.wID, static_cast<UINT>(win32::CommandId(item.Id)));
            const std::wstring key =
                item.CtrlKey != 0 ? std::wstring(L"\tCtrl+") + wchar_t(item.CtrlKey) : L"";
            EXPECT_EQ(text, Wide(item.Caption) + key);
        }
    }
}

TEST(MainWindow, FocusStartsOnTheAddButtonAndTabsOnlyThroughLiveControls) {
    FormOn on(form::KelbrinForm());
    const HWND add = on.Control(form::frmKelbrin::cmdExpand0);
    const HWND remove = on.Control(form::frmKelbrin::cmdExpand1);
    EXPECT_EQ(::GetFocus(), add);
    EXPECT_EQ(Press(VK_TAB), remove);
    EXPECT_EQ(Press(VK_TAB), add);
    on.Port->SetVisible(form::frmKelbrin::txtMD5, true);
    EXPECT_EQ(Press(VK_TAB), remove);
    EXPECT_EQ(Press(VK_TAB), on.Control(form::frmKelbrin::txtMD5));
    EXPECT_EQ(Press(VK_TAB), add);
    on.Port->SetEnabled(form::frmKelbrin::cmdExpand1, false);
    EXPECT_EQ(Press(VK_TAB), on.Control(form::frmKelbrin::txtMD5));
}

// Ctrl+Q as the keyboard gives it: the key comes while Ctrl is down.
void PressCtrlQ(HWND window) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    const BYTE control = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageW(window, WM_KEYDOWN, 'Q', 0);
    Pump();
    keys[VK_CONTROL] = control;
    ::SetKeyboardState(keys);
}

// Drops `path` on the window the way Explorer does: a DROPFILES block with the names in UTF-16.
void Drop(HWND window, const std::wstring& path) {
    const std::size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
    path.copy(names, path.size());
    ::GlobalUnlock(block);
    ::SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

TEST(Forms, EveryButtonOptionMenuItemKeyDropAndCloseBoxReachesTheFormsEvents) {
    struct EventCase {
        std::string Name;
        const form::Form* Form;
        std::function<void(FormOn&)> Act;
        std::vector<std::string> Log;
    };
    std::vector<EventCase> cases;
    for (const form::Form* design : form::AllForms()) {
        for (const form::Control& c : design->Controls) {
            if (c.Kind == form::ControlKind::PushButton ||
                c.Kind == form::ControlKind::OptionButton) {
                cases.push_back(
                    {std::string(c.Name),
                     design,
                     [id = c.Id](FormOn& on) { ::SendMessageW(on.Control(id), BM_CLICK, 0, 0); },
                     {"click:" + std::string(c.Name)}});
            }
        }
        for (const form::Menu& menu : design->Menus) {
            for (const form::MenuItem& item : menu.Items) {
                if (item.Caption != "-") {
                    cases.push_back({std::string(item.Name),
                                     design,
                                     [id = item.Id](FormOn& on) { on.Choose(id); },
                                     {"choose:" + std::string(item.Name)}});
                }
            }
        }
    }
    const auto* main = &form::KelbrinForm();
    const TempFolder game;
    cases.push_back(
        {"Ctrl+Q", main, [](FormOn& on) { PressCtrlQ(on.Handle()); }, {"choose:mnuFile_Exit"}});
    cases.push_back({"close box",
                     main,
                     [](FormOn& on) { ::SendMessageW(on.Handle(), WM_CLOSE, 0, 0); },
                     {"close"}});
    cases.push_back({"drop",
                     main,
                     [&game](FormOn& on) {
                         on.Port->TakeDrops(true);
                         Drop(on.Handle(), Wide(game.PathOf("Kelbrin.txt")));
                     },
                     {"drop:" + game.PathOf("Kelbrin.txt")}});
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FormOn on(*c.Form);
        c.Act(on);
        EXPECT_EQ(on.Events.Log, c.Log);
    }
}

// A screen reader names a text box by the label just above it in the stacking order, reads a
// caption anew when it hears that its name changed, and says what the status line announces
// wherever the focus is: the line is a polite live region, and an announcement raises its
// change. (Wine has no annotation service to make it one, and no screen reader to say it; the
// event is what the program does.)
std::vector<std::tuple<DWORD, HWND, LONG>> heard;

TEST(MainWindow, ScreenReadersPairTheMD5BoxWithItsLabelAndHearTheStatusLine) {
    FormOn on(form::KelbrinForm());
    const HWND box = on.Control(form::frmKelbrin::txtMD5);
    const HWND label = on.Control(form::frmKelbrin::lblMD5);
    EXPECT_EQ(::GetWindow(box, GW_HWNDPREV), label);
    // Where the two overlap, the box's edge shows, not the label's green.
    on.Port->SetVisible(form::frmKelbrin::txtMD5, true);
    on.Port->SetVisible(form::frmKelbrin::lblMD5, true);
    RECT edge;
    RECT under;
    ::GetWindowRect(box, &edge);
    ::GetWindowRect(label, &under);
    ASSERT_LT(edge.left, under.right);
    const COLORREF shown =
        Shoot(on.Handle(), L"main-md5-label.png")->At({edge.left, (edge.top + edge.bottom) / 2});
    EXPECT_NE(shown, RGB(0, 255, 0));
    HWINEVENTHOOK hook = ::SetWinEventHook(
        EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
        [](HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
            heard.emplace_back(event, window, object);
        },
        ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const HWND status = on.Control(form::frmKelbrin::lblStatus);
    const auto raised = [status](DWORD event) {
        return std::ranges::find(heard, std::tuple{event, status,
                                                   static_cast<LONG>(OBJID_CLIENT)}) != heard.end();
    };
    struct StatusCase {
        const char* Text;
        bool Announced;
    };
    for (const StatusCase& c :
         {StatusCase{"Writing Header", true}, StatusCase{"Copy, Fill, Replace line #4", false},
          StatusCase{"Expansion Done", true}}) {
        SCOPED_TRACE(c.Text);
        heard.clear();
        if (c.Announced) {
            on.Port->Announce(form::frmKelbrin::lblStatus, c.Text);
        } else {
            on.Port->SetCaption(form::frmKelbrin::lblStatus, c.Text);
        }
        Pump();
        EXPECT_EQ(TextOf(status), Wide(c.Text));
        EXPECT_TRUE(raised(EVENT_OBJECT_NAMECHANGE));
        EXPECT_EQ(raised(EVENT_OBJECT_LIVEREGIONCHANGED), c.Announced);
    }
    ::UnhookWinEvent(hook);
}

TEST(Forms, WhatThePortSetsShowsAtOnce) {
    FormOn on(form::KelbrinForm());
    FormPort& port = *on.Port;
    port.SetCaption(form::frmKelbrin::lblStatus, "Copy, Fill, Replace line #4");
    EXPECT_EQ(TextOf(on.Control(form::frmKelbrin::lblStatus)), L"Copy, Fill, Replace line #4");
    EXPECT_EQ(port.Caption(form::frmKelbrin::lblTitle1), "Ver. 11.11.29");
    port.SetText(form::frmKelbrin::txtMD5, "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(TextOf(on.Control(form::frmKelbrin::txtMD5)), L"B2D3F56BC197FD985D5965079B5E7148");
    port.SetVisible(form::frmKelbrin::txtMD5, true);
    EXPECT_TRUE(::IsWindowVisible(on.Control(form::frmKelbrin::txtMD5)));
    port.SetEnabled(form::frmKelbrin::cmdExpand0, false);
    EXPECT_FALSE(::IsWindowEnabled(on.Control(form::frmKelbrin::cmdExpand0)));
    port.SetEnabled(form::frmKelbrin::mnuFile_Info, false);
    EXPECT_NE(::GetMenuState(::GetMenu(on.Handle()),
                             static_cast<UINT>(win32::CommandId(form::frmKelbrin::mnuFile_Info)),
                             MF_BYCOMMAND) &
                  MF_GRAYED,
              0u);
    port.SetTitleName("t1");
    EXPECT_EQ(TextOf(on.Handle()), L"Kelbrin \u2013 t1");
    port.SetTitleName("");
    EXPECT_EQ(TextOf(on.Handle()), L"Kelbrin");

    // An edit control shows lines that end in LF on lines of their own.
    FormOn info(form::InfoForm());
    info.Port->SetText(form::frmInfo::txtInfo, "Original: orig.nes\nHeader: none\n");
    EXPECT_EQ(TextOf(info.Control(form::frmInfo::txtInfo)),
              L"Original: orig.nes\r\nHeader: none\r\n");

    FormOn help(form::HowToForm());
    help.Port->SetPicture(form::frmHowTo::Image1, form::Picture::SampleOriginal);
    EXPECT_EQ(PictureSize(help.Control(form::frmHowTo::Image1)).cx, 425);
    EXPECT_EQ(PictureSize(help.Control(form::frmHowTo::Image1)).cy, 149);
}

// With no folder chosen, File, ROM Information asks for one and shows the box; the status line
// then shows what the handlers set for the folder chosen, not what it showed before.
TEST(MainWindow, StatusLineShowsTheChosenFolderAfterInformationAskedForIt) {
    const TempFolder game;
    WriteGame(game);
    ProgramOn on(false);
    ASSERT_EQ(TextOf(on.Control(form::frmKelbrin::lblStatus)),
              L"Choose the folder with Kelbrin.txt");
    on.Desktop.FolderToChoose = game.Path();
    bool infoShown = false;
    DuringNextPump([&] {
        HWND info = ShownWindow(Wide(form::InfoForm().Caption));
        infoShown = info != nullptr;
        ::SendMessageW(ControlIn(info, form::frmInfo::cmdClose), BM_CLICK, 0, 0);
    });
    ::SendMessageW(on.Window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuFile_Info), 0), 0);
    EXPECT_TRUE(infoShown);
    EXPECT_EQ(TextOf(on.Control(form::frmKelbrin::lblStatus)), L"");
}

const std::wstring kHugeFieldBox = L"Error #0 -> \r\n\r\n";

TEST(Desktop, MessageBoxesAreModalOverTheirWindowWithOnlyOKAndTheirIcon) {
    struct BoxCase {
        const char* Name;
        std::string Message;
        MessageBoxIcon Icon;
        std::wstring Shown;
    };
    // A message may quote a script line of megabytes; the box shows its start.
    const std::vector<BoxCase> cases{
        {"error", "Error #0 -> \r\n\r\nFIL", MessageBoxIcon::Stop, L"Error #0 -> \r\n\r\nFIL"},
        {"huge", "Error #0 -> \r\n\r\n" + std::string(1 << 20, 'X'), MessageBoxIcon::Stop,
         kHugeFieldBox + std::wstring(2000 - kHugeFieldBox.size(), L'X') + L" \u2026"},
        {"no icon", "Kelbrin\r\nVer. 11.11.29", MessageBoxIcon::None, L"Kelbrin\r\nVer. 11.11.29"},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FormOn on(form::KelbrinForm());
        on.Desktop.ShowMessageBox(*on.Port, c.Message, "Title", c.Icon);
        const std::vector<SeenBox> boxes = on.Watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Title, L"Title");
        EXPECT_EQ(boxes[0].Text, c.Shown);
        EXPECT_EQ(boxes[0].Icon, c.Icon == MessageBoxIcon::Stop
                                     ? ::LoadIconW(nullptr, MAKEINTRESOURCEW(32513))
                                     : nullptr);
        EXPECT_EQ(boxes[0].Buttons, std::vector<std::wstring>{L"OK"});
    }
}

} // namespace
} // namespace kelbrin::test
