// The forms as the Win32 host draws them: each control the system's of its kind, the main window
// at any DPI, the MD5 box above its label; the status line after a folder was asked for.
// What every host does alike is in tests/forms/HostConformanceTest.cpp.

#include <algorithm>

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
        FormOn on(form::KelbrinForm());
        RECT suggested{10, 10, 700, 600};
        ::SendMessageW(on.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        ExpectPlacedAsDescribed(on, dpi);
        Shoot(on.Handle(), L"main-" + std::to_wstring(dpi) + L"dpi.png");
    }
}

// Where the MD5 box overlaps its label, the box's edge shows, not the label's green.
TEST(MainWindow, TheMD5BoxLiesAboveItsLabel) {
    FormOn on(form::KelbrinForm());
    on.Port->SetVisible(form::frmKelbrin::txtMD5, true);
    on.Port->SetVisible(form::frmKelbrin::lblMD5, true);
    RECT edge;
    RECT under;
    ::GetWindowRect(on.Control(form::frmKelbrin::txtMD5), &edge);
    ::GetWindowRect(on.Control(form::frmKelbrin::lblMD5), &under);
    ASSERT_LT(edge.left, under.right);
    const COLORREF shown =
        Shoot(on.Handle(), L"main-md5-label.png")->At({edge.left, (edge.top + edge.bottom) / 2});
    EXPECT_NE(shown, RGB(0, 255, 0));
}

// With no folder chosen, File, ROM Information asks for one and shows the box; the status line
// then shows what the handlers set for the folder chosen, not what it showed before. The main
// window is the program's, its handlers at work, installed: in a program folder of its own with
// no script, nothing chosen.
TEST(MainWindow, StatusLineShowsTheChosenFolderAfterInformationAskedForIt) {
    const TempFolder game;
    const TempFolder home;
    WriteGame(game);
    UseCommonControls();
    TestDesktop desktop;
    std::optional<frmKelbrin> program(std::in_place, desktop, home.Path());
    program->Show();
    Pump();
    const HWND window = ShownWindow(Widen(form::KelbrinForm().Caption));
    std::optional<BoxWatcher> watcher(std::in_place, window);
    EXPECT_EQ(WindowText(ControlIn(window, form::frmKelbrin::lblStatus)),
              L"Choose the folder with Kelbrin.txt");
    desktop.FolderToChoose = game.Path();
    bool infoShown = false;
    DuringNextPump([&] {
        HWND info = ShownWindow(Widen(form::InfoForm().Caption));
        infoShown = info != nullptr;
        ::SendMessageW(ControlIn(info, form::frmInfo::cmdClose), BM_CLICK, 0, 0);
    });
    ::SendMessageW(window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuFile_Info), 0), 0);
    EXPECT_TRUE(infoShown);
    EXPECT_EQ(WindowText(ControlIn(window, form::frmKelbrin::lblStatus)), L"");
    watcher.reset();
    program.reset();
    ForgetClosedWindows();
}

} // namespace
} // namespace kelbrin::test
