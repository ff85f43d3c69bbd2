// Which folder the main window's buttons act on, and how the window names it.

#include <filesystem>

#include "FakeWindows.h"
#include "FolderNames.h"

namespace kelbrin::test {
namespace {

namespace fs = std::filesystem;
using form::ControlId;
using form::MenuId;

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
        EXPECT_EQ(on.Window.TitleName, parentName);
        EXPECT_EQ(on.Window.Status, "");
    }
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
