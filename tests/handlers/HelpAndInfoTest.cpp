// The help window's and the ROM Information box's handlers: the help pages and the one
// help window, and what the box tells of the original.

#include "HowToForm.h"
#include "InfoForm.h"
#include "MainForm.h"

namespace kelbrin::test {
namespace {

using form::MenuId;

TEST(HelpWindow, OpensOnTheUsagePageAndShowsThePageChosen) {
    MainForm on({.Portable = true});
    on.Choose(form::frmKelbrin::mnuHelp_HowTo);
    FakePort& help = *on.Desktop.Find("frmHowTo");
    EXPECT_EQ(help.Owner, nullptr);
    struct PageCase {
        const char* Name;
        int Select; // -1: as opened
        std::int16_t Page;
    };
    for (const PageCase& c : {PageCase{"opened", -1, 0}, PageCase{"format", 1, 1},
                              PageCase{"patch", 2, 2}, PageCase{"usage again", 0, 0}}) {
        SCOPED_TRACE(c.Name);
        if (c.Select >= 0) {
            help.Click(form::frmHowTo::optPart(static_cast<std::int16_t>(c.Select)));
        }
        for (std::int16_t i = 0; i < form::frmHowTo::kPages; ++i) {
            EXPECT_EQ(help.Of(form::frmHowTo::txtHowTo(i)).Visible, i == c.Page) << i;
            EXPECT_EQ(help.Of(form::frmHowTo::Shape(i)).Visible, i == c.Page) << i;
        }
        // The pictures lie under the usage page; nothing shows or hides them.
        EXPECT_TRUE(help.Of(form::frmHowTo::Image1).Visible);
        EXPECT_TRUE(help.Of(form::frmHowTo::Image2).Visible);
    }
}

TEST(HelpWindow, OneWhileItIsOpenAndAFreshOneOnTheUsagePageOnceClosed) {
    MainForm on({.Portable = true});
    on.Choose(form::frmKelbrin::mnuHelp_HowTo);
    FakePort* first = on.Desktop.Find("frmHowTo");
    first->Click(form::frmHowTo::optPart1);
    on.Choose(form::frmKelbrin::mnuHelp_HowTo);
    // Brought forward unchanged.
    EXPECT_EQ(on.Desktop.Find("frmHowTo"), first);
    EXPECT_EQ(first->Shows, 2);
    EXPECT_TRUE(first->Of(form::frmHowTo::txtHowTo1).Visible);

    first->Click(form::frmHowTo::cmdOK);
    EXPECT_FALSE(first->IsOpen());
    EXPECT_TRUE(on.Window().IsOpen());

    on.Choose(form::frmKelbrin::mnuHelp_HowTo);
    FakePort& second = *on.Desktop.Find("frmHowTo");
    EXPECT_TRUE(second.IsOpen());
    EXPECT_TRUE(second.Of(form::frmHowTo::txtHowTo0).Visible);
    EXPECT_FALSE(second.Of(form::frmHowTo::txtHowTo1).Visible);
}

// Started from a command line, the program has its system's name.
TEST(HelpWindow, UsagePageStartsTheProgramByTheNameItHasOnThisSystem) {
#ifdef _WIN32
    const std::string_view command = "\"Kelbrin.exe FOLDER\"";
#else
    const std::string_view command = "\"kelbrin FOLDER\"";
#endif
    EXPECT_NE(form::ControlOf(form::HowToForm(), form::frmHowTo::txtHowTo0).Caption.find(command),
              std::string_view::npos);
}

// A length that fits neither size is told in the box's own words, over the file's digests,
// without an error box; a script that fails a check is reported as a run reports it.
TEST(Information, ShowsWhatCanBeToldOfTheOriginalOverTheWindowCopiesItAndWritesNothing) {
    struct InfoCase {
        const char* Name;
        std::string SizeLine;
        // The text starts so and holds `Holds`; empty: the box is not shown.
        std::string Starts;
        std::string Holds;
        std::string ErrorBox; // empty: none
    };
    const std::vector<InfoCase> cases{
        {"the ROM the script expects", kSizeLine, "Your ROM has the size the patch expects.",
         "\nSIZE\t40\t8\t", ""},
        {"a length that fits neither size", "SIZE\t41\t8",
         "This file is 80 bytes; the patch expects 65, or 81 with a header.\n", "", ""},
        {"a size that is no hex number", "SIZE\tZZ\t8", "", "",
         "Error #0 -> \r\n\r\nOriginal file size of 'ZZ' is not a valid hex value"},
    };
    for (const InfoCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on({.Portable = true});
        WriteGame(on.ProgramFolder, c.SizeLine);
        std::string shown;
        on.Desktop.WhileModal = [&](FakePort& box) {
            EXPECT_EQ(box.Owner, &on.Window());
            shown = box.Of(form::frmInfo::txtInfo).Text;
            box.Click(form::frmInfo::cmdCopy);
            box.Click(form::frmInfo::cmdClose);
        };
        on.Choose(form::frmKelbrin::mnuFile_Info);
        EXPECT_EQ(on.Desktop.ModalShows, c.Starts.empty() ? 0 : 1);
        if (!c.Starts.empty()) {
            EXPECT_TRUE(shown.starts_with(c.Starts)) << shown;
            EXPECT_NE(shown.find("\nFolder  " + on.ProgramFolder.Path() + "\n"), std::string::npos)
                << shown;
            EXPECT_NE(shown.find(c.Holds), std::string::npos) << shown;
            EXPECT_EQ(on.Desktop.Clipboard, shown);
        }
        EXPECT_FALSE(on.ProgramFolder.Exists("big.nes"));
        EXPECT_EQ(on.Desktop.Boxes,
                  (c.ErrorBox.empty()
                       ? std::vector<SeenBox>{}
                       : std::vector<SeenBox>{{"Error", c.ErrorBox, MessageBoxIcon::Stop}}));
    }
}

// With no folder chosen ROM Information and Check Script ask for one first, and show nothing
// when none is given; the status line then tells of the folder chosen, as after any choice.
TEST(Information, WithNoFolderItAndTheCheckAskForOneAndTheStatusLineTellsOfIt) {
    const GameFolder game;
    for (const MenuId item : {form::frmKelbrin::mnuFile_Info, form::frmKelbrin::mnuFile_Check}) {
        SCOPED_TRACE(std::string(form::MenuItemOf(form::KelbrinForm(), item).Name));
        MainForm on({});
        ASSERT_EQ(on.Status(), "Choose the folder with Kelbrin.txt");
        on.Choose(item);
        EXPECT_EQ(on.Desktop.ModalShows, 0);
        on.Desktop.DialogAnswers = {game.Path()};
        on.Choose(item);
        EXPECT_EQ(on.Desktop.DialogStarts.size(), 2u);
        EXPECT_EQ(on.Desktop.ModalShows, 1);
        EXPECT_EQ(on.Status(), "");
        EXPECT_EQ(on.Form->Folder(), game.Path());
    }
}

} // namespace
} // namespace kelbrin::test
