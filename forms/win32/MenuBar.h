#pragma once

#include <vector>
#include <windows.h>

#include "FormDescription.h"

namespace kelbrin::win32 {

// A form's menus as a menu bar, each item's command its CommandId, a Ctrl key shown after a tab.
HMENU CreateMenuBar(const std::vector<form::Menu>& menus);

// The Ctrl keys of the menu items, each giving its item's command; none: nullptr.
HACCEL CreateAccelerators(const std::vector<form::Menu>& menus);

} // namespace kelbrin::win32
