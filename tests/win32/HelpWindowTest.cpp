// The help window as the Win32 host draws it: its two pages, never breaking a line; laid out at
// 200 %; and the program going on while it is open.

#include <algorithm>

#include "HelpTexts.h"
#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

// At any DPI: the font and the box grow together, though the font's advances round to whole
// pixels in their own way (at 200 % the window is laid out smaller where the work area cannot
// hold it).
TEST(HelpWindow, PagesAreTheHelpTextsAndBreakNoLineAgainAtAnyDpi) {
    FormOn on(form::HowToForm());
    const std::string* texts[2] = {&UsageHelpText(), &FormatHelpText()};
    for (const WORD dpi : {96, 120, 144, 168, 192}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 600, 500};
        ::SendMessageW(on.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        for (std::int16_t i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            HWND page = on.Control(form::frmHowTo::txtHowTo(i));
            EXPECT_EQ(WindowText(page), Widen(*texts[i]));
            // The texts carry their own line breaks; none of their lines is broken again.
            EXPECT_EQ(::SendMessageW(page, EM_GETLINECOUNT, 0, 0),
                      std::ranges::count(*texts[i], '\n') + 1);
        }
    }
}

// The screen's work area of Wine's null display is 1024 x 768 pixels: at 200 % the window's
// 1200 x 1040 would reach past it.
TEST(HelpWindow, AtTwoHundredPercentItIsLaidOutAsLargeAsTheWorkAreaHoldsAndLiesInIt) {
    FormOn on(form::HowToForm());
    const HWND window = on.Handle();
    RECT suggested{200, 100, 1400, 1200};
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192),
                   reinterpret_cast<LPARAM>(&suggested));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    RECT outer;
    RECT client;
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    EXPECT_TRUE(outer.left >= work.left && outer.top >= work.top && outer.right <= work.right &&
                outer.bottom <= work.bottom);
    // The DPI it is laid out at, from its client area; one more would not fit.
    const form::Form& help = form::HowToForm();
    int dpi = 192;
    while (dpi > 48 && form::ToPixels(help.Height, dpi) != client.bottom) {
        --dpi;
    }
    EXPECT_LT(dpi, 192);
    EXPECT_GT(form::ToPixels(help.Height, dpi + 1) + (outer.bottom - outer.top) - client.bottom,
              work.bottom - work.top);
    ExpectPlacedAsDescribed(on, dpi);
    Shoot(window, L"help-200.png");
}

TEST(HelpWindow, KeepsTheProgramRunningAfterTheMainWindowClosed) {
    FormOn main(form::KelbrinForm());
    FormOn help(form::HowToForm());
    ::SendMessageW(main.Handle(), WM_CLOSE, 0, 0);
    MSG quit;
    EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    ::SendMessageW(help.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

} // namespace
} // namespace kelbrin::test
