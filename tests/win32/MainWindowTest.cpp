// The forms as the Win32 host draws them: each control the system's of its kind, the main window
// at any DPI;
// what screen readers hear of the status line; the status line after a folder was asked for.
// What every host does alike is in tests/forms/HostConformanceTest.cpp.

#include <algorithm>
#include <tuple>

#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

std::wstring ClassFor(const form::Control& c) {
    switch (c.Kind) {
    case form::ControlKind::Frame: return L"KelbrinFrame";
    case form::ControlKind::TextBox: return L"Edit";
    case form::ControlKind::Drawing: return L"KelbrinDrawing";
    case form::ControlKind::PushButton:
    case form::ControlKind::OptionButton: return L"Button";
    default: return L"Static";
    }
}

// Where they are placed, with what text and font, is checked on every host by
// HostConformanceTest.cpp.
TEST(Forms, EveryControlIsTheSystemsControlOfItsKind) {
    for (const form::Form* design : form::AllForms()) {
        SCOPED_TRACE(std::string(design->Name));
        FormOn on(*design);
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(c.Name));
            EXPECT_EQ(ClassOf(on.Control(c.Id)), ClassFor(c));
            if (c.Kind == form::ControlKind::TextBox) {
                EXPECT_EQ((::GetWindowLongPtrW(on.Control(c.Id), GWL_STYLE) & WS_VSCROLL) != 0,
                          c.MultiLine);
            }
        }
    }
}

TEST(MainWindow, MovedToAScreenOfAnotherDpiItIsLaidOutAnew) {
    for (const WORD dpi : {144, 192}) {
        SCOPED_TRACE(dpi);
        const auto on = ShowForm(form::KelbrinForm());
        RECT suggested{10, 10, 700, 600};
        ::SendMessageW(HandleOf(*on), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        ExpectPlacedAsDescribed(*on, dpi);
        Shoot(HandleOf(*on), L"main-" + std::to_wstring(dpi) + L"dpi.png");
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

// With no folder chosen, File, ROM Information asks for one and shows the box; the status line
// then shows what the handlers set for the folder chosen, not what it showed before.
TEST(MainWindow, StatusLineShowsTheChosenFolderAfterInformationAskedForIt) {
    const TempFolder game;
    WriteGame(game);
    ProgramOn on;
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

} // namespace
} // namespace kelbrin::test
