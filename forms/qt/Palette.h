#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace kelbrin {

// Gives one colour role of a widget's palette the colour its form gives it.
inline void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace kelbrin
