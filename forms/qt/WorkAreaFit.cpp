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
    // A window manager tells the frame only once it has framed the window: at once, or long
    // after the window was shown, when it moves the window (some compositors never tell).
    const auto refit = [this] {
        if (window_.isVisible() && ReportedFrame() != fitted_) {
            Fit();
        }
    };
    switch (event->type()) {
    case QEvent::Show:
        Fit();
        QTimer::singleShot(0, this, refit);
        break;
    case QEvent::Move:
    case QEvent::Resize: refit(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

QMargins WorkAreaFit::ReportedFrame() const {
    const QRect outer = window_.frameGeometry();
    const QRect inner = window_.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

void WorkAreaFit::Fit() {
    const QScreen* screen = window_.screen();
    if (screen == nullptr || client_ == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    fitted_ = ReportedFrame();
    QMargins frame = fitted_;
    // Until it is told, room for the title bar the window will get: counted late, it would push
    // the window's bottom off the screen.
    if (frame.isNull() && !window_.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        frame.setTop(window_.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window_));
    }
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
