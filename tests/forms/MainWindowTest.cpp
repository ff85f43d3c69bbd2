// The forms as the Qt host draws them, as their tables describe them; the main window's frame,
// fixed client area, and drops and titles of names that are no UTF-8. What every host does
// alike is in HostConformanceTest.cpp.

#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <map>

#include "DescriptionValues.h"
#include "Fonts.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

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
QPalette::ColorRole BackRole(form::ControlKind kind) {
    switch (kind) {
    case form::ControlKind::TextBox: return QPalette::Base;
    case form::ControlKind::PushButton: return QPalette::Button;
    default: return QPalette::Window;
    }
}
QPalette::ColorRole TextRole(form::ControlKind kind) {
    switch (kind) {
    case form::ControlKind::TextBox: return QPalette::Text;
    case form::ControlKind::PushButton: return QPalette::ButtonText;
    default: return QPalette::WindowText;
    }
}

// The look-alike a family resolves to on a machine without it.
const std::map<QString, QString> kLookAlikes = {{"Comic Sans MS", "Comic Neue"},
                                                {"Courier New", "Liberation Mono"},
                                                {"MS Sans Serif", "Liberation Sans"}};

// What a text box holds, as a person reads it.
QString TextOf(const QWidget& box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(&box)) {
        return line->text();
    }
    return static_cast<const QPlainTextEdit&>(box).toPlainText();
}

void ExpectDrawnAsDescribed(const QWidget& control, const form::Control& c, const QWidget& client) {
    EXPECT_TRUE(control.inherits(QtClassOf(c))) << control.metaObject()->className();
    EXPECT_EQ(control.parentWidget(), !c.Parent ? &client : &Find(client, *c.Parent));
    const QRect at = PixelRect(c.At);
    if (c.Kind == form::ControlKind::Picture) {
        // At its natural size, its top-left corner in its place.
        EXPECT_EQ(control.geometry(),
                  QRect(at.topLeft(), static_cast<const QLabel&>(control).pixmap().size()));
    } else {
        EXPECT_EQ(control.geometry(), at);
    }
    if (c.Kind == form::ControlKind::TextBox) {
        EXPECT_EQ(TextOf(control), QString::fromLatin1(c.Caption).replace("\r\n", "\n"));
        EXPECT_EQ(control.property("readOnly").toBool(), !c.Editable);
    } else {
        EXPECT_TRUE(IsWrappingOf(ShownCaption(&control), QString::fromLatin1(c.Caption)))
            << ShownCaption(&control).toStdString();
    }
    EXPECT_EQ(control.isVisible(), c.Visible);
    if (const auto* option = qobject_cast<const QRadioButton*>(&control)) {
        EXPECT_EQ(option->isChecked(), c.Selected);
    }
    // Enter and Escape reach no push button.
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault());
    }
    if (c.Back) {
        EXPECT_EQ(control.palette().color(BackRole(c.Kind)), ToQColor(*c.Back));
    }
    if (const std::optional<form::Colour> text = form::TextColour(c)) {
        EXPECT_EQ(control.palette().color(TextRole(c.Kind)), ToQColor(*text));
    } else if (c.Kind == form::ControlKind::Label) {
        // Without a colour of its own a label shows the system's, not its parent's.
        EXPECT_EQ(control.palette().color(QPalette::WindowText),
                  QApplication::palette().color(QPalette::WindowText));
    }
    // A transparent label lets its parent show through.
    if (c.Kind == form::ControlKind::Label) {
        EXPECT_EQ(control.autoFillBackground(), c.Back.has_value());
        EXPECT_EQ(static_cast<const QLabel&>(control).alignment(),
                  QtAlignment(c.Align) | Qt::AlignTop);
    }
    // Without a font of its own, the forms' default, not the desktop's.
    const form::Font& font = c.TextFont.Family.empty() ? kFormsDefaultFont : c.TextFont;
    const QString family = QString::fromLatin1(font.Family);
    EXPECT_EQ(control.font().family(), family);
    EXPECT_EQ(control.font().pointSizeF(), font.Points);
    EXPECT_EQ(control.font().bold(), font.Bold);
    const QString resolved = QFontInfo(control.font()).family();
    EXPECT_TRUE(resolved == family || resolved == kLookAlikes.at(family)) << resolved.toStdString();
}

TEST(Forms, EveryControlOfEveryFormStandsAsItsFormDescribesIt) {
    for (const form::Form* design : form::AllForms()) {
        SCOPED_TRACE(std::string(design->Name));
        FormOn on(*design);
        const QWidget& w = on.Window();
        // A form with menus is a main window: its client area lies under the menu bar.
        const auto* main = qobject_cast<const QMainWindow*>(&w);
        EXPECT_EQ(main != nullptr, !design->Menus.empty());
        const QWidget& client = on.Client();
        EXPECT_EQ(w.size(), main != nullptr ? w.size() : client.size());
        EXPECT_EQ(w.windowTitle(), QString::fromLatin1(design->Caption));
        EXPECT_EQ(client.size(),
                  QSize(form::ToPixels(design->Width), form::ToPixels(design->Height)));
        EXPECT_EQ(w.parentWidget(), nullptr);
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(c.Name));
            ExpectDrawnAsDescribed(on.Control(c.Id), c, client);
        }
    }
}

TEST(MainWindow, FrameLiesAboveTheTitleLabelsItOverlaps) {
    FormOn on(form::KelbrinForm());
    const QWidget& frame = on.Control(form::frmKelbrin::fraDownloader);
    for (const ControlId title : {form::frmKelbrin::lblTitle0, form::frmKelbrin::lblTitle1}) {
        const QRect overlap = on.Control(title).geometry().intersected(frame.geometry());
        ASSERT_FALSE(overlap.isEmpty());
        EXPECT_EQ(frame.parentWidget()->childAt(overlap.center()), &frame);
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
