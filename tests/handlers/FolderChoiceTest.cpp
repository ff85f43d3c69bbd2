// Which folder the main window's buttons act on: the one named at start, the program's own
// when it holds a script, the one kept from last time, dropped or chosen in the dialog; and
// what a run, a name that names nothing and a folder without a script do to that choice.

#include <cstdlib>
#include <filesystem>

#include "FolderNames.h"
#include "FolderPaths.h"
#include "MainForm.h"
#include "RunProgram.h"

namespace kelbrin::test {
namespace {

namespace fs = std::filesystem;

const std::string kChooseFolder = "Choose the folder with Kelbrin.txt";

// The path as messages spell it (on Windows in the ANSI code page, as a script's names).
SeenBox NotFound(const std::string& path) {
    return {"Kelbrin", "Folder or file not found:\r\n" + PathText(path), MessageBoxIcon::Stop};
}

// The last part of a folder's path, as a person calls the folder.
std::string NameOf(const std::string& folder) {
    return folder.substr(folder.find_last_of(TempFolder::kSeparator) + 1);
}

// Runs in another working directory and comes back.
struct WorkingIn {
    fs::path Before = fs::current_path();
    explicit WorkingIn(const std::string& folder) { fs::current_path(folder); }
    ~WorkingIn() { fs::current_path(Before); }
};

// The folder the buttons act on from the start: the one the start path names, else the one kept
// from last time when it is still there.
TEST(StartFolder, StartPathElseTheFolderKeptIsTheOneInUseAndANameOfNothingIsNone) {
    const GameFolder game;
    const GameFolder kept;
    game.Folder.Write("patch.ips", "PATCH");
    const std::string missing = game.Folder.PathOf("no such folder");
    struct StartCase {
        const char* Name;
        std::optional<std::string> StartPath;
        std::string Kept;
        bool Portable;
        std::string Folder; // empty: none
        bool NotFound;      // a box says that the start path names nothing
    };
    const std::string separator(1, TempFolder::kSeparator);
    const std::vector<StartCase> cases{
        {"folder", game.Path(), kept.Path(), false, game.Path(), false},
        {"file in it", game.Folder.PathOf("patch.ips"), kept.Path(), false, game.Path(), false},
        {"folder with a separator at its end", game.Path() + separator, kept.Path(), false,
         game.Path(), false},
        {"the folder's script given to a portable copy", game.Folder.PathOf("Kelbrin.txt"),
         kept.Path(), true, game.Path(), false},
        {"nothing by that name", missing, kept.Path(), false, "", true},
        {"nothing by that name, to a portable copy", missing, kept.Path(), true, "", true},
        {"none: the folder kept", std::nullopt, kept.Path(), false, kept.Path(), false},
        {"none: the file kept, in its folder", std::nullopt, kept.Folder.PathOf("orig.nes"), false,
         kept.Path(), false},
        {"none: the folder kept is gone since", std::nullopt, kept.Folder.PathOf("gone"), false, "",
         false},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on({.Portable = c.Portable, .StartPath = c.StartPath, .Kept = c.Kept});
        EXPECT_EQ(on.Form->Folder(), c.Folder);
        EXPECT_EQ(on.Desktop.Boxes,
                  c.NotFound ? std::vector{NotFound(*c.StartPath)} : std::vector<SeenBox>{});
        EXPECT_EQ(on.Window().TitleName, c.Folder.empty() ? "" : NameOf(c.Folder));
        EXPECT_EQ(on.Window().Of(form::frmKelbrin::lblStatus).PathTip, c.Folder);
        EXPECT_EQ(on.Status(), c.Folder.empty() ? kChooseFolder : "");
    }
}

TEST(StartFolder, RelativeStartPathsAreTakenFromTheWorkingFolderAndNamedByTheirOwnName) {
    const GameFolder game;
    fs::create_directory(game.Folder.PathOf("sub"));
    const std::string parentName = NameOf(game.Path());
    for (const std::string& start :
         std::vector<std::string>{".", "sub/..", "./", "../" + parentName}) {
        SCOPED_TRACE(start);
        const WorkingIn working(game.Path());
        MainForm on({.StartPath = start});
        ASSERT_TRUE(on.Form->Folder().starts_with(fs::current_path().string()));
        EXPECT_EQ(on.Window().TitleName, parentName);
        EXPECT_EQ(on.Status(), "");
    }
}

#ifndef _WIN32
// POSIX names files in bytes, which need not be text at all.
TEST(StartFolder, FolderNamedInBytesThatAreNoTextIsTakenAsItIs) {
    const TempFolder root;
    const std::string folder = root.PathOf("\xFF\xFE game");
    fs::create_directory(folder);
    for (const bool portable : {false, true}) {
        SCOPED_TRACE(portable ? "the program's own" : "named at start");
        const std::string program = portable ? folder : root.Path();
        root.Write("\xFF\xFE game/Kelbrin.txt", "NAME\torig.nes\tbig.nes");
        FakeDesktop desktop;
        frmKelbrin form(desktop, program,
                        portable ? std::nullopt : std::optional<std::string>(folder));
        form.Show();
        EXPECT_EQ(form.Folder(), folder);
        EXPECT_EQ(desktop.Find("frmKelbrin")->TitleName, portable ? "" : "\xFF\xFE game");
        EXPECT_TRUE(desktop.Boxes.empty());
    }
}

TEST(StartFolder, ProgramInAFolderNamedInBytesThatAreNoTextFindsItsFolderAsItIs) {
    const TempFolder root;
    const std::string folder = root.PathOf("\xFF\xFE portable");
    fs::create_directory(folder);
    const std::string copy = folder + "/show-program-folder";
    fs::copy_file(KELBRIN_SHOW_PROGRAM_FOLDER, copy);
    for (const std::string& directory : {root.Path(), folder}) {
        SCOPED_TRACE(directory);
        const ProgramResult shown = RunProgram(copy, {}, directory);
        EXPECT_EQ(shown.ExitStatus, 0) << shown.Err;
        EXPECT_EQ(shown.Out, folder);
    }
}
#endif

// The user's home folder is `folder` while this lives.
class HomeIn {
public:
#ifdef _WIN32
    static constexpr const char* kVariable = "USERPROFILE";
#else
    static constexpr const char* kVariable = "HOME";
#endif
    explicit HomeIn(const std::string& folder) {
        if (const char* before = std::getenv(kVariable)) {
            before_ = before;
        }
        Set(folder);
    }
    ~HomeIn() {
        Set(before_);
    }
    HomeIn(const HomeIn&) = delete;
    HomeIn& operator=(const HomeIn&) = delete;

private:
    // Nothing: unset.
    static void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
        ::_putenv_s(kVariable, value.value_or("").c_str());
#else
        if (value) {
            ::setenv(kVariable, value->c_str(), 1);
        } else {
            ::unsetenv(kVariable);
        }
#endif
    }
    std::optional<std::string> before_;
};

TEST(ChosenFolder, DialogOpensAtTheFolderInUseElseTheOneKeptElseTheUsersHome) {
    const TempFolder home;
    const HomeIn homeIn(home.Path());
    const GameFolder game;
    const GameFolder kept;
    const std::string missing = game.Folder.PathOf("no such folder");
    struct StartCase {
        const char* Name;
        MainForm::Start Start;
        std::string DialogStart;
    };
    // Never the program's folder: an installed copy's is /usr/bin.
    const std::vector<StartCase> cases{
        {"a folder in use", {.StartPath = game.Path(), .Kept = kept.Path()}, game.Path()},
        {"none in use, one kept", {.StartPath = missing, .Kept = kept.Path()}, kept.Path()},
        {"nothing kept", {}, home.Path()},
        {"the one kept is gone", {.Kept = missing}, home.Path()},
        {"a portable copy keeps nothing",
         {.Portable = true, .StartPath = missing, .Kept = kept.Path()},
         home.Path()},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on(c.Start);
        on.Choose(form::frmKelbrin::mnuFile_Folder);
        EXPECT_EQ(on.Desktop.DialogStarts, std::vector<std::string>{c.DialogStart});
    }
}

TEST(ChosenFolder, InstalledCopyAsksForAFolderKeepsItAndStartsOnItNextTime) {
    const GameFolder game;
    MainForm on({});
    EXPECT_EQ(on.Status(), kChooseFolder);
    EXPECT_EQ(on.Window().TitleName, "");
    // A press with no folder opens the folder dialog; cancelled, nothing runs.
    on.Press(0);
    EXPECT_EQ(on.Desktop.DialogStarts.size(), 1u);
    EXPECT_FALSE(on.Form->LastRun().has_value());
    EXPECT_EQ(on.Status(), kChooseFolder);
    // Then it runs on the folder chosen.
    on.Desktop.DialogAnswers = {game.Path()};
    on.Press(1);
    EXPECT_EQ(game.Folder.Read("big.nes"), Image(8));
    EXPECT_EQ(on.Status(), "Expansion Done");
    EXPECT_EQ(on.Window().TitleName, NameOf(game.Path()));
    EXPECT_EQ(on.Window().Of(form::frmKelbrin::lblStatus).PathTip, game.Path());
    EXPECT_EQ(on.Desktop.Kept, game.Path());

    MainForm next({.Kept = on.Desktop.Kept});
    EXPECT_EQ(next.Form->Folder(), game.Path());
    EXPECT_EQ(next.Status(), "");
}

TEST(ChosenFolder, DroppedFolderOrAnyFileInItIsTheOneTheButtonsActOn) {
    const GameFolder game;
    game.Folder.Write("patch.ips", "PATCH");
    for (const std::string& dropped :
         {game.Path(), game.Folder.PathOf("Kelbrin.txt"), game.Folder.PathOf("patch.ips")}) {
        SCOPED_TRACE(dropped);
        MainForm on({.Portable = true});
        EXPECT_TRUE(on.Window().TakesDrops);
        on.Drop(dropped);
        EXPECT_EQ(on.Form->Folder(), game.Path());
        // The folder's run alone: the patch there is chosen too (see the patch line's tests).
        on.Window().Click(form::frmKelbrin::cmdNoPatch);
        on.Press(1);
        EXPECT_EQ(game.Folder.Read("big.nes"), Image(8));
    }
}

TEST(ChosenFolder, PortableCopyWorksOnItsOwnFolderAndKeepsNothing) {
    const GameFolder game;
    MainForm on({.Portable = true, .Kept = game.Path()});
    EXPECT_TRUE(on.Desktop.KeepsNoSettings);
    EXPECT_EQ(on.Form->Folder(), on.ProgramFolder.Path());
    EXPECT_EQ(on.Window().TitleName, "");
    on.Desktop.DialogAnswers = {game.Path()};
    on.Choose(form::frmKelbrin::mnuFile_Folder);
    on.Drop(game.Path());
    EXPECT_EQ(on.Form->Folder(), game.Path());
}

TEST(ChosenFolder, NameThatNamesNothingIsRefusedWithABoxAndTheFolderStays) {
    const GameFolder game;
    const GameFolder other;
    const std::string missing = other.Folder.PathOf("mangled \xEF\xBF\xBD name");
    for (const bool dropped : {true, false}) {
        SCOPED_TRACE(dropped ? "dropped" : "chosen in the dialog");
        MainForm on({.StartPath = game.Path()});
        if (dropped) {
            on.Drop(missing);
        } else {
            on.Desktop.DialogAnswers = {missing};
            on.Choose(form::frmKelbrin::mnuFile_Folder);
        }
        EXPECT_EQ(on.Desktop.Boxes, std::vector<SeenBox>{NotFound(missing)});
        EXPECT_EQ(on.Form->Folder(), game.Path());
        EXPECT_FALSE(on.Desktop.Kept.has_value());
    }
}

TEST(ChosenFolder, FolderWithoutAScriptIsNotKeptAndAPressThereAsksForAnother) {
    const TempFolder empty;
    const GameFolder game;
    MainForm on({});
    on.Drop(empty.Path());
    EXPECT_EQ(on.Status(), "No Kelbrin.txt in this folder");
    EXPECT_FALSE(on.Desktop.Kept.has_value());

    // Cancelled: nothing runs, nothing is said.
    on.Press(1);
    EXPECT_EQ(on.Desktop.DialogStarts, std::vector<std::string>{empty.Path()});
    EXPECT_FALSE(on.Form->LastRun().has_value());
    EXPECT_TRUE(on.Desktop.Boxes.empty());

    on.Desktop.DialogAnswers = {game.Path()};
    on.Press(1);
    EXPECT_EQ(on.Desktop.DialogStarts.size(), 2u);
    EXPECT_EQ(game.Folder.Read("big.nes"), Image(8));
    EXPECT_EQ(on.Desktop.Kept, game.Path());
}

TEST(ChosenFolder, RunKeepsItsFolderChoosingDroppingInformationAndTheAuthorsBoxesWaitTillItEnds) {
    const GameFolder game;
    const GameFolder other;
    MainForm on({.StartPath = game.Path()});
    // Queued before the run locked them (the main window's tests check the locks), they change
    // nothing.
    on.DuringRun([&] {
        on.Desktop.DialogAnswers = {other.Path()};
        on.Choose(form::frmKelbrin::mnuFile_Folder);
        on.Drop(other.Path());
        on.Choose(form::frmKelbrin::mnuFile_Info);
        on.Choose(form::frmKelbrin::mnuFile_Check);
        on.Choose(form::frmKelbrin::mnuFile_MakeScript);
    });
    on.Press(1);
    EXPECT_TRUE(on.Desktop.DialogStarts.empty());
    EXPECT_EQ(on.Desktop.ModalShows, 0);
    EXPECT_EQ(on.Form->Folder(), game.Path());
    EXPECT_EQ(on.Window().TitleName, NameOf(game.Path()));
    EXPECT_EQ(game.Folder.Read("big.nes"), Image(8));
}

TEST(ChosenFolder, AnotherFolderHidesTheMD5RowOfTheRunBefore) {
    GameFolder game;
    WriteGame(game.Folder, kSizeLine + "\t?");
    const GameFolder other;
    MainForm on({.StartPath = game.Path()});
    on.Press(1);
    ASSERT_TRUE(on.MD5RowShown());
    on.Drop(game.Folder.PathOf("Kelbrin.txt"));
    EXPECT_TRUE(on.MD5RowShown());
    on.Drop(other.Path());
    EXPECT_FALSE(on.MD5RowShown());
}

TEST(FolderNames, AFolderIsNamedByItsLastPartAsItReads) {
    struct NameCase {
        std::string Folder;
        std::string Name;
    };
#ifdef _WIN32
    const std::vector<NameCase> cases{{"C:\\games\\t1", "t1"},      {"C:\\games\\t1\\..", "games"},
                                      {"C:\\games\\.\\t1", "t1"},   {"C:\\", "C:\\"},
                                      {"\\\\server\\roms", "roms"}, {"C:/games/t1", "t1"}};
#else
    const std::vector<NameCase> cases{{"/games/t1", "t1"},     {"/games/t1/..", "games"},
                                      {"/games/./t1", "t1"},   {"/", "/"},
                                      {"/games/a\\b", "a\\b"}, {"/games//t1", "t1"}};
#endif
    for (const NameCase& c : cases) {
        EXPECT_EQ(FolderName(c.Folder), c.Name) << c.Folder;
    }
}

} // namespace
} // namespace kelbrin::test
