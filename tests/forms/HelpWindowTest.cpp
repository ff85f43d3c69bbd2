// The help window as the Qt host draws it: its two pages selectable and never wider than their
// box, and the pictures under the tall page and over the short one.

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "DescriptionValues.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

TEST(HelpWindow, PagesAreSelectableAndNeverWiderThanTheirBox) {
    FormOn on(form::HowToForm());
    const QWidget& help = on.Window();
    for (std::int16_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto& box = Find<QPlainTextEdit>(help, form::frmHowTo::txtHowTo(i));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        EXPECT_NE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        on.Port->SetVisible(form::frmHowTo::txtHowTo(i), true);
        on.Port->SetVisible(form::frmHowTo::txtHowTo(1 - i), false);
        QCoreApplication::processEvents(); // the scroll bars follow the laid-out text
        EXPECT_FALSE(box.horizontalScrollBar()->isVisible());
    }
}

// Whether each picture is the topmost widget at a point only it covers and, for the later
// picture, where the two overlap.
std::vector<bool> PicturesOnTop(const QWidget& help) {
    const QWidget* image1 = &Find(help, form::frmHowTo::Image1);
    const QWidget* image2 = &Find(help, form::frmHowTo::Image2);
    const QRect one = image1->geometry();
    const QRect two = image2->geometry();
    return {help.childAt(one.bottomRight() - QPoint(4, 4)) == image1,
            help.childAt(two.topLeft() + QPoint(4, 4)) == image2,
            help.childAt(one.intersected(two).center()) == image2};
}

TEST(HelpWindow, PicturesLieUnderTheTallPageAndOverTheShortOne) {
    FormOn on(form::HowToForm());
    for (const std::int16_t page : {0, 1, 0}) {
        SCOPED_TRACE(page);
        for (std::int16_t i = 0; i < 2; ++i) {
            on.Port->SetVisible(form::frmHowTo::txtHowTo(i), i == page);
            on.Port->SetVisible(form::frmHowTo::Shape(i), i == page);
        }
        EXPECT_EQ(PicturesOnTop(on.Window()), std::vector<bool>(3, page == 1));
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
