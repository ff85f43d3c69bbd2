// The main window's handlers: what each button and menu item does, the controls locked while
// a run is under way, the status line and the MD5 row, the About box, and leaving the program.

#include "MainForm.h"

namespace kelbrin::test {
namespace {

// Exit, the close box and About are shown to reach theirs by the tests of leaving and of the
// About box.
TEST(MainWindow, EachButtonMenuItemAndDropReachTheirHandler) {
    struct ItemCase {
        const char* Name;
        std::function<void(MainForm&)> Act;
        // What only that handler does.
        std::function<void(const MainForm&)> Expect;
    };
    const auto expanded = [](const std::string& header) {
        return [header](const MainForm& on) {
            EXPECT_EQ(on.ProgramFolder.Read("big.nes"), header + Image(8));
            EXPECT_EQ(on.Status(), "Expansion Done");
        };
    };
    const GameFolder game;
    using Names = std::vector<std::string>;
    const std::vector<ItemCase> cases{
        {"Add/Replace button", [](MainForm& on) { on.Press(0); }, expanded(ScriptHeader())},
        {"Ignore/Remove button", [](MainForm& on) { on.Press(1); }, expanded("")},
        {"Expand and Add Header",
         [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Expand0); },
         expanded(ScriptHeader())},
        {"Expand and Remove Header",
         [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Expand1); }, expanded("")},
        {"Choose Folder", [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Folder); },
         [](const MainForm& on) { EXPECT_EQ(on.Desktop.DialogStarts.size(), 1u); }},
        {"ROM Information", [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Info); },
         [](const MainForm& on) { EXPECT_EQ(on.Desktop.ModalForms, Names{"frmInfo"}); }},
        {"Check Script", [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Check); },
         [](const MainForm& on) { EXPECT_EQ(on.Desktop.ModalForms, Names{"frmCheck"}); }},
        {"Make Script", [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_MakeScript); },
         [](const MainForm& on) { EXPECT_EQ(on.Desktop.ModalForms, Names{"frmMakeScript"}); }},
        {"Make Patch", [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_MakePatch); },
         [](const MainForm& on) { EXPECT_EQ(on.Desktop.ModalForms, Names{"frmMakePatch"}); }},
        {"How to Use", [](MainForm& on) { on.Choose(form::frmKelbrin::mnuHelp_HowTo); },
         [](const MainForm& on) {
             const FakePort* help = on.Desktop.Find("frmHowTo");
             ASSERT_NE(help, nullptr);
             EXPECT_TRUE(help->IsOpen());
         }},
        {"drop", [&game](MainForm& on) { on.Drop(game.Path()); },
         [&game](const MainForm& on) { EXPECT_EQ(on.Form->Folder(), game.Path()); }},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on({.Portable = true});
        c.Act(on);
        c.Expect(on);
        EXPECT_EQ(on.Desktop.EndCalls, 0);
    }
}

// Both buttons, the patch line's two and both expand items, then Choose Folder, ROM Information,
// Apply Patch, Check Script, Make Script, Make Patch, Exit, How to Use and About, and drops.
std::vector<bool> Enabled(const MainForm& on) {
    const FakePort& w = on.Window();
    return {w.Of(form::frmKelbrin::cmdExpand0).Enabled,
            w.Of(form::frmKelbrin::cmdExpand1).Enabled,
            w.Of(form::frmKelbrin::cmdPatch).Enabled,
            w.Of(form::frmKelbrin::cmdNoPatch).Enabled,
            w.Enabled(form::frmKelbrin::mnuFile_Expand0),
            w.Enabled(form::frmKelbrin::mnuFile_Expand1),
            w.Enabled(form::frmKelbrin::mnuFile_Folder),
            w.Enabled(form::frmKelbrin::mnuFile_Info),
            w.Enabled(form::frmKelbrin::mnuFile_ApplyPatch),
            w.Enabled(form::frmKelbrin::mnuFile_Check),
            w.Enabled(form::frmKelbrin::mnuFile_MakeScript),
            w.Enabled(form::frmKelbrin::mnuFile_MakePatch),
            w.Enabled(form::frmKelbrin::mnuFile_Exit),
            w.Enabled(form::frmKelbrin::mnuHelp_HowTo),
            w.Enabled(form::frmKelbrin::mnuHelp_About),
            w.TakesDrops};
}

