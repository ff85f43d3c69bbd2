#include "WorkAreaFit.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>

namespace kelbrin {

WorkAreaFit::WorkAreaFit(QWidget& window, const QWidget& client)
    : QObject(&window), window_(window), client_(&client) {
    window.installEventFilter(this);
}

bool WorkAreaFit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        Fit();
        // A window manager tells the frame's size only once it has framed the window.
        QTimer::singleShot(0, this, [this] { Fit(); });
    }
    return QObject::eventFilter(watched, event);
}

void WorkAreaFit::Fit() {
    const QScreen* screen = window_.screen();
    if (screen == nullptr || client_ == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QRect outer = window_.frameGeometry();
    const QRect inner = window_.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QSize room = area.size().shrunkBy(frame);
    const QSize full = client_->size();
    QSize size = full;
    // A scroll bar in one direction takes room in the other.
    const int bar = window_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &window_);
    if (full.height() > room.height()) {
        size.rwidth() += bar;
    }
    if (full.width() > room.width()) {
        size.rheight() += bar;
    }
    size = size.boundedTo(room);
    if (size.height() < full.height() || size.width() < full.width()) {
        window_.setFixedSize(size);
    } else {
        window_.setFixedSize(full);
    }
    const QRect placed(window_.frameGeometry().topLeft(), window_.size().grownBy(frame));
    // Its top-left corner, with the title bar, stays on the screen whatever else does not.
    if (!area.contains(placed)) {
        window_.move(
            std::max(area.left(), std::min(placed.left(), area.right() + 1 - placed.width())),
            std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
    }
}

} // namespace kelbrin
