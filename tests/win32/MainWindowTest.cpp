// The Win32 main window through its controls: the layout against the shared description, the
// four ways to start a run, the controls locked while one is under way, the boxes, the status
// line and MD5 row, and leaving the program.

#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;
using form::MenuId;

TEST(MainWindow, EveryControlStandsAsDescribed) {
    MainWindowOn on;
    ExpectLaidOutAsDescribed(on.Window->Handle(), form::KelbrinForm(), true);
    // Only the text can be selected and copied.
    EXPECT_NE(::GetWindowLongPtrW(on.Control(ControlId::txtMD5), GWL_STYLE) & ES_READONLY, 0);
}

TEST(MainWindow, MovedToAScreenOfAnotherDpiItIsLaidOutAnew) {
    MainWindowOn on;
    RECT suggested{10, 10, 600, 600};
    ::SendMessageW(on.Window->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    ExpectLaidOutAsDescribed(on.Window->Handle(), form::KelbrinForm(), true, 144);
}

TEST(MainWindow, MenusHoldTheDescribedItemsWithTheirKeys) {
    MainWindowOn on;
    HMENU bar = ::GetMenu(on.Window->Handle());
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

// Presses Tab where the focus is, as a person would, and tells where the focus went.
HWND Tab() {
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    return ::GetFocus();
}

TEST(MainWindow, FocusStartsOnTheAddButtonAndTabsOnlyThroughLiveControls) {
    MainWindowOn on;
    const HWND add = on.Control(ControlId::cmdExpand0);
    const HWND remove = on.Control(ControlId::cmdExpand1);
    EXPECT_EQ(::GetFocus(), add);
    EXPECT_EQ(Tab(), remove);
    EXPECT_EQ(Tab(), add);
    on.Window->ShowMD5("0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(Tab(), remove);
    EXPECT_EQ(Tab(), on.Control(ControlId::txtMD5));
    EXPECT_EQ(Tab(), add);
}

TEST(MainWindow, ButtonAndMenuItemOfAnIndexRunTheSameExpansion) {
    for (const bool byMenu : {false, true}) {
        for (const std::int16_t index : {0, 1}) {
            SCOPED_TRACE(std::string(byMenu ? "menu item " : "button ") + std::to_string(index));
            MainWindowOn on;
            on.Script();
            if (byMenu) {
                on.Choose(form::ExpandMenuItem(index));
            } else {
                on.Click(form::ExpandButton(index));
            }
            // The original's own header is replaced, or removed.
            EXPECT_EQ(on.Folder.Read("big.nes"), (index == 0 ? ScriptHeader() : "") + Image(8));
            EXPECT_EQ(TextOf(on.Control(ControlId::lblStatus)), L"Expansion Done");
            EXPECT_TRUE(on.Watcher.Boxes().empty());
        }
    }
}

// Both buttons and both expand items, then Exit, How to Use and About.
std::vector<bool> Enabled(const MainWindowOn& on) {
    HMENU menu = ::GetMenu(on.Window->Handle());
    const auto item = [menu](MenuId id) {
        return (::GetMenuState(menu, static_cast<UINT>(win32::CommandId(id)), MF_BYCOMMAND) &
                MF_GRAYED) == 0;
    };
    return {::IsWindowEnabled(on.Control(ControlId::cmdExpand0)) != FALSE,
            ::IsWindowEnabled(on.Control(ControlId::cmdExpand1)) != FALSE,
            item(MenuId::mnuFile_Expand0),
            item(MenuId::mnuFile_Expand1),
            item(MenuId::mnuFile_Exit),
            item(MenuId::mnuHelp_HowTo),
            item(MenuId::mnuHelp_About)};
}

TEST(MainWindow, ExpandControlsAreLockedDuringARunAndFreedAfterItWhateverItsEnd) {
    for (const bool broken : {false, true}) {
        SCOPED_TRACE(broken ? "run ends with an error box" : "run succeeds");
        MainWindowOn on;
        on.Script(kSizeLine, broken ? kBrokenLine5 : std::vector<std::string>{});
        std::vector<bool> during;
        std::string statusAfterSecondTry;
        DuringNextPump([&] {
            during = Enabled(on);
            // A second run would have set its own last status before these return.
            on.Click(ControlId::cmdExpand1);
            on.Choose(MenuId::mnuFile_Expand1);
            statusAfterSecondTry = on.Window->Caption(ControlId::lblStatus);
        });
        on.Click(ControlId::cmdExpand0);
        EXPECT_EQ(during, (std::vector<bool>{false, false, false, false, true, true, true}));
        EXPECT_EQ(statusAfterSecondTry, "Copy, Fill, Replace line #4");
        EXPECT_EQ(Enabled(on), std::vector<bool>(7, true));
        EXPECT_EQ(on.Watcher.Boxes().size(), broken ? 1u : 0u);
        // A keyboard user carries on from the button that started the run.
        EXPECT_EQ(::GetFocus(), on.Control(ControlId::cmdExpand0));
    }
}

const std::wstring kHugeFieldBox =
    L"Error #0 -> \r\n\r\nCopy, Fill, or Replace missing on start of line 5: \r\n";

TEST(MainWindow, BoxesAreModalWithOnlyOKAndTheirIcon) {
    struct BoxCase {
        const char* Name;
        std::function<void(MainWindowOn&)> Act;
        std::wstring Title;
        std::wstring Text;
        bool Stop;
    };
    const std::vector<BoxCase> cases{
        {"error of a run",
         [](MainWindowOn& on) {
             on.Script(kSizeLine, kBrokenLine5);
             on.Click(ControlId::cmdExpand1);
         },
         L"Error", kBrokenLine5Box, true},
        // A row name of a megabyte is quoted in the message; the box shows its start.
        {"error quoting a huge field",
         [](MainWindowOn& on) {
             on.Script(kSizeLine, {std::string(1 << 20, 'X')});
             on.Click(ControlId::cmdExpand1);
         },
         L"Error", kHugeFieldBox + std::wstring(2000 - kHugeFieldBox.size(), L'X') + L" \u2026",
         true},
        {"About", [](MainWindowOn& on) { on.Choose(MenuId::mnuHelp_About); }, L"About Kelbrin",
         L"Kelbrin\r\nVer. 11.11.29\r\n\r\n"
         L"A handy utility for custom expanding any ROM file\r\n"
         L"before using an IPS (or any other type of) patch.",
         false},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainWindowOn on;
        c.Act(on);
        const std::vector<SeenBox> boxes = on.Watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Title, c.Title);
        EXPECT_EQ(boxes[0].Text, c.Text);
        EXPECT_EQ(boxes[0].Icon, c.Stop ? ::LoadIconW(nullptr, MAKEINTRESOURCEW(32513)) : nullptr);
        EXPECT_EQ(boxes[0].Buttons, std::vector<std::wstring>{L"OK"});
    }
}

TEST(MainWindow, StatusLineAndMD5RowFollowEachRun) {
    MainWindowOn on;
    const auto row = [&] {
        return std::pair(::IsWindowVisible(on.Control(ControlId::lblMD5)) != FALSE,
                         ::IsWindowVisible(on.Control(ControlId::txtMD5)) != FALSE);
    };
    const auto status = [&] { return TextOf(on.Control(ControlId::lblStatus)); };
    EXPECT_EQ(status(), L"");
    EXPECT_EQ(row(), std::pair(false, false));

    on.Script(kSizeLine + "\t?");
    on.Click(ControlId::cmdExpand1);
    EXPECT_EQ(row(), std::pair(true, true));
    EXPECT_EQ(TextOf(on.Control(ControlId::txtMD5)), L"B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(status(), L"Expansion Done");
    EXPECT_EQ(on.Watcher.Boxes().size(), 1u); // the mismatch warning

    on.Script();
    on.Click(ControlId::cmdExpand1);
    EXPECT_EQ(row(), std::pair(false, false));
    EXPECT_EQ(status(), L"Expansion Done");

    on.Script(kSizeLine, kBrokenLine5);
    on.Click(ControlId::cmdExpand1);
    EXPECT_EQ(status(), L"Ended due to Error");
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

TEST(MainWindow, OnlyLeavingDuringARunEndsTheProgramAtOnce) {
    struct EndCase {
        const char* Name;
        bool DuringRun;
        std::function<void(MainWindowOn&)> Act;
        int EndCalls;
    };
    const std::vector<EndCase> cases{
        {"Exit", true, [](MainWindowOn& on) { on.Choose(MenuId::mnuFile_Exit); }, 1},
        {"Ctrl+Q", true, [](MainWindowOn& on) { PressCtrlQ(on.Window->Handle()); }, 1},
        {"close box", true,
         [](MainWindowOn& on) { ::SendMessageW(on.Window->Handle(), WM_CLOSE, 0, 0); }, 1},
        {"Ctrl+Q when idle", false, [](MainWindowOn& on) { PressCtrlQ(on.Window->Handle()); }, 0},
        {"close box when idle", false,
         [](MainWindowOn& on) { ::SendMessageW(on.Window->Handle(), WM_CLOSE, 0, 0); }, 0},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainWindowOn on;
        on.Script();
        if (c.DuringRun) {
            DuringNextPump([&] { c.Act(on); });
            on.Click(ControlId::cmdExpand0);
        } else {
            c.Act(on);
            EXPECT_FALSE(on.Window->IsOpen());
        }
        EXPECT_EQ(on.EndCalls, c.EndCalls);
    }
}

} // namespace
} // namespace kelbrin::test
