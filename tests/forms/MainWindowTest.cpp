// The main window as the Qt host draws it: as its form describes it, with its menus and tab
// order; every control and menu item of every form reaching the form's events; what the port
// sets, shown at once; and the message boxes.

#include <QDropEvent>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <map>

#include "DescriptionValues.h"
#include "Fonts.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

using form::MenuId;

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
    EXPECT_EQ(w.centralWidget()->size(), QSize(312, 230));
    EXPECT_EQ(w.centralWidget()->y(), w.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(w.height(), 230 + w.menuBar()->height());
}

// Captions in order, "-" for a separator, a shortcut after a tab.
QStringList Items(const QWidget& menu) {
    QStringList items;
    for (const QAction* action : menu.actions()) {
        items << (action->isSeparator() ? "-" : action->text()) +
                     (action->shortcut().isEmpty() ? "" : "\t" + action->shortcut().toString());
    }
    return items;
}

TEST(MainWindow, MenusHoldTheFormsItemsInOrder) {
    FormOn on(form::KelbrinForm());
    auto& w = static_cast<QMainWindow&>(on.Window());
    QStringList bar;
    for (const form::Menu& menu : form::KelbrinForm().Menus) {
        bar << QString::fromLatin1(menu.Caption);
        QStringList expected;
        for (const form::MenuItem& item : menu.Items) {
            expected << QString::fromLatin1(item.Caption) +
                            (item.CtrlKey != 0 ? QString("\tCtrl+%1").arg(item.CtrlKey) : "");
        }
        EXPECT_EQ(Items(Find<QMenu>(w, menu.Name)), expected);
    }
    EXPECT_EQ(Items(*w.menuBar()), bar);
}

TEST(MainWindow, FocusStartsOnTheAddButtonAndTabsThroughLiveControls) {
    FormOn on(form::KelbrinForm());
    QWidget& w = on.Window();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto tab = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    QWidget* add = &on.Control(form::frmKelbrin::cmdExpand0);
    QWidget* remove = &on.Control(form::frmKelbrin::cmdExpand1);
    EXPECT_EQ(QApplication::focusWidget(), add);
    EXPECT_EQ(tab(), remove);
    EXPECT_EQ(tab(), add);
    on.Port->SetVisible(form::frmKelbrin::txtMD5, true);
    EXPECT_EQ(tab(), remove);
    EXPECT_EQ(tab(), &on.Control(form::frmKelbrin::txtMD5));
    EXPECT_EQ(tab(), add);
    on.Port->SetEnabled(form::frmKelbrin::cmdExpand1, false);
    EXPECT_EQ(tab(), &on.Control(form::frmKelbrin::txtMD5));
}

// A drag from a file manager, entering the window and dropped on it, as the window system
// delivers it; whether the window took it.
bool Drop(QWidget& window, const QByteArray& fileUrl) {
    QMimeData data;
    data.setUrls({QUrl::fromEncoded(fileUrl)});
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (!window.acceptDrops()) {
        return false;
    }
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

TEST(Forms, EveryButtonOptionMenuItemKeyDropAndCloseBoxReachesTheFormsEvents) {
    struct EventCase {
        std::string Name;
        const form::Form* Form;
        std::function<void(FormOn&)> Act;
        std::vector<std::string> Log;
    };
    std::vector<EventCase> cases;
    for (const form::Form* design : form::AllForms()) {
        for (const form::Control& c : design->Controls) {
            if (c.Kind != form::ControlKind::PushButton &&
                c.Kind != form::ControlKind::OptionButton) {
                continue;
            }
            // The option chosen at the start reports when it is chosen again after another.
            const auto other = std::find_if(
                design->Controls.begin(), design->Controls.end(),
                [&c](const form::Control& o) { return o.Kind == c.Kind && o.Id != c.Id; });
            cases.push_back({std::string(c.Name),
                             design,
                             [id = c.Id, other = c.Selected ? std::optional(other->Id)
                                                            : std::nullopt](FormOn& on) {
                                 if (other) {
                                     on.Control<QRadioButton>(*other).setChecked(true);
                                     on.Events.Log.clear();
                                 }
                                 // Left, on an option button's circle.
                                 QWidget& control = on.Control(id);
                                 QTest::mouseClick(&control, Qt::LeftButton, {},
                                                   QPoint(6, control.height() / 2));
                             },
                             {"click:" + std::string(c.Name)}});
        }
        for (const form::Menu& menu : design->Menus) {
            for (const form::MenuItem& item : menu.Items) {
                if (item.Caption != "-") {
                    cases.push_back({std::string(item.Name),
                                     design,
                                     [id = item.Id](FormOn& on) { on.Item(id).trigger(); },
                                     {"choose:" + std::string(item.Name)}});
                }
            }
        }
    }
    const auto* main = &form::KelbrinForm();
    cases.push_back({"Ctrl+Q",
                     main,
                     [](FormOn& on) {
                         on.Window().activateWindow();
                         ASSERT_TRUE(QTest::qWaitForWindowActive(&on.Window()));
                         QTest::keyClick(&on.Window(), Qt::Key_Q, Qt::ControlModifier);
                     },
                     {"choose:mnuFile_Exit"}});
    cases.push_back({"close box", main, [](FormOn& on) { on.Window().close(); }, {"close"}});
    // A name that is no UTF-8 reaches the form as its bytes.
    cases.push_back({"drop",
                     main,
                     [](FormOn& on) {
                         on.Port->TakeDrops(true);
                         EXPECT_TRUE(Drop(on.Window(), "file:///tmp/%FF%FE%20game/x.nes"));
                     },
                     {"drop:/tmp/\xFF\xFE game/x.nes"}});
    cases.push_back({"drop on a window that takes none",
                     main,
                     [](FormOn& on) {
                         on.Port->TakeDrops(false);
                         EXPECT_FALSE(Drop(on.Window(), "file:///tmp/game"));
                     },
                     {}});
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FormOn on(*c.Form);
        c.Act(on);
        EXPECT_EQ(on.Events.Log, c.Log);
    }
}

