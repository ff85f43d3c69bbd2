#pragma once

#include "FormDescription.h"

namespace kelbrin::win32 {

// Child windows and menu commands are numbered after the description's ids. The offsets keep
// them clear of IDOK and IDCANCEL, which dialog navigation sends for Enter and Escape.
constexpr int ChildId(form::ControlId id) {
    return 100 + static_cast<int>(id);
}

constexpr int CommandId(form::MenuId id) {
    return 1000 + static_cast<int>(id);
}

} // namespace kelbrin::win32
