#pragma once

namespace kelbrin {

// The windows ask for "Comic Sans MS", "Courier New" and "MS Sans Serif" by name. Machines
// without them get look-alikes: Comic Neue, and the metric-compatible Liberation fonts.
void RegisterFontSubstitutes();

} // namespace kelbrin
