// The main window through its controls: the layout a person sees, the four ways to start a
// run, the controls locked while one is under way, the boxes, the status line and MD5 row, and
// leaving the program.

#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "TwipLayout.h"
#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

struct FontCase {
    const char* Family; // nullptr: the default font
    double Points;
    bool Bold;
    const char* LookAlike; // what the family resolves to on a machine without it
};

struct ControlCase {
    const char* Name;
    std::function<QWidget*(frmKelbrin&)> Get;
    const char* Kind;
    bool InFrame;
    QRect Twips;
    QString Caption;
    bool Visible;
    std::vector<std::pair<QPalette::ColorRole, QColor>> Colours;
    FontCase Font;
};

#define CONTROL(member) [](frmKelbrin& w) -> QWidget* { return w.member; }

const QColor kBlack(0, 0, 0);
const FontCase kDefault{nullptr, 0, false, nullptr};
const FontCase kTitleFont{"Comic Sans MS", 12, false, "Comic Neue"};

// clang-format off
const std::vector<ControlCase> kControls{
    {"fraDownloader", CONTROL(fraDownloader), "QGroupBox", false, {120, 720, 4455, 2055}, "", true,
     {{QPalette::Window, {0, 255, 0}}, {QPalette::WindowText, Qt::white}}, kDefault},
    {"txtMD5", CONTROL(txtMD5), "QLineEdit", true, {720, 1680, 3615, 285}, "", false,
     {{QPalette::Base, {192, 255, 192}}}, {"Courier New", 8.25, false, "Liberation Mono"}},
    {"cmdExpand1", CONTROL(cmdExpand[1]), "QPushButton", true, {2280, 240, 2055, 855},
     "Expand and Ignore/Remove Header", true, {{QPalette::Button, {208, 208, 208}}}, kDefault},
    {"cmdExpand0", CONTROL(cmdExpand[0]), "QPushButton", true, {120, 240, 2055, 855},
     "Expand and   Add/Replace Header", true, {{QPalette::Button, {255, 255, 255}}}, kDefault},
    {"lblMD5", CONTROL(lblMD5), "QLabel", true, {120, 1700, 615, 255}, "MD5:", false,
     {{QPalette::WindowText, kBlack}}, {"Courier New", 9.75, true, "Liberation Mono"}},
    {"lblStatus", CONTROL(lblStatus), "QLabel", true, {120, 1200, 4215, 375}, "", true,
     {{QPalette::Window, {128, 255, 128}}}, {"MS Sans Serif", 9.75, true, "Liberation Sans"}},
    {"lblTitle1", CONTROL(lblTitle[1]), "QLabel", false, {120, 2760, 4455, 375}, "Ver. 11.11.29",
     true, {{QPalette::Window, kBlack}, {QPalette::WindowText, {128, 128, 255}}}, kTitleFont},
    {"lblTitle2", CONTROL(lblTitle[2]), "QLabel", false, {120, 3120, 4455, 375}, "by Halvek",
     true, {{QPalette::Window, kBlack}, {QPalette::WindowText, {0, 0, 255}}}, kTitleFont},
    {"lblTitle0", CONTROL(lblTitle[0]), "QLabel", false, {120, 0, 4455, 735}, "Kelbrin", true,
     {{QPalette::Window, kBlack}, {QPalette::WindowText, {255, 0, 0}}},
     {"Comic Sans MS", 21.75, false, "Comic Neue"}},
};
// clang-format on

TEST(MainWindow, EveryControlStandsAsDrawnWithItsCaptionColoursAndFont) {
    MainWindowOn on;
    frmKelbrin& w = *on.Window;
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.Name);
        QWidget* control = c.Get(w);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->inherits(c.Kind)) << control->metaObject()->className();
        EXPECT_EQ(control->parentWidget(),
                  c.InFrame ? static_cast<QWidget*>(w.fraDownloader) : w.centralWidget());
        const QRect& t = c.Twips;
        EXPECT_EQ(control->geometry(), TwipsRect(t.x(), t.y(), t.width(), t.height()));
        EXPECT_TRUE(IsWrappingOf(ShownCaption(control), c.Caption))
            << ShownCaption(control).toStdString();
        EXPECT_EQ(control->isVisible(), c.Visible);
        for (const auto& [role, colour] : c.Colours) {
            EXPECT_EQ(control->palette().color(role), colour) << role;
        }
        const QFont font = control->font();
        if (c.Font.Family == nullptr) {
            EXPECT_EQ(font, QApplication::font(control));
            continue;
        }
        EXPECT_EQ(font.family(), c.Font.Family);
        EXPECT_EQ(font.pointSizeF(), c.Font.Points);
        EXPECT_EQ(font.bold(), c.Font.Bold);
        const QString resolved = QFontInfo(font).family();
        EXPECT_TRUE(resolved == c.Font.Family || resolved == c.Font.LookAlike)
            << resolved.toStdString();
    }
    EXPECT_EQ(w.fraDownloader->title(), "");
    // The transparent label lets the frame show through; the status line paints its own.
    EXPECT_FALSE(w.lblMD5->autoFillBackground());
    EXPECT_TRUE(w.lblStatus->autoFillBackground());
    EXPECT_TRUE(w.txtMD5->isReadOnly());
}

