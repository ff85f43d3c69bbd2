#pragma once

#include <string>

#include "FormDescription.h"

namespace kelbrin {

// What a window tells its form's handlers. A toolkit's host connects every push button, option
// button and menu item of a description here, the same way for every form, so no toolkit keeps
// a map of its own; each form turns an id into its handler (cmdExpand_Click for cmdExpand).
class FormEvents {
public:
    virtual ~FormEvents() = default;
    // A push button was pressed, or an option button chosen, by the mouse or the keyboard.
    virtual void Click(form::ControlId control) = 0;
    // A menu item was chosen, by the mouse, its access keys or its Ctrl key.
    virtual void Choose(form::MenuId /*item*/) {}
    // A file or folder dropped on a window that takes drops, as the system names it.
    virtual void DragDrop(const std::string& /*path*/) {}
    // The window's close box; returns whether the window may close.
    virtual bool QueryClose() { return true; }
};

} // namespace kelbrin
