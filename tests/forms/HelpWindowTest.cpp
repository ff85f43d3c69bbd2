// The help window: drawn as its form describes it, its two pages with the pictures under the
// short one, and the one instance the Help menu opens.

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
    MainWindowOn on;
    QtHowToWindow& help = on.OpenHelp();
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
        EXPECT_EQ(ShownCaption(&control), QString::fromLatin1(c.Caption));
        if (c.Kind == form::ControlKind::TextBox) {
            EXPECT_EQ(control.palette().color(QPalette::Base), ToQColor(*c.Back));
            EXPECT_EQ(control.font().family(), QString::fromLatin1(c.TextFont.Family));
            EXPECT_EQ(control.font().pointSizeF(), c.TextFont.Points);
        }
        if (c.Kind == form::ControlKind::OptionButton) {
            EXPECT_EQ(control.palette().color(QPalette::WindowText), ToQColor(*c.Fore));
        }
    }
    const auto& ok = Find<QPushButton>(help, ControlId::cmdOK);
    EXPECT_FALSE(ok.isDefault() || ok.autoDefault());
}

TEST(HelpWindow, PagesAreTheHelpTextsReadOnlySelectableAndNeverWiderThanTheirBox) {
    MainWindowOn on;
    QtHowToWindow& help = on.OpenHelp();
    const std::string* texts[2] = {&UsageHelpText(), &FormatHelpText()};
    for (std::int16_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const auto& box = Find<QPlainTextEdit>(help, form::HelpPage(i));
        EXPECT_EQ(box.toPlainText(), QString::fromLatin1(*texts[i]).replace("\r\n", "\n"));
        EXPECT_TRUE(box.isReadOnly());
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        EXPECT_TRUE(box.textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        EXPECT_NE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        Find<QRadioButton>(help, form::HelpOption(i)).click();
        QCoreApplication::processEvents(); // the scroll bars follow the laid-out text
        EXPECT_FALSE(box.horizontalScrollBar()->isVisible());
    }
}

// Whether each picture is the topmost widget at a point only it covers and, for the later
// picture, where the two overlap.
std::vector<bool> PicturesOnTop(QtHowToWindow& help) {
    const QWidget* image1 = &Find(help, ControlId::Image1);
    const QWidget* image2 = &Find(help, ControlId::Image2);
    const QRect one = image1->geometry();
    const QRect two = image2->geometry();
    return {help.childAt(one.bottomRight() - QPoint(4, 4)) == image1,
            help.childAt(two.topLeft() + QPoint(4, 4)) == image2,
            help.childAt(one.intersected(two).center()) == image2};
}

TEST(HelpWindow, PagesShowTheirTextAndStripAndOnlyTheFormatPageUncoversThePictures) {
    MainWindowOn on;
    QtHowToWindow& help = on.OpenHelp();
    struct PageCase {
        const char* Name;
        int Select; // -1: as opened
        std::int16_t Page;
    };
    for (const PageCase& c :
         {PageCase{"opened", -1, 0}, PageCase{"format", 1, 1}, PageCase{"usage again", 0, 0}}) {
        SCOPED_TRACE(c.Name);
        if (c.Select >= 0) {
            Find<QRadioButton>(help, form::HelpOption(static_cast<std::int16_t>(c.Select))).click();
        }
        for (std::int16_t i = 0; i < 2; ++i) {
            EXPECT_EQ(Find(help, form::HelpPage(i)).isVisible(), i == c.Page) << i;
            EXPECT_EQ(Find(help, form::HelpStrip(i)).isVisible(), i == c.Page) << i;
            EXPECT_EQ(Find<QRadioButton>(help, form::HelpOption(i)).isChecked(), i == c.Page) << i;
        }
        EXPECT_EQ(PicturesOnTop(help), std::vector<bool>(3, c.Page == 1));
    }
    EXPECT_EQ(Find<QLabel>(help, ControlId::Image1).pixmap().size(), QSize(409, 163));
    EXPECT_EQ(Find<QLabel>(help, ControlId::Image2).pixmap().size(), QSize(425, 149));
}

TEST(HelpWindow, OneInstanceWhileOpenAndAFreshOneOnTheUsagePageOnceClosed) {
    MainWindowOn on;
    QtHowToWindow& first = on.OpenHelp();
    Find<QRadioButton>(first, ControlId::optPart1).click();
    EXPECT_EQ(&on.OpenHelp(), &first);
    EXPECT_TRUE(Find(first, ControlId::txtHowTo1).isVisible()); // brought forward unchanged

    Find<QPushButton>(first, ControlId::cmdOK).click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(on.Window->HowToWindow(), nullptr);
    EXPECT_TRUE(on.Window->isVisible());

    QtHowToWindow& second = on.OpenHelp();
    EXPECT_TRUE(second.isVisible());
    EXPECT_TRUE(Find(second, ControlId::txtHowTo0).isVisible());
    EXPECT_TRUE(Find<QRadioButton>(second, ControlId::optPart0).isChecked());
}

} // namespace
} // namespace kelbrin::test
