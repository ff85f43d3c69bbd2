#pragma once

#include "FormDescription.h"

namespace kelbrin::win32 {

// Child windows and menu commands are numbered after the places of the controls and menu items
// in their form's tables. The offsets keep them clear of IDOK and IDCANCEL, which dialog
// navigation sends for Enter and Escape.
constexpr int ChildId(form::ControlId id) {
    return 100 + id.Index();
}

constexpr int CommandId(form::MenuId id) {
    return 1000 + id.Index();
}

} // namespace kelbrin::win32
