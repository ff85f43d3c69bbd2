// The help window as the Qt host draws it: as its form describes it, its two pages read-only
// and never wider than their box, and the pictures under the tall page and over the short one.

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "HelpTexts.h"
#include "TwipLayout.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

TEST(HelpWindow, EveryControlStandsAsItsFormDescribesIt) {
    FormOn on(form::HowToForm());
    const QWidget& help = on.Window();
    const form::Form& design = form::HowToForm();
    EXPECT_EQ(help.windowTitle(), QString::fromLatin1(design.Caption));
    EXPECT_EQ(help.size(), QSize(600, 520));
    EXPECT_EQ(help.parentWidget(), nullptr);
    for (const form::Control& c : design.Controls) {
        SCOPED_TRACE(std::string(c.Name));
        const QWidget& control = Find(help, c.Id);
        EXPECT_EQ(control.parentWidget(), &help);
        // A picture keeps its natural size at its place.
        const QRect at = PixelRect(c.At);
        EXPECT_EQ(c.Kind == form::ControlKind::Picture ? control.pos()
                                                       : control.geometry().topLeft(),
                  at.topLeft());
        if (c.Kind != form::ControlKind::Picture) {
            EXPECT_EQ(control.size(), at.size());
        }
        if (c.Kind == form::ControlKind::TextBox) {
            EXPECT_EQ(control.palette().color(QPalette::Base), ToQColor(*c.Back));
            EXPECT_EQ(control.font().family(), QString::fromLatin1(c.TextFont.Family));
            EXPECT_EQ(control.font().pointSizeF(), c.TextFont.Points);
        }
        if (c.Kind == form::ControlKind::OptionButton) {
            EXPECT_EQ(control.palette().color(QPalette::WindowText), ToQColor(*c.Fore));
            EXPECT_EQ(static_cast<const QRadioButton&>(control).isChecked(), c.Selected);
        }
        if (c.Kind != form::ControlKind::TextBox) {
            EXPECT_EQ(ShownCaption(&control), QString::fromLatin1(c.Caption));
        }
    }
    EXPECT_EQ(Find<QLabel>(help, ControlId::Image1).pixmap().size(), QSize(409, 163));
    EXPECT_EQ(Find<QLabel>(help, ControlId::Image2).pixmap().size(), QSize(425, 149));
    const auto& ok = Find<QPushButton>(help, ControlId::cmdOK);
    EXPECT_FALSE(ok.isDefault() || ok.autoDefault());
}

TEST(HelpWindow, PagesAreTheHelpTextsReadOnlySelectableAndNeverWiderThanTheirBox) {
    FormOn on(form::HowToForm());
    const QWidget& help = on.Window();
    const std::string* texts[2] = {&UsageHelpText(), &FormatHelpText()};
    for (std::int16_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto& box = Find<QPlainTextEdit>(help, form::HelpPage(i));
        EXPECT_EQ(box.toPlainText(), QString::fromLatin1(*texts[i]).replace("\r\n", "\n"));
        EXPECT_TRUE(box.isReadOnly());
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
