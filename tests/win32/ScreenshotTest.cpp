// Captures both windows as Wine draws them (the main window idle, with the MD5 row, under an
// error box; the help window on both pages) into PNG files for a person to look at, and checks
// the drawn pixels: wherever a control with a colour of its own lies on top, that colour shows;
// wherever a picture does, its own pixels show. A colour that reaches no pixel would pass every
// other test and still look wrong.

#include <array>

#include "AnsiText.h"
#include "LayoutDrawing.h"
#include "ScriptCheck.h"
#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

// Summed over the three channels: room for a faint shade, not for another colour.
constexpr int kTolerance = 24;

int Distance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// A point of `control` (on the screen) where it lies on top and none of its own children
// covers it: near the right end of its client area (left of any scroll bar), else near the left
// end, halfway down, clear of captions and edges.
std::optional<POINT> PointOnTop(HWND control) {
    RECT client;
    ::GetClientRect(control, &client);
    for (const LONG x : {client.right - 4, client.left + 3}) {
        POINT inControl{x, client.bottom / 2};
        POINT inParent = inControl;
        ::MapWindowPoints(control, ::GetParent(control), &inParent, 1);
        if (::ChildWindowFromPointEx(::GetParent(control), inParent, CWP_SKIPINVISIBLE) ==
                control &&
            ::ChildWindowFromPointEx(control, inControl, CWP_SKIPINVISIBLE) == control) {
            ::ClientToScreen(control, &inControl);
            return inControl;
        }
    }
    return std::nullopt;
}

COLORREF PicturePixel(HWND picture, POINT screen) {
    ::ScreenToClient(picture, &screen);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(
        dc, reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    const COLORREF colour = ::GetPixel(dc, screen.x, screen.y);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    return colour;
}

// Shoots `window` into `file` and probes every visible control of `form` that is on top
// somewhere; returns how many were probed.
int ShootAndProbe(HWND window, const form::Form& form, const std::wstring& file) {
    SCOPED_TRACE(win32::Narrow(file));
    const auto shot = Shoot(window, file);
    int probed = 0;
    for (const form::Control& c : form.Controls) {
        HWND control = ControlIn(window, c.Id);
        const auto at = PointOnTop(control);
        if (!::IsWindowVisible(control) || !at ||
            (!c.Back && c.Kind != form::ControlKind::Picture)) {
            continue;
        }
        SCOPED_TRACE(std::string(c.Name));
        const COLORREF expected =
            c.Back ? RGB(c.Back->Red, c.Back->Green, c.Back->Blue) : PicturePixel(control, *at);
        const COLORREF seen = shot->At(*at);
        EXPECT_LE(Distance(seen, expected), kTolerance)
            << std::hex << seen << " instead of " << expected;
        ++probed;
    }
    return probed;
}

TEST(Screenshots, BothWindowsAndBothHelpPagesShowTheirColours) {
    ProgramOn on(true);
    ASSERT_NE(on.Window, nullptr);
    const form::Form& main = form::KelbrinForm();
    const auto press = [&on](form::ControlId button) {
        ::SendMessageW(on.Control(button), BM_CLICK, 0, 0);
    };
    // The frame, both buttons, the status line and the three titles.
    EXPECT_EQ(ShootAndProbe(on.Window, main, L"main-idle.png"), 7);

    WriteGame(on.Folder, kSizeLine + "\t?");
    press(form::frmKelbrin::cmdExpand1);
    EXPECT_EQ(ShootAndProbe(on.Window, main, L"main-md5.png"), 8);

    WriteGame(on.Folder, kSizeLine, kBrokenLine5);
    on.Watcher.ShootNextBox(L"main-error.png");
    press(form::frmKelbrin::cmdExpand1);
    // The checksum warning before, and the error box.
    EXPECT_EQ(on.Watcher.Boxes().size(), 2u);

    // The box of the original's identity over the window, as File, ROM Information shows it.
    DuringNextPump([&] {
        HWND info = ShownWindow(Wide(form::InfoForm().Caption));
        // The report's text box.
        EXPECT_EQ(ShootAndProbe(info, form::InfoForm(), L"info.png"), 1);
        ::SendMessageW(ControlIn(info, form::frmInfo::cmdClose), BM_CLICK, 0, 0);
    });
    WriteGame(on.Folder);
    ::SendMessageW(on.Window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuFile_Info), 0), 0);

    ::SendMessageW(on.Window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuHelp_HowTo), 0), 0);
    HWND help = ShownWindow(Wide(form::HowToForm().Caption));
    ASSERT_NE(help, nullptr);
    // The usage page, its strip and both option buttons.
    EXPECT_EQ(ShootAndProbe(help, form::HowToForm(), L"help-usage.png"), 4);
    ::SendMessageW(ControlIn(help, form::frmHowTo::optPart(1)), BM_CLICK, 0, 0);
    // The format page, its strip, both option buttons and both pictures.
    EXPECT_EQ(ShootAndProbe(help, form::HowToForm(), L"help-format.png"), 6);
}

