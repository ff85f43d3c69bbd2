// The main window through its controls: drawn as its form describes it, the four ways to start a
// run, the controls locked while one is under way, the boxes, the status line and MD5 row, and
// leaving the program.

#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>

#include "TwipLayout.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;
using form::MenuId;

// The Qt widget that draws each kind of control.
const char* QtClassOf(form::ControlKind kind) {
    switch (kind) {
    case form::ControlKind::TextBox: return "QLineEdit";
    case form::ControlKind::PushButton: return "QPushButton";
    case form::ControlKind::Label:
    case form::ControlKind::Picture: return "QLabel";
    case form::ControlKind::OptionButton: return "QRadioButton";
    case form::ControlKind::Frame:
    case form::ControlKind::Shape: return "QFrame";
    }
    return "";
}

// The palette role in which each kind of control shows its back colour.
QPalette::ColorRole BackRole(form::ControlKind kind) {
    switch (kind) {
    case form::ControlKind::TextBox: return QPalette::Base;
    case form::ControlKind::PushButton: return QPalette::Button;
    default: return QPalette::Window;
    }
}

// The look-alike a family resolves to on a machine without it.
const std::map<QString, QString> kLookAlikes = {{"Comic Sans MS", "Comic Neue"},
                                                {"Courier New", "Liberation Mono"},
                                                {"MS Sans Serif", "Liberation Sans"}};

TEST(MainWindow, EveryControlStandsAsItsFormDescribesIt) {
    MainWindowOn on;
    QtKelbrinWindow& w = *on.Window;
    EXPECT_EQ(w.windowTitle(), "Kelbrin");
    for (const form::Control& c : form::KelbrinForm().Controls) {
        SCOPED_TRACE(std::string(c.Name));
        const QWidget& control = on.Control(c.Id);
        EXPECT_TRUE(control.inherits(QtClassOf(c.Kind))) << control.metaObject()->className();
        EXPECT_EQ(control.parentWidget(),
                  c.Parent == ControlId::None ? w.centralWidget() : &on.Control(c.Parent));
        EXPECT_EQ(control.geometry(), PixelRect(c.At));
        EXPECT_TRUE(IsWrappingOf(ShownCaption(&control), QString::fromLatin1(c.Caption)))
            << ShownCaption(&control).toStdString();
        EXPECT_EQ(control.isVisible(), c.Visible);
        if (c.Back) {
            EXPECT_EQ(control.palette().color(BackRole(c.Kind)), ToQColor(*c.Back));
        }
        if (c.Fore) {
            EXPECT_EQ(control.palette().color(QPalette::WindowText), ToQColor(*c.Fore));
        } else if (c.Kind == form::ControlKind::Label) {
            // Without a colour of its own a label shows the system's, not its parent's.
            EXPECT_EQ(control.palette().color(QPalette::WindowText),
                      QApplication::palette().color(QPalette::WindowText));
        }
        // A transparent label lets its parent show through.
        if (c.Kind == form::ControlKind::Label) {
            EXPECT_EQ(control.autoFillBackground(), c.Back.has_value());
        }
        if (c.TextFont.Family.empty()) {
            EXPECT_EQ(control.font(), QApplication::font(&control));
            continue;
        }
        const QString family = QString::fromLatin1(c.TextFont.Family);
        EXPECT_EQ(control.font().family(), family);
        EXPECT_EQ(control.font().pointSizeF(), c.TextFont.Points);
        EXPECT_EQ(control.font().bold(), c.TextFont.Bold);
        const QString resolved = QFontInfo(control.font()).family();
        EXPECT_TRUE(resolved == family || resolved == kLookAlikes.at(family))
            << resolved.toStdString();
    }
    EXPECT_TRUE(on.Control<QLineEdit>(ControlId::txtMD5).isReadOnly());
}

TEST(MainWindow, FrameLiesAboveTheTitleLabelsItOverlaps) {
    MainWindowOn on;
    const QWidget& frame = on.Control(ControlId::fraDownloader);
    for (const ControlId title : {ControlId::lblTitle0, ControlId::lblTitle1}) {
        const QRect overlap = on.Control(title).geometry().intersected(frame.geometry());
        ASSERT_FALSE(overlap.isEmpty());
        EXPECT_EQ(on.Window->centralWidget()->childAt(overlap.center()), &frame);
    }
}

