// The help window: its layout, its two pages with the pictures under the short one, and the
// one instance the Help menu opens.

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <functional>

#include "HelpTexts.h"
#include "TwipLayout.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

#define HELP_CONTROL(member) [](frmHowTo& h) -> QWidget* { return h.member; }

TEST(HelpWindow, EveryControlStandsAsDrawnWithItsCaption) {
    MainWindowOn on;
    frmHowTo& help = on.OpenHelp();
    EXPECT_EQ(help.windowTitle(), "How To Use Kelbrin");
    EXPECT_EQ(help.size(), QSize(600, 520));
    EXPECT_EQ(help.parentWidget(), nullptr);
    struct HelpControlCase {
        const char* Name;
        std::function<QWidget*(frmHowTo&)> Get;
        QRect Twips;
        QString Caption;
    };
    // clang-format off
    const std::vector<HelpControlCase> controls{
        {"txtHowTo1", HELP_CONTROL(txtHowTo[1]), {240, 120, 8655, 3255}, ""},
        {"txtHowTo0", HELP_CONTROL(txtHowTo[0]), {240, 120, 8655, 6975}, ""},
        {"optPart1", HELP_CONTROL(optPart[1]), {120, 7440, 3615, 255},
         "How to Format the Kelbrin.txt file"},
        {"optPart0", HELP_CONTROL(optPart[0]), {120, 7200, 3615, 255}, "How to Use Kelbrin"},
        {"cmdOK", HELP_CONTROL(cmdOK), {3840, 7320, 1215, 375}, "OK"},
        {"Image1", HELP_CONTROL(Image1), {2760, 4560, 6135, 2445}, ""},
        {"Image2", HELP_CONTROL(Image2), {240, 3480, 6375, 2235}, ""},
        {"Shape1", HELP_CONTROL(Shape[1]), {120, 120, 255, 3265}, ""},
        {"Shape0", HELP_CONTROL(Shape[0]), {120, 120, 255, 6990}, ""},
    };
    // clang-format on
    for (const HelpControlCase& c : controls) {
        SCOPED_TRACE(c.Name);
        QWidget* control = c.Get(help);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), &help);
        const QRect& t = c.Twips;
        EXPECT_EQ(control->geometry(), TwipsRect(t.x(), t.y(), t.width(), t.height()));
        EXPECT_EQ(ShownCaption(control), c.Caption);
    }
    const QColor pageColour[2] = {Qt::white, QColor(240, 240, 255)};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(help.txtHowTo[i]->palette().color(QPalette::Base), pageColour[i]);
        EXPECT_EQ(help.txtHowTo[i]->font().family(), "Courier New");
        EXPECT_EQ(help.txtHowTo[i]->font().pointSizeF(), 9);
        EXPECT_EQ(help.optPart[i]->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
    EXPECT_FALSE(help.cmdOK->isDefault() || help.cmdOK->autoDefault());
}

TEST(HelpWindow, PagesAreTheHelpTextsReadOnlySelectableAndNeverWiderThanTheirBox) {
    MainWindowOn on;
    frmHowTo& help = on.OpenHelp();
    const std::string* texts[2] = {&UsageHelpText(), &FormatHelpText()};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QPlainTextEdit* box = help.txtHowTo[i];
        EXPECT_EQ(box->toPlainText(), QString::fromLatin1(*texts[i]).replace("\r\n", "\n"));
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_TRUE(box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        EXPECT_TRUE(box->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
        EXPECT_NE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        help.optPart[i]->click();
        QCoreApplication::processEvents(); // the scroll bars follow the laid-out text
        EXPECT_FALSE(box->horizontalScrollBar()->isVisible());
    }
}

// Whether each picture is the topmost widget at a point only it covers and, for the later
// picture, where the two overlap.
std::vector<bool> PicturesOnTop(frmHowTo& help) {
    const QRect one = help.Image1->geometry();
    const QRect two = help.Image2->geometry();
    return {help.childAt(one.bottomRight() - QPoint(4, 4)) == help.Image1,
            help.childAt(two.topLeft() + QPoint(4, 4)) == help.Image2,
            help.childAt(one.intersected(two).center()) == help.Image2};
}

TEST(HelpWindow, PagesShowTheirTextAndStripAndOnlyTheFormatPageUncoversThePictures) {
    MainWindowOn on;
    frmHowTo& help = on.OpenHelp();
    struct PageCase {
        const char* Name;
        int Select; // -1: as opened
        int Page;
    };
    for (const PageCase& c :
         {PageCase{"opened", -1, 0}, PageCase{"format", 1, 1}, PageCase{"usage again", 0, 0}}) {
        SCOPED_TRACE(c.Name);
        if (c.Select >= 0) {
            help.optPart[c.Select]->click();
        }
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(help.txtHowTo[i]->isVisible(), i == c.Page) << i;
            EXPECT_EQ(help.Shape[i]->isVisible(), i == c.Page) << i;
            EXPECT_EQ(help.optPart[i]->isChecked(), i == c.Page) << i;
        }
        EXPECT_EQ(PicturesOnTop(help), std::vector<bool>(3, c.Page == 1));
    }
    EXPECT_EQ(help.Image1->pixmap().size(), QSize(409, 163));
    EXPECT_EQ(help.Image2->pixmap().size(), QSize(425, 149));
}

TEST(HelpWindow, OneInstanceWhileOpenAndAFreshOneOnTheUsagePageOnceClosed) {
    MainWindowOn on;
    frmHowTo& first = on.OpenHelp();
    first.optPart[1]->click();
    EXPECT_EQ(&on.OpenHelp(), &first);
    EXPECT_TRUE(first.txtHowTo[1]->isVisible()); // brought forward unchanged

    first.cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(on.Window->HowToWindow(), nullptr);
    EXPECT_TRUE(on.Window->isVisible());

    frmHowTo& second = on.OpenHelp();
    EXPECT_TRUE(second.isVisible());
    EXPECT_TRUE(second.txtHowTo[0]->isVisible());
    EXPECT_TRUE(second.optPart[0]->isChecked());
}

} // namespace
} // namespace kelbrin::test
