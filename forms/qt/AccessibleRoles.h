#pragma once

#include <QAccessible>
#include <QWidget>

namespace kelbrin {

// The role a screen reader is told a widget plays where Qt's own interface would say another:
// a window of its own is a frame (not a filler), a status line a status bar (not a label), a
// drawing a picture. Set before anything asks for the widget's interface, which Qt keeps.
void SetAccessibleRole(QWidget& widget, QAccessible::Role role);

// Decoration: shown to the eye, and to a screen reader neither named nor visible. Qt lists
// every child widget to assistive technology; what it can do is report this one as blank space
// that is not shown, which screen readers pass over.
void HideFromScreenReaders(QWidget& widget);

} // namespace kelbrin