TEST(MainWindow, RunLocksWhatWouldStartAnotherAndFreesItWhateverItsEnd) {
    for (const std::int16_t index : {std::int16_t{0}, std::int16_t{1}}) {
        for (const bool broken : {false, true}) {
            SCOPED_TRACE(std::string(broken ? "ends with an error box, " : "succeeds, ") +
                         "index " + std::to_string(index));
            MainForm on({.Portable = true});
            WriteGame(on.ProgramFolder, kSizeLine,
                      broken ? kBrokenLine5 : std::vector<std::string>{});
            std::vector<bool> during;
            std::string statusAfterSecondTry;
            on.DuringRun([&] {
                during = Enabled(on);
                // A click queued before the lock, by button and by menu: a second run would
                // have shown its own last status before these return.
                on.Press(static_cast<std::int16_t>(1 - index));
                on.Choose(form::frmKelbrin::mnuFile_Expand(index));
                statusAfterSecondTry = on.Status();
            });
            on.Press(index);
            EXPECT_EQ(during,
                      (std::vector<bool>{false, false, false, false, false, false, false, false,
                                         false, false, false, false, true, true, true, false}));
            EXPECT_EQ(statusAfterSecondTry, "Copy, Fill, Replace line #4");
            // The folder holds no patch for No Patch to set aside.
            EXPECT_EQ(Enabled(on),
                      (std::vector<bool>{true, true, true, false, true, true, true, true, true,
                                         true, true, true, true, true, true, true}));
            EXPECT_EQ(on.Desktop.Boxes, (broken ? std::vector<SeenBox>{{"Error", kBrokenLine5Box,
                                                                        MessageBoxIcon::Stop}}
                                                : std::vector<SeenBox>{}));
            EXPECT_EQ(on.Form->LastRun()->Done(), !broken);
            EXPECT_EQ(on.Status(), broken ? "Ended due to Error" : "Expansion Done");
            // The button lost the focus when it was locked; a keyboard user carries on from it.
            EXPECT_EQ(on.Window().Focus, form::frmKelbrin::cmdExpand(index));
        }
    }
}

TEST(MainWindow, StatusLineBoxesAndMD5RowFollowEachRun) {
    MainForm on({.Portable = true});
    EXPECT_EQ(on.Status(), "");
    EXPECT_FALSE(on.MD5RowShown());

    WriteGame(on.ProgramFolder, kSizeLine + "\t?");
    on.Press(1);
    EXPECT_TRUE(on.MD5RowShown());
    EXPECT_EQ(on.Window().Of(form::frmKelbrin::txtMD5).Text, "B2D3F56BC197FD985D5965079B5E7148");
    EXPECT_EQ(on.Status(), "Expansion Done");
    ASSERT_EQ(on.Desktop.Boxes.size(), 1u); // the mismatch warning
    EXPECT_TRUE(on.Form->LastRun()->MD5WarningShown);

    WriteGame(on.ProgramFolder);
    on.Press(1);
    EXPECT_FALSE(on.MD5RowShown());
    EXPECT_EQ(on.Status(), "Expansion Done");
    EXPECT_TRUE(on.Form->LastRun()->Done());
}

TEST(MainWindow, AboutRepeatsTheTitleLabelsAsTheyAreNow) {
    // The third line is empty.
    const std::string about = "Kelbrin\r\nVer. 11.11.29\r\n\r\n"
                              "A handy utility for custom expanding any ROM file\r\n"
                              "before using an IPS (or any other type of) patch.";
    MainForm on({.Portable = true});
    on.Choose(form::frmKelbrin::mnuHelp_About);
    on.Window().SetCaption(form::frmKelbrin::lblTitle0, "Renamed");
    on.Choose(form::frmKelbrin::mnuHelp_About);
    EXPECT_EQ(on.Desktop.Boxes,
              (std::vector<SeenBox>{
                  {"About Kelbrin", about, MessageBoxIcon::None},
                  {"About Kelbrin", "Renamed" + about.substr(7), MessageBoxIcon::None}}));
    EXPECT_EQ(on.Desktop.EndCalls, 0);
}

TEST(MainWindow, LeavingDuringARunEndsTheProgramAtOnceOtherwiseTheWindowsClose) {
    struct EndCase {
        const char* Name;
        bool DuringRun;
        std::function<void(MainForm&)> Act;
        int EndCalls;
        // The main window and the help window stay open.
        bool MainOpen;
        bool HelpOpen;
    };
    const std::vector<EndCase> cases{
        {"Exit", true, [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Exit); }, 1, true,
         true},
        {"close box", true, [](MainForm& on) { on.Window().CloseBox(); }, 1, false, true},
        {"Exit when idle", false, [](MainForm& on) { on.Choose(form::frmKelbrin::mnuFile_Exit); },
         0, false, false},
        // The help window keeps the program going.
        {"close box when idle", false, [](MainForm& on) { on.Window().CloseBox(); }, 0, false,
         true},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on({.Portable = true});
        on.Choose(form::frmKelbrin::mnuHelp_HowTo);
        // A run that is left behind leaves no unfinished expanded file in the folder.
        bool unfinishedAtEnd = true;
        on.Desktop.AtEnd = [&] {
            unfinishedAtEnd = on.ProgramFolder.Exists("big.nes.kelbrin-unfinished");
        };
        if (c.DuringRun) {
            on.DuringRun([&] { c.Act(on); });
            on.Press(0);
#ifndef _WIN32
            // On Windows the name lasts until the process lets go of the file, as ending does.
            EXPECT_FALSE(unfinishedAtEnd);
#endif
        } else {
            c.Act(on);
        }
        EXPECT_EQ(on.Desktop.EndCalls, c.EndCalls);
        EXPECT_EQ(on.Window().IsOpen(), c.MainOpen);
        EXPECT_EQ(on.Desktop.Find("frmHowTo")->IsOpen(), c.HelpOpen);
    }
}

} // namespace
} // namespace kelbrin::test