TEST(MainWindow, FixedClientAreaUnderTheMenuBar) {
    MainWindowOn on;
    QtKelbrinWindow& w = *on.Window;
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
    MainWindowOn on;
    QStringList bar;
    for (const form::Menu& menu : form::KelbrinForm().Menus) {
        bar << QString::fromLatin1(menu.Caption);
        QStringList expected;
        for (const form::MenuItem& item : menu.Items) {
            expected << QString::fromLatin1(item.Caption) +
                            (item.CtrlKey != 0 ? QString("\tCtrl+%1").arg(item.CtrlKey) : "");
        }
        EXPECT_EQ(Items(Find<QMenu>(*on.Window, menu.Name)), expected);
    }
    EXPECT_EQ(Items(*on.Window->menuBar()), bar);
}

TEST(MainWindow, FocusStartsOnTheAddButtonTabsThroughLiveControlsAndComesBackAfterARun) {
    MainWindowOn on;
    QtKelbrinWindow& w = *on.Window;
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto tab = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    QWidget* add = &on.Control(ControlId::cmdExpand0);
    QWidget* remove = &on.Control(ControlId::cmdExpand1);
    EXPECT_EQ(QApplication::focusWidget(), add);
    EXPECT_EQ(tab(), remove);
    EXPECT_EQ(tab(), add);
    w.ShowMD5("0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(tab(), remove);
    EXPECT_EQ(tab(), &on.Control(ControlId::txtMD5));
    EXPECT_EQ(tab(), add);

    // The button lost the focus when it was locked; after the run it has it back.
    on.Script();
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), remove);
}

TEST(MainWindow, ButtonAndMenuItemOfAnIndexRunTheSameExpansion) {
    for (const bool byMenu : {false, true}) {
        for (const std::int16_t index : {0, 1}) {
            SCOPED_TRACE(std::string(byMenu ? "menu item " : "button ") + std::to_string(index));
            MainWindowOn on;
            on.Script();
            if (byMenu) {
                on.Item(form::ExpandMenuItem(index)).trigger();
            } else {
                on.Control<QPushButton>(form::ExpandButton(index)).click();
            }
            // The original's own header is replaced, or removed.
            EXPECT_EQ(on.Folder.Read("big.nes"), (index == 0 ? ScriptHeader() : "") + Image(8));
            EXPECT_EQ(on.Control<QLabel>(ControlId::lblStatus).text(), "Expansion Done");
            EXPECT_TRUE(on.Window->Form().LastRun()->Done());
            EXPECT_TRUE(on.Closer.Boxes.empty());
        }
    }
}

// Both buttons and both expand items, then Exit, How to Use and About.
std::vector<bool> Enabled(const MainWindowOn& on) {
    return {on.Control(ControlId::cmdExpand0).isEnabled(),
            on.Control(ControlId::cmdExpand1).isEnabled(),
            on.Item(MenuId::mnuFile_Expand0).isEnabled(),
            on.Item(MenuId::mnuFile_Expand1).isEnabled(),
            on.Item(MenuId::mnuFile_Exit).isEnabled(),
            on.Item(MenuId::mnuHelp_HowTo).isEnabled(),
            on.Item(MenuId::mnuHelp_About).isEnabled()};
}

TEST(MainWindow, ExpandControlsAreLockedDuringARunAndFreedAfterItWhateverItsEnd) {
    for (const bool broken : {false, true}) {
        SCOPED_TRACE(broken ? "run ends with an error box" : "run succeeds");
        MainWindowOn on;
        on.Script(kSizeLine, broken ? kBrokenLine5 : std::vector<std::string>{});
        std::vector<bool> during;
        QString statusAfterSecondTry;
        QTimer::singleShot(0, [&] {
            during = Enabled(on);
            // A second run would have set its own last status before these return.
            on.Control<QPushButton>(ControlId::cmdExpand1).click();
            on.Item(MenuId::mnuFile_Expand1).trigger();
            statusAfterSecondTry = on.Control<QLabel>(ControlId::lblStatus).text();
        });
        on.Control<QPushButton>(ControlId::cmdExpand0).click();
        EXPECT_EQ(during, (std::vector<bool>{false, false, false, false, true, true, true}));
        EXPECT_EQ(statusAfterSecondTry, "Copy, Fill, Replace line #4");
        EXPECT_EQ(Enabled(on), std::vector<bool>(7, true));
        EXPECT_EQ(on.Closer.Boxes.size(), broken ? 1u : 0u);
    }
}

