// What the Qt windows tell screen readers: every control's name and description from the forms'
// descriptions, the MD5 box paired with its label, what each part is, and the status line
// announced as it changes.

#include <QAccessible>
#include <QLabel>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

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

TEST(Accessibility, TheMD5BoxIsLabelledByItsLabel) {
    FormOn on(form::KelbrinForm());
    QAccessibleInterface* box =
        QAccessible::queryAccessibleInterface(&on.Control(form::frmKelbrin::txtMD5));
    ASSERT_NE(box, nullptr);
    // "Label": the objects that label this one.
    const auto labels = box->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), &on.Control(form::frmKelbrin::lblMD5));
}

// Accessibility events reach the handler only while the platform's accessibility is active, as
// it is under a screen reader.
class ScreenReaderListening {
public:
    ScreenReaderListening() {
        heard().clear();
        QAccessible::installUpdateHandler(
            [](QAccessibleEvent* event) { heard().emplace_back(event->object(), event->type()); });
        Platform()->setActive(true);
    }
    ~ScreenReaderListening() {
        Platform()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    ScreenReaderListening(const ScreenReaderListening&) = delete;
    ScreenReaderListening& operator=(const ScreenReaderListening&) = delete;

    static std::vector<std::pair<QObject*, QAccessible::Event>>& heard() {
        static std::vector<std::pair<QObject*, QAccessible::Event>> events;
        return events;
    }

private:
    static QPlatformAccessibility* Platform() {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }
};

// Orca says a changed name only of the focused object; a notification shown inside a status
// bar it says wherever the focus is.
TEST(Accessibility, StatusLineShowsWhatItAnnouncesInANotificationAndEveryStatusAsItsName) {
    FormOn on(form::KelbrinForm());
    QWidget& status = on.Control(form::frmKelbrin::lblStatus);
    struct StatusCase {
        const char* Text;
        bool Announced;
    };
    for (const StatusCase& c :
         {StatusCase{"Writing Header", true}, StatusCase{"Copy, Fill, Replace line #4", false},
          StatusCase{"Expansion Done", true}}) {
        SCOPED_TRACE(c.Text);
        const ScreenReaderListening listening;
        if (c.Announced) {
            on.Port->Announce(form::frmKelbrin::lblStatus, c.Text);
        } else {
            on.Port->SetCaption(form::frmKelbrin::lblStatus, c.Text);
        }
        const auto& heard = ScreenReaderListening::heard();
        EXPECT_NE(std::find(heard.begin(), heard.end(),
                            std::pair{static_cast<QObject*>(&status), QAccessible::NameChanged}),
                  heard.end());
        EXPECT_EQ(Spoken(status, QAccessible::Name), c.Text);
        std::vector<QString> notified;
        for (const auto& [object, event] : heard) {
            QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(object);
            if (event == QAccessible::ObjectShow && shown->role() == QAccessible::Notification &&
                shown->parent()->object() == &status) {
                notified.push_back(shown->text(QAccessible::Name));
            }
        }
        EXPECT_EQ(notified, c.Announced ? std::vector<QString>{c.Text} : std::vector<QString>{});
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