TEST(Forms, WindowStaysWhenItsFormRefusesToClose) {
    FormOn on(form::KelbrinForm());
    on.Events.MayClose = false;
    on.Window().close();
    EXPECT_TRUE(on.Port->IsOpen());
    // The form closing its window itself is not asked.
    on.Port->Close();
    EXPECT_FALSE(on.Port->IsOpen());
    EXPECT_EQ(on.Events.Log, std::vector<std::string>{"close"});
}

TEST(Forms, WhatThePortSetsShowsAtOnce) {
    FormOn on(form::KelbrinForm());
    FormPort& port = *on.Port;
    port.SetCaption(form::frmKelbrin::lblStatus, "Copy, Fill, Replace line #4");
    EXPECT_EQ(on.Control<QLabel>(form::frmKelbrin::lblStatus).text(),
              "Copy, Fill, Replace line #4");
    // Script text that is no UTF-8 reads as Windows-1252.
    port.SetCaption(form::frmKelbrin::lblStatus, "No caf\xE9");
    EXPECT_EQ(on.Control<QLabel>(form::frmKelbrin::lblStatus).text(),
              QString::fromUtf8("No caf\u00E9"));
    EXPECT_EQ(port.Caption(form::frmKelbrin::lblTitle1), "Ver. 11.11.29");
    port.SetText(form::frmKelbrin::txtMD5, "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(on.Control<QLineEdit>(form::frmKelbrin::txtMD5).text(),
              "B2D3F56BC197FD985D5965079B5E7148");
    port.SetVisible(form::frmKelbrin::txtMD5, true);
    EXPECT_TRUE(on.Control(form::frmKelbrin::txtMD5).isVisible());
    port.SetEnabled(form::frmKelbrin::cmdExpand0, false);
    EXPECT_FALSE(on.Control(form::frmKelbrin::cmdExpand0).isEnabled());
    port.SetEnabled(form::frmKelbrin::mnuFile_Info, false);
    EXPECT_FALSE(on.Item(form::frmKelbrin::mnuFile_Info).isEnabled());
    port.SetTitleName("\xFF game");
    EXPECT_EQ(on.Window().windowTitle(),
              QString::fromUtf8("Kelbrin \u2013 ") + QFile::decodeName("\xFF game"));
    port.SetTitleName("");
    EXPECT_EQ(on.Window().windowTitle(), "Kelbrin");
    port.SetPathTip(form::frmKelbrin::lblStatus, "/games/t1");
    EXPECT_EQ(on.Control(form::frmKelbrin::lblStatus).toolTip(), "/games/t1");

    FormOn help(form::HowToForm());
    help.Port->SetPicture(form::frmHowTo::Image1, form::Picture::SampleOriginal);
    EXPECT_EQ(help.Control(form::frmHowTo::Image1).size(), QSize(425, 149));
}

// Fusion, but with the icons on the buttons of dialogs that some desktops' styles put there.
class IconsOnButtons final : public QProxyStyle {
public:
    IconsOnButtons() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
                   ? 1
                   : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

TEST(Desktop, MessageBoxesAreModalOverTheirWindowWithOnlyOK) {
    QApplication::setStyle(new IconsOnButtons);
    struct BoxCase {
        const char* Name;
        std::string Message;
        MessageBoxIcon Icon;
        QString Shown;
        QMessageBox::Icon ShownIcon;
    };
    // A message may quote a script line of megabytes; the box shows its start.
    const std::string huge = "Error #0 -> \r\n\r\n" + std::string(1 << 20, 'X');
    const std::vector<BoxCase> cases{
        {"error", "Error #0 -> \r\n\r\nCopy, Fill, or Replace missing", MessageBoxIcon::Stop,
         "Error #0 -> \n\nCopy, Fill, or Replace missing", QMessageBox::Critical},
        {"huge", huge, MessageBoxIcon::Stop,
         "Error #0 -> \n\n" + QString(2000 - 14, 'X') + QString::fromUtf8(" \u2026"),
         QMessageBox::Critical},
        {"no icon", "Kelbrin\r\nVer. 11.11.29", MessageBoxIcon::None, "Kelbrin\nVer. 11.11.29",
         QMessageBox::NoIcon},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FormOn on(form::KelbrinForm());
        on.Desktop.ShowMessageBox(*on.Port, c.Message, "Title", c.Icon);
        ASSERT_EQ(on.Closer.Boxes.size(), 1u);
        const SeenBox& box = on.Closer.Boxes[0];
        EXPECT_EQ(box.Title, "Title");
        EXPECT_EQ(box.Text, c.Shown);
        EXPECT_EQ(box.Icon, c.ShownIcon);
        EXPECT_EQ(box.Buttons, QMessageBox::Ok);
        EXPECT_FALSE(box.IconOnOK);
        EXPECT_EQ(box.Owner, &on.Window());
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
}

} // namespace
} // namespace kelbrin::test
