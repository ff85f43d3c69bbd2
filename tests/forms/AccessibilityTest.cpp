// What the Qt windows tell screen readers: every control's name and description from the forms'
// descriptions, and what each part is. What they hear of the status line and the labels is
// checked on every host by HostConformanceTest.cpp.

#include <QAccessible>
#include <QLabel>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

QString Spoken(QWidget& widget, QAccessible::Text text) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    return accessible == nullptr ? "<none>" : accessible->text(text);
}

TEST(Accessibility, EveryControlOfEveryFormHasItsNameAndDescription) {
    for (const form::Form* design : form::AllForms()) {
        FormOn on(*design);
        if (design == &form::KelbrinForm()) {
            on.Port->SetCaption(form::frmKelbrin::lblStatus, "Expansion Done");
        }
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(c.Name));
            QWidget& control = on.Control(c.Id);
            // Without a name of its own, a control is called what it shows, as a person sees it.
            const std::string own = form::SpokenName(*design, c);
            const QString name = !own.empty()
                                     ? QString::fromLatin1(own)
                                     : ShownCaption(&control).remove('&').replace('\n', ' ');
            EXPECT_EQ(Spoken(control, QAccessible::Name).simplified(), name.simplified());
            EXPECT_EQ(Spoken(control, QAccessible::Description),
                      QString::fromLatin1(c.AccessibleDescription));
        }
    }
}

// The role each part plays, where a toolkit's default would say another: the help window is a
// frame like the main window, not a filler; the help's colour strips are decoration, hidden
// from screen readers; Check Script's strip and the help's pictures are images.
TEST(Accessibility, EachPartTellsScreenReadersWhatItIs) {
    struct RoleCase {
        const form::Form* Form;
        std::optional<form::ControlId> Control; // nothing: the window
        QAccessible::Role Role;
        bool Hidden;
    };
    const std::vector<RoleCase> cases{
        {&form::KelbrinForm(), std::nullopt, QAccessible::Window, false},
        {&form::HowToForm(), std::nullopt, QAccessible::Window, false},
        {&form::KelbrinForm(), form::frmKelbrin::lblStatus, QAccessible::StatusBar, false},
        {&form::HowToForm(), form::frmHowTo::Shape0, QAccessible::Whitespace, true},
        {&form::HowToForm(), form::frmHowTo::Shape1, QAccessible::Whitespace, true},
        {&form::HowToForm(), form::frmHowTo::Image1, QAccessible::Graphic, false},
        {&form::CheckForm(), form::frmCheck::picLayout, QAccessible::Graphic, false},
    };
    for (const RoleCase& c : cases) {
        SCOPED_TRACE(
            std::string(c.Form->Name) + " " +
            (c.Control ? std::string(form::ControlOf(*c.Form, *c.Control).Name) : "window"));
        FormOn on(*c.Form);
        QWidget& widget = c.Control ? on.Control(*c.Control) : on.Window();
        widget.show();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), c.Role);
        EXPECT_EQ(accessible->state().invisible, c.Hidden);
    }
}

} // namespace
} // namespace kelbrin::test
