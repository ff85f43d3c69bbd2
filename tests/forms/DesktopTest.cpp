// The Qt desktop's services: the folder and file dialogs, and the user's settings (and none for
// a portable copy). Those that every host has are checked in HostConformanceTest.cpp.

#include <QFile>
#include <QListView>
#include <QSettings>
#include <QTest>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

TEST(Desktop, FolderDialogGivesTheFolderChosenOverItsWindowOrNothingWhenCancelled) {
    const TempFolder game;
    FormOn on(form::KelbrinForm());
    EXPECT_EQ(on.Desktop.ChooseFolder(*on.Port, game.Path()), std::nullopt);
    on.FolderToChoose = QFile::decodeName(game.Path().c_str());
    EXPECT_EQ(on.Desktop.ChooseFolder(*on.Port, "/"), game.Path());
    const std::vector<SeenMessageBox> boxes = on.TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Title, "Choose the folder that holds Kelbrin.txt");
    EXPECT_EQ(boxes[0].Text, game.Path());
    EXPECT_TRUE(boxes[1].OverItsWindow);
}

TEST(Desktop, FileDialogGivesTheFileChosenOverItsWindowOrNothingWhenCancelled) {
    const TempFolder game;
    game.Write("Zephyr Saga.nes", "ROM");
    FormOn on(form::KelbrinForm());
    EXPECT_EQ(on.Desktop.ChooseFile(*on.Port, "Choose the original ROM", game.Path()),
              std::nullopt);
    on.FolderToChoose = QFile::decodeName(game.PathOf("Zephyr Saga.nes").c_str());
    EXPECT_EQ(on.Desktop.ChooseFile(*on.Port, "Choose the original ROM", game.Path()),
              game.PathOf("Zephyr Saga.nes"));
    const std::vector<SeenMessageBox> boxes = on.TakeBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Title, "Choose the original ROM");
    EXPECT_TRUE(boxes[1].OverItsWindow);
}

// A person looking for the right folder sees its Kelbrin.txt, and may simply choose that.
TEST(Desktop, FolderDialogListsTheScriptAndChoosingItChoosesItsFolder) {
    const TempFolder game;
    WriteGame(game);
    FormOn on(form::KelbrinForm());
    QStringList listed;
    on.InFolderDialog = [&listed](QFileDialog& dialog) {
        auto& list = Find<QListView>(dialog, "listView");
        QModelIndex script;
        listed.clear();
        for (int row = 0; row < list.model()->rowCount(list.rootIndex()); ++row) {
            const QModelIndex item = list.model()->index(row, 0, list.rootIndex());
            listed << item.data().toString();
            if (item.data().toString() == "Kelbrin.txt") {
                script = item;
            }
        }
        // The dialog reads the folder in the background, a few names at a time.
        if (!script.isValid() || !listed.contains("orig.nes")) {
            return false;
        }
        // A double click: the first click selects it.
        const QPoint at = list.visualRect(script).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        return true;
    };
    EXPECT_EQ(on.Desktop.ChooseFolder(*on.Port, game.Path()), game.Path());
    EXPECT_TRUE(listed.contains("orig.nes")) << listed.join(", ").toStdString();
}

TEST(Desktop, SettingsKeepAFolderByteForByteAndAPortableCopyKeepsNoneNotEvenTheDialogs) {
    QSettings("Kelbrin", "Kelbrin").remove("folder");
    // Where Qt's file dialog keeps its history.
    const QString dialogSettings = QSettings(QSettings::UserScope, "QtProject").fileName();
    for (const bool portable : {true, false}) {
        SCOPED_TRACE(portable ? "portable" : "installed");
        QFile::remove(dialogSettings);
        FormOn on(form::KelbrinForm());
        EXPECT_EQ(on.Desktop.RememberedFolder(), std::nullopt);
        if (portable) {
            on.Desktop.KeepNoSettings();
        }
        on.Desktop.ChooseFolder(*on.Port, "/");
        on.FolderToChoose = "/tmp";
        on.Desktop.ChooseFolder(*on.Port, "/");
        EXPECT_EQ(QFile::exists(dialogSettings), !portable);
        // The user's settings are where they were.
        EXPECT_EQ(QSettings(QSettings::UserScope, "QtProject").fileName(), dialogSettings);
    }
    QtDesktop desktop;
    desktop.RememberFolder("/games/\xFF\xFE t1");
    EXPECT_EQ(QtDesktop().RememberedFolder(), "/games/\xFF\xFE t1");
    QSettings("Kelbrin", "Kelbrin").remove("folder");
}

} // namespace
} // namespace kelbrin::test