TEST(MainWindow, TitledKelbrinWithAFixedClientAreaUnderTheMenuBar) {
    MainWindowOn on;
    frmKelbrin& w = *on.Window;
    EXPECT_EQ(w.windowTitle(), "Kelbrin");
    w.resize(600, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.centralWidget()->size(), QSize(312, 230));
    EXPECT_EQ(w.centralWidget()->y(), w.menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(w.height(), 230 + w.menuBar()->height());
}

// Captions in order, "-" for a separator, a shortcut after a tab.
QStringList Items(const QWidget* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        items << (action->isSeparator() ? "-" : action->text()) +
                     (action->shortcut().isEmpty() ? "" : "\t" + action->shortcut().toString());
    }
    return items;
}

TEST(MainWindow, MenusHoldTheirItemsInOrder) {
    MainWindowOn on;
    frmKelbrin& w = *on.Window;
    EXPECT_EQ(Items(w.menuBar()), (QStringList{"&File", "&Help"}));
    EXPECT_EQ(Items(w.mnuFile), (QStringList{"Expand and &Add Header", "Expand and &Remove Header",
                                             "-", "E&xit\tCtrl+Q"}));
    EXPECT_EQ(Items(w.mnuHelp), (QStringList{"&How to Use Kelbrin...", "-", "&About Kelbrin..."}));
    // The items the tests trigger are the ones in the menus.
    const QList<QAction*> file = w.mnuFile->actions();
    const QList<QAction*> help = w.mnuHelp->actions();
    EXPECT_EQ(file,
              (QList<QAction*>{w.mnuFile_Expand[0], w.mnuFile_Expand[1], file[2], w.mnuFile_Exit}));
    EXPECT_EQ(help, (QList<QAction*>{w.mnuHelp_HowTo, help[1], w.mnuHelp_About}));
}

