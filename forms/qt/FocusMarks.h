#pragma once

#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace kelbrin {

// Buttons that show the keyboard focus, whatever the style, as a dotted rectangle in their own
// text colour: a style's focus ring is drawn in its highlight colour, which can vanish on the
// forms' fixed colours (a blue ring on the help window's dark blue).

void DrawFocusMark(QPainter& painter, const QRect& around, const QColor& colour);

// A push button in the system's colours: the mark inside its face.
class StandardButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// An option button: the mark around its caption.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kelbrin
