// The help window as the Qt host draws it: its two pages selectable and never wider than their
// box, and the focus shown on its dark blue.

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

TEST(HelpWindow, PagesAreSelectableAndNeverWiderThanTheirBox) {
    FormOn on(form::HowToForm());
    for (std::int16_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto& box = on.Control<QPlainTextEdit>(form::frmHowTo::txtHowTo(i));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        EXPECT_NE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        on.Port->SetVisible(form::frmHowTo::txtHowTo(i), true);
        on.Port->SetVisible(form::frmHowTo::txtHowTo(static_cast<std::int16_t>(1 - i)), false);
        QCoreApplication::processEvents(); // the scroll bars follow the laid-out text
        EXPECT_FALSE(box.horizontalScrollBar()->isVisible());
    }
}

// How many pixels of `control` turn `colour` when it takes the focus.
int PixelsTurning(QWidget& control, const QColor& colour) {
    const QImage before = control.grab().toImage();
    control.setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(control.hasFocus());
    const QImage after = control.grab().toImage();
    int turned = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const QColor seen = after.pixelColor(x, y);
            const int distance = std::abs(seen.red() - colour.red()) +
                                 std::abs(seen.green() - colour.green()) +
                                 std::abs(seen.blue() - colour.blue());
            turned += distance <= 48 && seen != before.pixelColor(x, y);
        }
    }
    return turned;
}

// On the dark blue a style's focus ring, drawn in its highlight colour, is lost: the buttons
// mark the focus in their own text colour.
TEST(HelpWindow, OKAndTheOptionButtonsShowTheFocusOnDarkBlue) {
    FormOn on(form::HowToForm());
    on.Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&on.Window()));
    for (const ControlId id :
         {form::frmHowTo::cmdOK, form::frmHowTo::optPart0, form::frmHowTo::optPart1}) {
        SCOPED_TRACE(form::ControlOf(form::HowToForm(), id).Name.data());
        QWidget& control = on.Control(id);
        const QPalette::ColorRole text =
            id == form::frmHowTo::cmdOK ? QPalette::ButtonText : QPalette::WindowText;
        EXPECT_GE(PixelsTurning(control, control.palette().color(text)), 20);
    }
}

} // namespace
} // namespace kelbrin::test
