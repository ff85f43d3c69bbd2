// Under a high-contrast theme, the colours of text on the forms' own backgrounds as the Win32
// host paints it. The colours every host shows are checked in HostConformanceTest.cpp.

#include <array>

#include "HostedForm.h"
#include "Win32Harness.h"

namespace kelbrin::test {
namespace {

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
    const auto main = ShowForm(form::KelbrinForm());
    main->Port->SetVisible(form::frmKelbrin::txtMD5, true);
    main->Port->SetVisible(form::frmKelbrin::lblMD5, true);
    EXPECT_EQ(ExpectColoursShown(*main, "main-high-contrast.png"), 8);
    // The usage page, its strip and the three option buttons.
    EXPECT_EQ(ExpectColoursShown(*ShowForm(form::HowToForm()), "help-high-contrast.png"), 5);
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
