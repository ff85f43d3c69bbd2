#include "FontSet.h"

#include <cmath>

#include "AnsiText.h"

namespace kelbrin::win32 {

namespace {

constexpr form::Font kDialogFont{"MS Shell Dlg 2", 8, false};

} // namespace

FontSet::~FontSet() {
    for (const Made& font : made_) {
        ::DeleteObject(font.Handle);
    }
}

HFONT FontSet::Get(const form::Font& wanted, LONG width) {
    const form::Font& font = wanted.Family.empty() ? kDialogFont : wanted;
    for (const Made& made : made_) {
        if (made.Font.Family == font.Family && made.Font.Points == font.Points &&
            made.Font.Bold == font.Bold && made.Width == width) {
            return made.Handle;
        }
    }
    LOGFONTW description{};
    // A negative height asks for the character height, as point sizes mean it.
    description.lfHeight = -static_cast<LONG>(std::lround(font.Points * dpi_ / 72.0));
    description.lfWidth = width;
    description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    const std::wstring family = Widen(font.Family);
    family.copy(description.lfFaceName, LF_FACESIZE - 1);
    HFONT handle = ::CreateFontIndirectW(&description);
    made_.push_back({font, width, handle});
    return handle;
}

} // namespace kelbrin::win32
