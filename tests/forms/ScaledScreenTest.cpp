// The windows on a screen at 200 %, which CTest gives this suite alone: an offscreen screen of
// 1280 x 1024 pixels at 192 dots per inch, 640 x 512 in Qt's pixels, where this small screen
// leaves the help window as little room as a 1080-pixel screen leaves under a panel. Its windows
// are never framed, as under a window manager that has not framed them yet when they are first
// fitted: the title bar they will get must be counted all the same.

#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

TEST(AtTwoHundredPercent, EveryWindowLiesInTheWorkAreaAndScrollsWhatItCannotShow) {
    const QScreen& screen = *QGuiApplication::primaryScreen();
    ASSERT_EQ(screen.devicePixelRatio(), 2.0) << "run by the test forms_tests_at_200_percent";
    const QRect area = screen.availableGeometry();
    for (const form::Form* design : form::AllForms()) {
        SCOPED_TRACE(std::string(design->Name));
        FormOn on(*design);
        QCoreApplication::processEvents();
        QWidget& window = on.Window();
        EXPECT_TRUE(area.contains(window.frameGeometry()));
        if (qobject_cast<QMainWindow*>(&window) == nullptr) {
            // Framed where it lies, the window's bottom moves down by the title bar.
            const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_TRUE(area.contains(QRect(window.pos(), window.size() + QSize(0, titleBar))));
        }
        // The controls keep their places; what the window cannot show, it scrolls to.
        const QSize full(form::ToPixels(design->Width), form::ToPixels(design->Height));
        EXPECT_EQ(on.Client().size(), full);
        if (qobject_cast<QMainWindow*>(&window) != nullptr) {
            on.Shoot("main-200.png");
            continue;
        }
        auto& scroll = *window.findChild<QScrollArea*>();
        const QWidget& viewport = *scroll.viewport();
        EXPECT_EQ(scroll.verticalScrollBar()->maximum(),
                  std::max(0, full.height() - viewport.height()));
        EXPECT_EQ(scroll.horizontalScrollBar()->maximum(),
                  std::max(0, full.width() - viewport.width()));
        if (design == &form::HowToForm()) {
            EXPECT_GT(scroll.verticalScrollBar()->maximum(), 0);
            // Tab scrolls the controls it reaches into view.
            scroll.ensureWidgetVisible(&on.Control(form::frmHowTo::cmdOK));
            const QRect ok(on.Control(form::frmHowTo::cmdOK).mapTo(&viewport, QPoint(0, 0)),
                           on.Control(form::frmHowTo::cmdOK).size());
            EXPECT_TRUE(viewport.rect().contains(ok));
            on.Shoot("help-200.png");
        }
    }
}

} // namespace
} // namespace kelbrin::test