// The authors' boxes over the main window, as their menu items show them: Check Script on a
// laid-out ROM, every filled box of its strip and legend in its colour where it lies, and Make
// Script with both files chosen.
TEST(Screenshots, TheAuthorsBoxesShowTheStripBesideTheRowsAndTheFilesChosen) {
    ProgramOn on(true);
    ASSERT_NE(on.Window, nullptr);
    WriteAuthorsGame(on.Folder);
    const form::Control& strip = form::ControlOf(form::CheckForm(), form::frmCheck::picLayout);
    // The drawing the box computes for itself.
    const form::Drawing drawn = form::DrawLayout(CheckScript(on.Folder.Path()).WithoutHeader,
                                                 strip.At.Width, strip.At.Height, *strip.Fore);
    int boxesProbed = 0;
    DuringNextPump([&] {
        HWND check = ShownWindow(Wide(form::CheckForm().Caption));
        ASSERT_NE(check, nullptr);
        // The report, the drawing and the rows.
        EXPECT_EQ(ShootAndProbe(check, form::CheckForm(), L"check.png"), 3);
        const auto shot = Shoot(check, L"check.png");
        HWND picture = ControlIn(check, form::frmCheck::picLayout);
        for (std::size_t i = 0; i < drawn.Boxes.size(); ++i) {
            const form::DrawnBox& box = drawn.Boxes[i];
            POINT centre{form::ToPixels(box.At.Left + box.At.Width / 2),
                         form::ToPixels(box.At.Top + box.At.Height / 2)};
            const auto covers = [&centre](const form::DrawnBox& other) {
                return other.Fill && form::ToPixels(other.At.Left) <= centre.x &&
                       centre.x < form::ToPixels(other.At.Left + other.At.Width) &&
                       form::ToPixels(other.At.Top) <= centre.y &&
                       centre.y < form::ToPixels(other.At.Top + other.At.Height);
            };
            const bool covered =
                std::any_of(drawn.Boxes.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            drawn.Boxes.end(), covers);
            if (!box.Fill || covered || form::ToPixels(box.At.Height) < 2) {
                continue;
            }
            SCOPED_TRACE("box " + std::to_string(i));
            ::ClientToScreen(picture, &centre);
            const COLORREF seen = shot->At(centre);
            const COLORREF expected = RGB(box.Fill->Red, box.Fill->Green, box.Fill->Blue);
            EXPECT_LE(Distance(seen, expected), kTolerance)
                << std::hex << seen << " instead of " << expected;
            ++boxesProbed;
        }
        ::SendMessageW(ControlIn(check, form::frmCheck::cmdCheckClose), BM_CLICK, 0, 0);
    });
    ::SendMessageW(on.Window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuFile_Check), 0), 0);
    // Four copies, the fill, both replaced marks and the legend's six swatches.
    EXPECT_EQ(boxesProbed, 7 + 6);

    on.Desktop.FilesToChoose = {on.Folder.PathOf("orig.nes"), on.Folder.PathOf("big.nes")};
    DuringNextPump([&] {
        HWND maker = ShownWindow(Wide(form::MakeScriptForm().Caption));
        ASSERT_NE(maker, nullptr);
        ::SendMessageW(ControlIn(maker, form::frmMakeScript::cmdOriginal), BM_CLICK, 0, 0);
        ::SendMessageW(ControlIn(maker, form::frmMakeScript::cmdExpanded), BM_CLICK, 0, 0);
        ::SetWindowTextW(ControlIn(maker, form::frmMakeScript::txtOriginalHeader), L"10");
        // Both paths, and the two header boxes.
        EXPECT_EQ(ShootAndProbe(maker, form::MakeScriptForm(), L"make-script.png"), 4);
        EXPECT_EQ(TextOf(ControlIn(maker, form::frmMakeScript::txtExpanded)),
                  Wide(on.Folder.PathOf("big.nes")));
        ::SendMessageW(ControlIn(maker, form::frmMakeScript::cmdCancel), BM_CLICK, 0, 0);
    });
    ::SendMessageW(on.Window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuFile_MakeScript), 0), 0);
    EXPECT_EQ(on.Folder.Names(), (std::set<std::string>{"Kelbrin.txt", "big.nes", "orig.nes"}));
}

