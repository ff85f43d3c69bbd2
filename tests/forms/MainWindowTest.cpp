// The forms as the Qt host draws them: each control the widget of its kind in its colours; the
// main window's fixed client area, and drops and titles of names that are no UTF-8. What
// every host does alike is in HostConformanceTest.cpp.

#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "DescriptionValues.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

// The Qt widget that draws each kind of control.
const char* QtClassOf(const form::Control& c) {
    switch (c.Kind) {
    case form::ControlKind::TextBox: return c.MultiLine ? "QPlainTextEdit" : "QLineEdit";
    case form::ControlKind::PushButton: return "QPushButton";
    case form::ControlKind::Label:
    case form::ControlKind::Picture: return "QLabel";
    case form::ControlKind::OptionButton: return "QRadioButton";
    case form::ControlKind::Frame:
    case form::ControlKind::Shape: return "QFrame";
    case form::ControlKind::Drawing: return "QWidget";
    }
    return "";
}

// The palette roles in which each kind of control shows its back and its text colour.
std::pair<QPalette::ColorRole, QPalette::ColorRole> RolesOf(form::ControlKind kind) {
    switch (kind) {
    case form::ControlKind::TextBox: return {QPalette::Base, QPalette::Text};
    case form::ControlKind::PushButton: return {QPalette::Button, QPalette::ButtonText};
    default: return {QPalette::Window, QPalette::WindowText};
    }
}

void ExpectDrawnAsItsKind(const QWidget& control, const form::Control& c) {
    EXPECT_TRUE(control.inherits(QtClassOf(c))) << control.metaObject()->className();
    // Enter and Escape reach no push button.
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault());
    }
    const auto [backRole, textRole] = RolesOf(c.Kind);
    if (c.Back) {
        EXPECT_EQ(control.palette().color(backRole), ToQColor(*c.Back));
    }
    if (const std::optional<form::Colour> text = form::TextColour(c)) {
        EXPECT_EQ(control.palette().color(textRole), ToQColor(*text));
    } else if (c.Kind == form::ControlKind::Label) {
        // Without a colour of its own a label shows the system's, not its parent's.
        EXPECT_EQ(control.palette().color(QPalette::WindowText),
                  QApplication::palette().color(QPalette::WindowText));
    }
    // A transparent label lets its parent show through; its text keeps to the top.
    if (c.Kind == form::ControlKind::Label) {
        EXPECT_EQ(control.autoFillBackground(), c.Back.has_value());
        EXPECT_TRUE(static_cast<const QLabel&>(control).alignment() & Qt::AlignTop);
    }
}

// Where they are placed, with what text and font, is checked on every host by
// HostConformanceTest.cpp.
TEST(Forms, EveryControlIsTheWidgetOfItsKindInItsColours) {
    for (const form::Form* design : form::AllForms()) {
        SCOPED_TRACE(std::string(design->Name));
        FormOn on(*design);
        // A dialog has no frame of its own around its client area.
        if (qobject_cast<const QMainWindow*>(&on.Window()) == nullptr) {
            EXPECT_EQ(on.Window().size(), on.Client().size());
        }
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(c.Name));
            ExpectDrawnAsItsKind(on.Control(c.Id), c);
        }
    }
}

TEST(MainWindow, FixedClientAreaUnderTheMenuBar) {
    FormOn on(form::KelbrinForm());
    auto& w = static_cast<QMainWindow&>(on.Window());
    w.resize(600, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.centralWidget()->size(), QSize(312, 282));
    EXPECT_EQ(w.centralWidget()->y(), w.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(w.height(), 282 + w.menuBar()->height());
}

// A name that is no UTF-8 reaches the form as its bytes.
TEST(MainWindow, DropOfANameThatIsNoUtf8ReachesTheFormAsItsBytes) {
    FormOn on(form::KelbrinForm());
    on.Port->TakeDrops(true);
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file:///tmp/%FF%FE%20game/x.nes")});
    EXPECT_TRUE(DropOn(on.Window(), data));
    EXPECT_EQ(on.Events.Log, std::vector<std::string>{"drop:/tmp/\xFF\xFE game/x.nes"});
}

// A title or a tip that shows a path shows any name as the file system decodes it.
TEST(MainWindow, TitleAndTipShowAPathAsTheFileSystemDecodesIt) {
    FormOn on(form::KelbrinForm());
    on.Port->SetTitleName("\xFF game");
    EXPECT_EQ(on.Window().windowTitle(),
              QString::fromUtf8("Kelbrin \u2013 ") + QFile::decodeName("\xFF game"));
    on.Port->SetPathTip(form::frmKelbrin::lblStatus, "/games/t1");
    EXPECT_EQ(on.Control(form::frmKelbrin::lblStatus).toolTip(), "/games/t1");
}

} // namespace
} // namespace kelbrin::test
