#pragma once

#include <QFont>

#include "FormDescription.h"

namespace kelbrin {

// The windows ask for "Comic Sans MS", "Courier New" and "MS Sans Serif" by name. Machines
// without them get look-alikes: Comic Neue, and the metric-compatible Liberation fonts.
void RegisterFontSubstitutes();

// The font of controls that name none: the forms' default, "MS Sans Serif" 8 pt, for which
// its layout was drawn. The desktop's font (DejaVu Sans 9 pt and larger) would wrap the
// buttons' captions onto three lines.
inline constexpr form::Font kFormsDefaultFont{.Family = "MS Sans Serif", .Points = 8};

// The font a form names; the forms' default font when it names none.
QFont QtFont(const form::Font& font);

} // namespace kelbrin
