#include "FocusMarks.h"

#include <QStyle>
#include <QStyleOptionButton>

namespace kelbrin {

void DrawFocusMark(QPainter& painter, const QRect& around, const QColor& colour) {
    painter.save();
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(around.adjusted(0, 0, -1, -1));
    painter.restore();
}

void StandardButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        DrawFocusMark(painter, rect().adjusted(4, 4, -4, -4),
                      palette().color(QPalette::ButtonText));
    }
}

void OptionButton::paintEvent(QPaintEvent* event) {
    QRadioButton::paintEvent(event);
    if (hasFocus()) {
        QStyleOptionButton option;
        initStyleOption(&option);
        QPainter painter(this);
        DrawFocusMark(painter,
                      style()->subElementRect(QStyle::SE_RadioButtonFocusRect, &option, this),
                      palette().color(QPalette::WindowText));
    }
}

} // namespace kelbrin
