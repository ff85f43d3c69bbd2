// The Win32 help window: its layout against the shared description, its two pages with the
// pictures under the short one, and the one instance the Help menu opens.

#include <algorithm>

#include "HelpTexts.h"
#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

TEST(HelpWindow, EveryControlStandsAsDescribedInAWindowOfItsOwn) {
    MainWindowOn on;
    HWND help = on.OpenHelp();
    ASSERT_NE(help, nullptr);
    ExpectLaidOutAsDescribed(help, form::HowToForm(), false);
    EXPECT_EQ(::GetWindow(help, GW_OWNER), nullptr);
    EXPECT_EQ(::GetMenu(help), nullptr);
    // The pictures are shown at their natural size.
    EXPECT_EQ(PictureSize(ControlIn(help, ControlId::Image1)).cx, 409);
    EXPECT_EQ(PictureSize(ControlIn(help, ControlId::Image1)).cy, 163);
    EXPECT_EQ(PictureSize(ControlIn(help, ControlId::Image2)).cx, 425);
    EXPECT_EQ(PictureSize(ControlIn(help, ControlId::Image2)).cy, 149);
    EXPECT_EQ(::GetFocus(), ControlIn(help, form::HowToForm().TabOrder.front()));
}

TEST(HelpWindow, PagesAreTheHelpTextsReadOnlyWithAVerticalScrollBar) {
    MainWindowOn on;
    HWND help = on.OpenHelp();
    const std::string* texts[2] = {&UsageHelpText(), &FormatHelpText()};
    for (std::int16_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        HWND page = ControlIn(help, form::HelpPage(i));
        EXPECT_EQ(TextOf(page), Wide(*texts[i]));
        const LONG_PTR style = ::GetWindowLongPtrW(page, GWL_STYLE);
        EXPECT_NE(style & ES_READONLY, 0);
        EXPECT_NE(style & WS_VSCROLL, 0);
        // The texts carry their own line breaks; none of their lines is broken again.
        EXPECT_EQ(::SendMessageW(page, EM_GETLINECOUNT, 0, 0),
                  std::ranges::count(*texts[i], '\n') + 1);
    }
}

// Whether each picture is on top at a point only it covers and, for Image2, where the two
// overlap.
std::vector<bool> PicturesOnTop(HWND help) {
    HWND one = ControlIn(help, ControlId::Image1);
    HWND two = ControlIn(help, ControlId::Image2);
    const RECT a = PlaceOf(one);
    const RECT b = PlaceOf(two);
    const auto topAt = [help](LONG x, LONG y) {
        return ::ChildWindowFromPointEx(help, POINT{x, y}, CWP_SKIPINVISIBLE);
    };
    return {topAt(a.right - 4, a.bottom - 4) == one, topAt(b.left + 4, b.top + 4) == two,
            topAt((a.left + b.right) / 2, (a.top + b.bottom) / 2) == two};
}

TEST(HelpWindow, PagesShowTheirTextAndStripAndOnlyTheFormatPageUncoversThePictures) {
    MainWindowOn on;
    HWND help = on.OpenHelp();
    struct PageCase {
        const char* Name;
        int Select; // -1: as opened
        int Page;
    };
    for (const PageCase& c :
         {PageCase{"opened", -1, 0}, PageCase{"format", 1, 1}, PageCase{"usage again", 0, 0}}) {
        SCOPED_TRACE(c.Name);
        if (c.Select >= 0) {
            ::SendMessageW(ControlIn(help, form::HelpOption(static_cast<std::int16_t>(c.Select))),
                           BM_CLICK, 0, 0);
        }
        for (std::int16_t i = 0; i < 2; ++i) {
            EXPECT_EQ(::IsWindowVisible(ControlIn(help, form::HelpPage(i))) != FALSE, i == c.Page);
            EXPECT_EQ(::IsWindowVisible(ControlIn(help, form::HelpStrip(i))) != FALSE, i == c.Page);
            EXPECT_EQ(::SendMessageW(ControlIn(help, form::HelpOption(i)), BM_GETCHECK, 0, 0),
                      i == c.Page ? BST_CHECKED : BST_UNCHECKED);
        }
        EXPECT_EQ(PicturesOnTop(help), std::vector<bool>(3, c.Page == 1));
    }
}

TEST(HelpWindow, OneInstanceWhileOpenAndAFreshOneOnTheUsagePageOnceClosed) {
    MainWindowOn on;
    HWND first = on.OpenHelp();
    ::SendMessageW(ControlIn(first, form::HelpOption(1)), BM_CLICK, 0, 0);
    EXPECT_EQ(on.OpenHelp(), first);
    // Brought forward unchanged.
    EXPECT_TRUE(::IsWindowVisible(ControlIn(first, form::HelpPage(1))));

    ::SendMessageW(ControlIn(first, ControlId::cmdOK), BM_CLICK, 0, 0);
    EXPECT_EQ(on.HelpWindow(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(on.Window->Handle()));

    HWND second = on.OpenHelp();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(::IsWindowVisible(ControlIn(second, form::HelpPage(0))));
    EXPECT_EQ(::SendMessageW(ControlIn(second, form::HelpOption(0)), BM_GETCHECK, 0, 0),
              BST_CHECKED);
}

TEST(HelpWindow, KeepsTheProgramRunningAfterTheMainWindowClosed) {
    MainWindowOn on;
    HWND help = on.OpenHelp();
    ::SendMessageW(on.Window->Handle(), WM_CLOSE, 0, 0);
    MSG quit;
    EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    ::SendMessageW(ControlIn(help, ControlId::cmdOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

} // namespace
} // namespace kelbrin::test
