// The help window as the Qt host draws it: its two pages selectable and never wider than their
// box, and the pictures under the tall page and over the short one.

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "TwipLayout.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

TEST(HelpWindow, PagesAreSelectableAndNeverWiderThanTheirBox) {
    FormOn on(form::HowToForm());
    const QWidget& help = on.Window();
    for (std::int16_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto& box = Find<QPlainTextEdit>(help, form::HelpPage(i));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        EXPECT_NE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        on.Port->SetVisible(form::HelpPage(i), true);
        on.Port->SetVisible(form::HelpPage(1 - i), false);
        QCoreApplication::processEvents(); // the scroll bars follow the laid-out text
        EXPECT_FALSE(box.horizontalScrollBar()->isVisible());
    }
}

// Whether each picture is the topmost widget at a point only it covers and, for the later
// picture, where the two overlap.
std::vector<bool> PicturesOnTop(const QWidget& help) {
    const QWidget* image1 = &Find(help, ControlId::Image1);
    const QWidget* image2 = &Find(help, ControlId::Image2);
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
            on.Port->SetVisible(form::HelpPage(i), i == page);
            on.Port->SetVisible(form::HelpStrip(i), i == page);
        }
        EXPECT_EQ(PicturesOnTop(on.Window()), std::vector<bool>(3, page == 1));
    }
}

} // namespace
} // namespace kelbrin::test