// The system's colours of a high-contrast theme, white text on black, while this lives.
class HighContrast {
public:
    HighContrast() {
        for (const int element : kElements) {
            before_.push_back(::GetSysColor(element));
        }
        const std::vector<COLORREF> contrast{RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0),
                                             RGB(0, 0, 0), RGB(0, 255, 0)};
        ::SetSysColors(static_cast<int>(kElements.size()), kElements.data(), contrast.data());
    }
    ~HighContrast() {
        ::SetSysColors(static_cast<int>(kElements.size()), kElements.data(), before_.data());
    }
    HighContrast(const HighContrast&) = delete;
    HighContrast& operator=(const HighContrast&) = delete;

private:
    static constexpr std::array<int, 5> kElements{COLOR_WINDOWTEXT, COLOR_BTNTEXT, COLOR_WINDOW,
                                                  COLOR_BTNFACE, COLOR_GRAYTEXT};
    std::vector<COLORREF> before_;
};

// The colour `control` paints its text in: what its parent's colour message puts into the
// drawing context of a label or text box, and what an owner-drawn button's painter does.
COLORREF PaintedTextColour(HWND control, bool enabled) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    RECT place;
    ::GetClientRect(control, &place);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, place.right, place.bottom);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(control));
    if ((::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
        DRAWITEMSTRUCT item{
            ODT_BUTTON, id, 0, ODA_DRAWENTIRE, enabled ? 0u : ODS_DISABLED, control, dc, place, 0};
        ::SendMessageW(::GetParent(control), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));
    } else {
        // Read-only text boxes ask as labels do.
        ::SendMessageW(::GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control));
    }
    const COLORREF colour = ::GetTextColor(dc);
    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return colour;
}

// A fixed background needs a fixed text colour: under a high-contrast theme every control with
// a colour of its own paints its text in the colour its form fixes (black where it names none,
// grey on a locked button), not in the theme's white.
TEST(Screenshots, UnderHighContrastColoursTextOnTheFormsOwnColoursKeepsItsColour) {
    const HighContrast contrast;
    ProgramOn on(true);
    WriteGame(on.Folder, kSizeLine + "\t?");
    ::SendMessageW(on.Control(form::frmKelbrin::cmdExpand1), BM_CLICK, 0, 0);
    EXPECT_EQ(ShootAndProbe(on.Window, form::KelbrinForm(), L"main-high-contrast.png"), 8);
    ::SendMessageW(on.Window, WM_COMMAND,
                   MAKEWPARAM(win32::CommandId(form::frmKelbrin::mnuHelp_HowTo), 0), 0);
    HWND help = ShownWindow(Wide(form::HowToForm().Caption));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(ShootAndProbe(help, form::HowToForm(), L"help-high-contrast.png"), 4);
    for (const form::Form* design : form::AllForms()) {
        for (const form::Control& c : design->Controls) {
            const std::optional<form::Colour> text = form::TextColour(c);
            if (!c.Back || c.Kind == form::ControlKind::Shape ||
                c.Kind == form::ControlKind::Picture || c.Kind == form::ControlKind::Frame) {
                continue;
            }
            SCOPED_TRACE(std::string(c.Name));
            FormOn form(*design);
            const COLORREF expected = RGB(text->Red, text->Green, text->Blue);
            EXPECT_EQ(PaintedTextColour(form.Control(c.Id), true), expected);
            if (c.Kind == form::ControlKind::PushButton) {
                const form::Colour grey = form::kFixedGreyText;
                EXPECT_EQ(PaintedTextColour(form.Control(c.Id), false),
                          RGB(grey.Red, grey.Green, grey.Blue));
            }
        }
    }
}

} // namespace
} // namespace kelbrin::test
