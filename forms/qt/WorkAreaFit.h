#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kelbrin {

// Keeps a window on its screen whenever it is shown: where the screen's work area (the screen
// without its panels) cannot hold the window with its frame, the window shrinks to fit and its
// client area, which keeps its size, scrolls inside it (a scroll area around `client`); and a
// window that reaches past the work area is moved into it. At 200 % the help window is 1040
// pixels high, more than a 1080-pixel screen leaves under a title bar and a panel.
class WorkAreaFit final : public QObject {
public:
    WorkAreaFit(QWidget& window, const QWidget& client);

    // Fits the window now.
    void Fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The frame around the window as the window manager reports it; none until it has framed
    // the window.
    QMargins ReportedFrame() const;

    QWidget& window_;
    QPointer<const QWidget> client_;
    // The frame reported when the window was last fitted.
    QMargins fitted_;
};

} // namespace kelbrin