TEST(MainWindow, BoxesAreModalWithOnlyOK) {
    struct BoxCase {
        const char* Name;
        std::function<void(MainWindowOn&)> Act;
        SeenBox Expected;
    };
    // The third line of the About text is empty.
    const QString about = "Kelbrin\nVer. 11.11.29\n\n"
                          "A handy utility for custom expanding any ROM file\n"
                          "before using an IPS (or any other type of) patch.";
    const std::vector<BoxCase> cases{
        {"error of a run",
         [](MainWindowOn& on) {
             on.Script(kSizeLine, kBrokenLine5);
             on.Control<QPushButton>(ControlId::cmdExpand1).click();
         },
         {"Error", kBrokenLine5Box, QMessageBox::Critical, QMessageBox::Ok}},
        // A row name of a megabyte is quoted in the message; the box shows its start.
        {"error quoting a huge field",
         [](MainWindowOn& on) {
             on.Script(kSizeLine, {std::string(1 << 20, 'X')});
             on.Control<QPushButton>(ControlId::cmdExpand1).click();
         },
         {"Error",
          "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 5: \n" +
              QString(2000 - 66, 'X') + QString::fromUtf8(" \u2026"),
          QMessageBox::Critical, QMessageBox::Ok}},
        {"About",
         [](MainWindowOn& on) { on.Item(MenuId::mnuHelp_About).trigger(); },
         {"About Kelbrin", about, QMessageBox::NoIcon, QMessageBox::Ok}},
        // The About text repeats what the title labels show now.
        {"About after a title changed",
         [](MainWindowOn& on) {
             on.Control<QLabel>(ControlId::lblTitle0).setText("Renamed");
             on.Item(MenuId::mnuHelp_About).trigger();
         },
         {"About Kelbrin", QString(about).replace(0, 7, "Renamed"), QMessageBox::NoIcon,
          QMessageBox::Ok}},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainWindowOn on;
        c.Act(on);
        ASSERT_EQ(on.Closer.Boxes.size(), 1u);
        const SeenBox& box = on.Closer.Boxes[0];
        EXPECT_EQ(box.Title, c.Expected.Title);
        EXPECT_EQ(box.Text, c.Expected.Text);
        EXPECT_EQ(box.Icon, c.Expected.Icon);
        EXPECT_EQ(box.Buttons, c.Expected.Buttons);
    }
}

TEST(MainWindow, StatusLineAndMD5RowFollowEachRun) {
    MainWindowOn on;
    QPushButton& remove = on.Control<QPushButton>(ControlId::cmdExpand1);
    const QLabel& status = on.Control<QLabel>(ControlId::lblStatus);
    const auto row = [&] {
        return std::pair(on.Control(ControlId::lblMD5).isVisible(),
                         on.Control(ControlId::txtMD5).isVisible());
    };
    EXPECT_EQ(status.text(), "");
    EXPECT_EQ(row(), std::pair(false, false));

    on.Script(kSizeLine + "\t?");
    remove.click();
    EXPECT_EQ(row(), std::pair(true, true));
    EXPECT_EQ(on.Control<QLineEdit>(ControlId::txtMD5).text(), "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(status.text(), "Expansion Done");
    EXPECT_EQ(on.Closer.Boxes.size(), 1u); // the mismatch warning
    EXPECT_TRUE(on.Window->Form().LastRun()->MD5WarningShown);

    on.Script();
    remove.click();
    EXPECT_EQ(row(), std::pair(false, false));
    EXPECT_EQ(status.text(), "Expansion Done");

    on.Script(kSizeLine, kBrokenLine5);
    remove.click();
    EXPECT_EQ(status.text(), "Ended due to Error");
}

TEST(MainWindow, OnlyLeavingDuringARunEndsTheProgramAtOnce) {
    struct EndCase {
        const char* Name;
        bool DuringRun;
        std::function<void(MainWindowOn&)> Act;
        int EndCalls;
    };
    const std::vector<EndCase> cases{
        {"Exit", true, [](MainWindowOn& on) { on.Item(MenuId::mnuFile_Exit).trigger(); }, 1},
        {"Ctrl+Q", true,
         [](MainWindowOn& on) { QTest::keyClick(on.Window.get(), Qt::Key_Q, Qt::ControlModifier); },
         1},
        {"close box", true, [](MainWindowOn& on) { on.Window->close(); }, 1},
        {"close box when idle", false, [](MainWindowOn& on) { on.Window->close(); }, 0},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainWindowOn on;
        on.Script();
        on.Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(on.Window.get()));
        if (c.DuringRun) {
            QTimer::singleShot(0, [&] { c.Act(on); });
            on.Control<QPushButton>(ControlId::cmdExpand0).click();
        } else {
            c.Act(on);
            EXPECT_FALSE(on.Window->isVisible());
        }
        EXPECT_EQ(on.EndCalls, c.EndCalls);
    }
}

} // namespace
} // namespace kelbrin::test
