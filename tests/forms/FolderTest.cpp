// Which folder the buttons act on: the program's own when it holds a script, else the one given
// at start, chosen in the File menu, dropped on the window, or remembered from last time; and
// what File, ROM Information tells of the original in it.

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <filesystem>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

using form::ControlId;

QString Status(const MainWindowOn& on) {
    return on.Control<QLabel>(ControlId::lblStatus).text();
}

// A folder beside the program's with a script and an original of its own.
struct GameFolder {
    TempFolder Folder;
    GameFolder() {
        Folder.Write("orig.nes", Image(0x40));
        Folder.Write("Kelbrin.txt", Join({kNameLine, kSizeLine, kHeaderLine, kCopyLine}, "\r\n"));
    }
    QString Path() const { return QString::fromStdString(Folder.Path()); }
};

// A drag that enters the window and is dropped on it, as the window system delivers it.
void Drop(QWidget& window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    ASSERT_TRUE(drop.isAccepted());
}

void ForgetFolder() {
    QSettings("Kelbrin", "Kelbrin").remove("folder");
}

TEST(Folder, InstalledCopyAsksForAFolderRemembersItAndStartsOnItNextTime) {
    ForgetFolder();
    const GameFolder game;
    {
        MainWindowOn on(false);
        EXPECT_EQ(Status(on), "Choose the folder with Kelbrin.txt");
        EXPECT_EQ(on.Window->windowTitle(), "Kelbrin");
        // A press with no folder yet opens the folder dialog, then runs on the folder chosen.
        on.Closer.FolderToChoose = game.Path();
        on.Control<QPushButton>(ControlId::cmdExpand1).click();
        ASSERT_EQ(on.Closer.Boxes.size(), 1u);
        EXPECT_EQ(on.Closer.Boxes[0].Text, "<folder dialog>");
        EXPECT_EQ(game.Folder.Read("big.nes"), Image(8));
        EXPECT_EQ(Status(on), "Expansion Done");
        EXPECT_EQ(on.Window->windowTitle(),
                  QString::fromUtf8("Kelbrin \u2013 ") + QDir(game.Path()).dirName());
        EXPECT_EQ(on.Control(ControlId::lblStatus).toolTip(), game.Path());
    }
    MainWindowOn next(false);
    EXPECT_EQ(next.Window->Form().Folder(), game.Folder.Path());
    EXPECT_EQ(Status(next), "");
}

TEST(Folder, CancelledDialogLeavesTheFolderAndRunsNothing) {
    ForgetFolder();
    MainWindowOn on(false);
    on.Control<QPushButton>(ControlId::cmdExpand0).click();
    EXPECT_EQ(on.Closer.Boxes.size(), 1u);
    EXPECT_FALSE(on.Window->Form().LastRun().has_value());
    EXPECT_EQ(Status(on), "Choose the folder with Kelbrin.txt");
}

TEST(Folder, DroppedFolderOrFileMakesItsFolderTheOneTheButtonsActOn) {
    const GameFolder game;
    game.Folder.Write("patch.ips", "PATCH");
    for (const QString& dropped :
         {game.Path(), game.Path() + "/Kelbrin.txt", game.Path() + "/patch.ips"}) {
        SCOPED_TRACE(dropped.toStdString());
        MainWindowOn on;
        Drop(*on.Window, dropped);
        EXPECT_EQ(on.Window->Form().Folder(), game.Folder.Path());
        on.Control<QPushButton>(ControlId::cmdExpand1).click();
        EXPECT_EQ(game.Folder.Read("big.nes"), Image(8));
    }
}

TEST(Folder, FolderWithoutAScriptIsSaidInTheStatusLine) {
    const TempFolder empty;
    MainWindowOn on;
    Drop(*on.Window, QString::fromStdString(empty.Path()));
    EXPECT_EQ(Status(on), "No Kelbrin.txt in this folder");
}

TEST(Folder, StartPathIsTheFolderOrTheFolderOfTheFile) {
    const GameFolder game;
    for (const std::string& start : {game.Folder.Path(), game.Folder.PathOf("Kelbrin.txt")}) {
        SCOPED_TRACE(start);
        MainWindowOn on(false, start);
        EXPECT_EQ(on.Window->Form().Folder(), game.Folder.Path());
        EXPECT_EQ(Status(on), "");
    }
}

TEST(Folder, PortableCopyWritesNoSettingsNotEvenTheDialogsHistory) {
    ForgetFolder();
    // Where Qt's file dialog keeps its history.
    const QString dialogSettings = QSettings(QSettings::UserScope, "QtProject").fileName();
    QFile::remove(dialogSettings);
    const GameFolder game;
    MainWindowOn on;
    EXPECT_EQ(on.Window->Form().Folder(), on.Folder.Path());
    EXPECT_EQ(on.Window->windowTitle(), "Kelbrin");
    on.Item(form::MenuId::mnuFile_Folder).trigger();
    on.Closer.FolderToChoose = game.Path();
    on.Item(form::MenuId::mnuFile_Folder).trigger();
    EXPECT_EQ(on.Window->Form().Folder(), game.Folder.Path());
    EXPECT_FALSE(QSettings("Kelbrin", "Kelbrin").contains("folder"));
    EXPECT_FALSE(QFile::exists(dialogSettings));
    // The user's settings are where they were.
    EXPECT_EQ(QSettings(QSettings::UserScope, "QtProject").fileName(), dialogSettings);
}

TEST(Info, ShowsTheOriginalsIdentityAndCopiesItOrReportsTheFailureAsARunWould) {
    MainWindowOn on;
    on.Item(form::MenuId::mnuFile_Info).trigger();
    ASSERT_EQ(on.Closer.Boxes.size(), 1u);
    const SeenBox& info = on.Closer.Boxes[0];
    EXPECT_EQ(info.Title, "ROM Information");
    EXPECT_TRUE(info.Text.startsWith("Original: orig.nes\nLength: 80 bytes\nHeader: 16 bytes\n"))
        << info.Text.toStdString();
    EXPECT_TRUE(info.Text.contains("SIZE line: SIZE\t40\t8\t")) << info.Text.toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), info.Text);
    EXPECT_FALSE(on.Folder.Exists("big.nes"));

    on.Script("SIZE\t41\t8");
    on.Item(form::MenuId::mnuFile_Info).trigger();
    ASSERT_EQ(on.Closer.Boxes.size(), 2u);
    EXPECT_EQ(on.Closer.Boxes[1].Text, "Error #0 -> \n\nOriginal ROM is not 65 bytes or 81 bytes");
    EXPECT_EQ(on.Closer.Boxes[1].Icon, QMessageBox::Critical);
}

} // namespace
} // namespace kelbrin::test
