#pragma once

#include <QAccessible>
#include <QWidget>

namespace kelbrin {

// The role a screen reader is told a widget plays where Qt's own interface would say another:
// a status line is a status bar (not a label). Set before anything asks for the widget's
// interface, which Qt keeps.
void SetAccessibleRole(QWidget& widget, QAccessible::Role role);

} // namespace kelbrin
