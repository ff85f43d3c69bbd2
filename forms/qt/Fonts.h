#pragma once

#include <QFont>

#include "FormDescription.h"

namespace kelbrin {

// The windows ask for "Comic Sans MS", "Courier New" and "MS Sans Serif" by name. Machines
// without them get look-alikes: Comic Neue, and the metric-compatible Liberation fonts.
void RegisterFontSubstitutes();

// The font a form names; the application's default font when it names none.
QFont QtFont(const form::Font& font);

} // namespace kelbrin
