#include "DrawingView.h"

#include <QPainter>
#include <utility>

#include "DescriptionValues.h"
#include "QtControls.h"

namespace kelbrin {

namespace {

// From the rounded edges rather than the rounded size: boxes that meet in twips meet on the
// screen, without a gap or an overlap of a pixel between them.
QRect EdgeRect(const form::Twips& at) {
    const int left = form::ToPixels(at.Left);
    const int top = form::ToPixels(at.Top);
    return QRect(left, top, form::ToPixels(at.Left + at.Width) - left,
                 form::ToPixels(at.Top + at.Height) - top);
}

} // namespace

void DrawingView::SetDrawing(form::Drawing drawing) {
    drawing_ = std::move(drawing);
    update();
}

void DrawingView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (const form::DrawnBox& box : drawing_.Boxes) {
        const QRect rect = EdgeRect(box.At);
        if (box.Fill) {
            painter.fillRect(rect, ToQColor(*box.Fill));
        }
        if (box.Edge) {
            painter.setPen(ToQColor(*box.Edge));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }
    painter.setFont(font());
    for (const form::DrawnLabel& label : drawing_.Labels) {
        const QRect rect = EdgeRect(label.At);
        painter.save();
        painter.setClipRect(rect);
        painter.setPen(ToQColor(label.Fore));
        painter.drawText(
            rect,
            static_cast<int>(QtAlignment(label.Align) | Qt::AlignVCenter | Qt::TextSingleLine),
            Shown(label.Text));
        painter.restore();
    }
}

} // namespace kelbrin