TEST(MainWindow, FocusStartsOnTheAddButtonAndTabsOnlyThroughLiveControls) {
    MainWindowOn on;
    frmKelbrin& w = *on.Window;
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto tab = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(QApplication::focusWidget(), w.cmdExpand[0]);
    EXPECT_EQ(tab(), w.cmdExpand[1]);
    EXPECT_EQ(tab(), w.cmdExpand[0]);
    w.ShowMD5("0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(tab(), w.cmdExpand[1]);
    EXPECT_EQ(tab(), w.txtMD5);
    EXPECT_EQ(tab(), w.cmdExpand[0]);
}

TEST(MainWindow, ButtonAndMenuItemOfAnIndexRunTheSameExpansion) {
    for (const bool byMenu : {false, true}) {
        for (const std::int16_t index : {0, 1}) {
            SCOPED_TRACE(std::string(byMenu ? "menu item " : "button ") + std::to_string(index));
            MainWindowOn on;
            on.Script();
            if (byMenu) {
                on.Window->mnuFile_Expand[index]->trigger();
            } else {
                on.Window->cmdExpand[index]->click();
            }
            // The original's own header is replaced, or removed.
            EXPECT_EQ(on.Folder.Read("big.nes"), (index == 0 ? ScriptHeader() : "") + Image(8));
            EXPECT_EQ(on.Window->lblStatus->text(), "Expansion Done");
            EXPECT_TRUE(on.Closer.Boxes.empty());
        }
    }
}

// Both buttons and both expand items, then Exit, How to Use and About.
std::vector<bool> Enabled(const frmKelbrin& w) {
    return {w.cmdExpand[0]->isEnabled(),      w.cmdExpand[1]->isEnabled(),
            w.mnuFile_Expand[0]->isEnabled(), w.mnuFile_Expand[1]->isEnabled(),
            w.mnuFile_Exit->isEnabled(),      w.mnuHelp_HowTo->isEnabled(),
            w.mnuHelp_About->isEnabled()};
}

TEST(MainWindow, ExpandControlsAreLockedDuringARunAndFreedAfterItWhateverItsEnd) {
    for (const bool broken : {false, true}) {
        SCOPED_TRACE(broken ? "run ends with an error box" : "run succeeds");
        MainWindowOn on;
        frmKelbrin& w = *on.Window;
        on.Script(kSizeLine, broken ? kBrokenLine5 : std::vector<std::string>{});
        std::vector<bool> during;
        QString statusAfterSecondTry;
        QTimer::singleShot(0, [&] {
            during = Enabled(w);
            // A second run would have set its own last status before these return.
            w.cmdExpand[1]->click();
            w.mnuFile_Expand[1]->trigger();
            statusAfterSecondTry = w.lblStatus->text();
        });
        w.cmdExpand[0]->click();
        EXPECT_EQ(during, (std::vector<bool>{false, false, false, false, true, true, true}));
        EXPECT_EQ(statusAfterSecondTry, "Copy, Fill, Replace line #4");
        EXPECT_EQ(Enabled(w), std::vector<bool>(7, true));
        EXPECT_EQ(on.Closer.Boxes.size(), broken ? 1u : 0u);
    }
}

TEST(MainWindow, BoxesAreModalWithOnlyOK) {
    struct BoxCase {
        const char* Name;
        std::function<void(MainWindowOn&)> Act;
        SeenBox Expected;
    };
    const QString about = "Kelbrin\nVer. 11.11.29\n"
                          "A handy utility for custom expanding any ROM file\n"
                          "before using an IPS (or any other type of) patch.";
    const std::vector<BoxCase> cases{
        {"error of a run",
         [](MainWindowOn& on) {
             on.Script(kSizeLine, kBrokenLine5);
             on.Window->cmdExpand[1]->click();
         },
         {"Error", kBrokenLine5Box, QMessageBox::Critical, QMessageBox::Ok}},
        // A row name of a megabyte is quoted in the message; the box shows its start.
        {"error quoting a huge field",
         [](MainWindowOn& on) {
             on.Script(kSizeLine, {std::string(1 << 20, 'X')});
             on.Window->cmdExpand[1]->click();
         },
         {"Error",
          "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 5: \n" +
              QString(2000 - 66, 'X') + QString::fromUtf8(" \u2026"),
          QMessageBox::Critical, QMessageBox::Ok}},
        {"About",
         [](MainWindowOn& on) { on.Window->mnuHelp_About->trigger(); },
         {"About Kelbrin", about, QMessageBox::NoIcon, QMessageBox::Ok}},
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
    // The About text is read from the title labels each time, with CR LF line breaks.
    MainWindowOn on;
    on.Window->lblTitle[0]->setText("Renamed");
    EXPECT_EQ(on.Window->AboutText(),
              QString(about).replace(0, 7, "Renamed").replace("\n", "\r\n"));
}

TEST(MainWindow, StatusLineAndMD5RowFollowEachRun) {
    MainWindowOn on;
    frmKelbrin& w = *on.Window;
    const auto row = [&] { return std::pair(w.lblMD5->isVisible(), w.txtMD5->isVisible()); };
    EXPECT_EQ(w.lblStatus->text(), "");
    EXPECT_EQ(row(), std::pair(false, false));

    on.Script(kSizeLine + "\t?");
    w.cmdExpand[1]->click();
    EXPECT_EQ(row(), std::pair(true, true));
    EXPECT_EQ(w.lblMD5->text(), "MD5:");
    EXPECT_EQ(w.txtMD5->text(), "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(w.lblStatus->text(), "Expansion Done");
    EXPECT_EQ(on.Closer.Boxes.size(), 1u); // the mismatch warning

    on.Script();
    w.cmdExpand[1]->click();
    EXPECT_EQ(row(), std::pair(false, false));
    EXPECT_EQ(w.lblStatus->text(), "Expansion Done");

    on.Script(kSizeLine, kBrokenLine5);
    w.cmdExpand[1]->click();
    EXPECT_EQ(w.lblStatus->text(), "Ended due to Error");
}

TEST(MainWindow, OnlyLeavingDuringARunEndsTheProgramAtOnce) {
    struct EndCase {
        const char* Name;
        bool DuringRun;
        std::function<void(frmKelbrin&)> Act;
        int EndCalls;
    };
    const std::vector<EndCase> cases{
        {"Exit", true, [](frmKelbrin& w) { w.mnuFile_Exit->trigger(); }, 1},
        {"Ctrl+Q", true, [](frmKelbrin& w) { QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier); },
         1},
        {"close box", true, [](frmKelbrin& w) { w.close(); }, 1},
        {"close box when idle", false, [](frmKelbrin& w) { w.close(); }, 0},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainWindowOn on;
        frmKelbrin& w = *on.Window;
        on.Script();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        if (c.DuringRun) {
            QTimer::singleShot(0, [&] { c.Act(w); });
            w.cmdExpand[0]->click();
        } else {
            c.Act(w);
            EXPECT_FALSE(w.isVisible());
        }
        EXPECT_EQ(on.EndCalls, c.EndCalls);
    }
}

} // namespace
} // namespace kelbrin::test
