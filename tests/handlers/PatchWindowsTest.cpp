// Patches in the windows: File, Apply Patch (a patch and a ROM chosen, typed or dropped, the
// patched ROM written where the box says only when nothing stands against it) and the main
// window's patch line (which patch the buttons apply after expanding).

#include <deque>
#include <filesystem>
#include <set>

#include "ApplyPatchForm.h"
#include "BpsWriter.h"
#include "ChecksummedBytes.h"
#include "FolderPaths.h"
#include "MainForm.h"

namespace kelbrin::test {
namespace {

using namespace std::string_literals;

// Puts "xy" at offset 1 of any ROM of at least 3 bytes.
const std::string kIps = "PATCH\0\0\x01\0\x02xyEOF"s;
const std::string kCutShortIps = "PATCH\0\0\x01\0\x05xy"s;
const std::string kRom(16, 'Z');
const std::string kPatched = "ZxyZZZZZZZZZZZZZ";

TEST(ApplyPatch, WritesThePatchedRomWhereTheBoxSaysOnlyWhenNothingStandsAgainstIt) {
    enum class Entry { Chosen, Dropped, Typed };
    struct ApplyCase {
        const char* Name;
        const char* Patch;
        Entry How;
        // Typed into the output box over its default; empty: the default, hack.nes.
        const char* Output;
        bool OutputThere;
        bool Replace;
        // The box's message starts so; empty: no box.
        std::string Box;
        // What the output holds afterwards; nothing: no file.
        std::optional<std::string> Left;
    };
    const std::string kept = "a player's own file";
    const std::vector<ApplyCase> cases{
        {"a good patch, both files chosen", "hack.ips", Entry::Chosen, "", false, false, "",
         kPatched},
        {"a good patch, both files dropped", "hack.ips", Entry::Dropped, "", false, false, "",
         kPatched},
        {"a good patch, both paths typed in quotes", "hack.ips", Entry::Typed, "", false, false, "",
         kPatched},
        {"a damaged patch writes nothing", "cut.ips", Entry::Chosen, "", false, false,
         "Error #602 -> The IPS patch", std::nullopt},
        {"the ROM as output is refused, even with Replace", "hack.ips", Entry::Chosen, "orig.nes",
         false, true, "Error #70 -> it would replace", kRom},
        {"an existing file is kept", "hack.ips", Entry::Chosen, "", true, false,
         "Error #58 -> the file exists already; choose \"Replace a file that is there already\" "
         "to replace it",
         kept},
        {"an existing file is replaced when the player chose to", "hack.ips", Entry::Chosen, "",
         true, true, "", kPatched},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder roms;
        roms.Write("orig.nes", kRom);
        roms.Write("hack.ips", kIps);
        roms.Write("cut.ips", kCutShortIps);
        const std::string patch = roms.PathOf(c.Patch);
        const std::string rom = roms.PathOf("orig.nes");
        const std::string output = roms.PathOf(*c.Output ? c.Output : "hack.nes");
        if (c.OutputThere) {
            roms.Write("hack.nes", kept);
        }
        MainForm on({});
        on.Desktop.FileAnswers = {patch, rom};
        std::string shownOutput;
        std::string status;
        on.Desktop.WhileModal = [&](FakePort& box) {
            using namespace form::frmApplyPatch;
            EXPECT_EQ(box.Owner, &on.Window());
            switch (c.How) {
            case Entry::Chosen:
                box.Click(cmdPatch);
                box.Click(cmdRom);
                break;
            case Entry::Dropped:
                ASSERT_TRUE(box.TakesDrops);
                box.Drop(rom);
                box.Drop(patch);
                break;
            case Entry::Typed:
                box.Type(txtPatch, " \"" + patch + "\"");
                box.Type(txtRom, rom + " ");
                break;
            }
            shownOutput = box.Of(txtOutput).Text;
            if (*c.Output) {
                box.Type(txtOutput, output);
            }
            if (c.Replace) {
                box.Click(optReplace);
            }
            box.Click(cmdApply);
            status = box.Of(lblStatus).Caption;
            box.Click(cmdClose);
        };
        on.Choose(form::frmKelbrin::mnuFile_ApplyPatch);

        // Typed paths meet their default at Apply, the others as soon as both are there.
        const std::string patchName = c.Patch;
        EXPECT_EQ(shownOutput,
                  c.How == Entry::Typed
                      ? ""
                      : roms.PathOf(patchName.substr(0, patchName.find('.')) + ".nes"));
        if (c.Box.empty()) {
            EXPECT_EQ(on.Desktop.Boxes, std::vector<SeenBox>{});
            EXPECT_EQ(status, "Patched ROM written: " + PathText(output) + " (CRC32 " +
                                  Crc32::Text(Crc32Of(kPatched)) + ")");
        } else {
            ASSERT_EQ(on.Desktop.Boxes.size(), 1U);
            EXPECT_EQ(on.Desktop.Boxes[0].Title, "Error");
            EXPECT_EQ(on.Desktop.Boxes[0].Icon, MessageBoxIcon::Stop);
            EXPECT_TRUE(on.Desktop.Boxes[0].Message.starts_with(c.Box))
                << on.Desktop.Boxes[0].Message;
            EXPECT_EQ(status, "Ended due to Error");
        }
        EXPECT_EQ(roms.Read(*c.Output ? c.Output : "hack.nes"), c.Left);
        // Nothing half-written is left beside them, and the inputs are as they were.
        std::set<std::string> names{"orig.nes", "hack.ips", "cut.ips"};
        if (c.Left && !*c.Output) {
            names.insert("hack.nes");
        }
        EXPECT_EQ(roms.Names(), names);
        EXPECT_EQ(roms.Read("hack.ips"), kIps);
        if (!*c.Output) {
            EXPECT_EQ(roms.Read("orig.nes"), kRom);
        }
    }
}

// The player names no file, or drops what is no file: a box says what is missing, and nothing
// is written.
TEST(ApplyPatch, AsksForWhatIsMissing) {
    struct MissingCase {
        const char* Name;
        bool PatchGiven;
        bool RomGiven;
        bool DropFolder;
        std::string Box;
    };
    const std::vector<MissingCase> cases{
        {"no patch", false, true, false, "Choose the patch first."},
        {"no ROM", true, false, false, "Choose the ROM to patch first."},
        {"a folder dropped", true, true, true, "Drop a patch or a ROM file here; this is none:"},
    };
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder roms;
        roms.Write("orig.nes", kRom);
        roms.Write("hack.ips", kIps);
        MainForm on({});
        on.Desktop.WhileModal = [&](FakePort& box) {
            using namespace form::frmApplyPatch;
            if (c.PatchGiven) {
                box.Type(txtPatch, roms.PathOf("hack.ips"));
            }
            if (c.RomGiven) {
                box.Type(txtRom, roms.PathOf("orig.nes"));
            }
            if (c.DropFolder) {
                box.Drop(roms.Path());
            } else {
                box.Click(cmdApply);
            }
            box.Click(cmdClose);
        };
        on.Choose(form::frmKelbrin::mnuFile_ApplyPatch);
        ASSERT_EQ(on.Desktop.Boxes.size(), 1U);
        EXPECT_EQ(on.Desktop.Boxes[0].Title, "Apply Patch");
        EXPECT_TRUE(on.Desktop.Boxes[0].Message.starts_with(c.Box)) << on.Desktop.Boxes[0].Message;
        EXPECT_EQ(roms.Names(), (std::set<std::string>{"orig.nes", "hack.ips"}));
    }
}

TEST(PatchLine, ChoosesTheOnlyPatchOfTheFolderAndLetsThePlayerPickAnotherOrNone) {
    enum class Act { None, Pick, NoPatch, DropFromElsewhere, DropFromGame };
    struct ChooserCase {
        const char* Name;
        // Files beside the game's script and original, with what they hold.
        std::vector<std::pair<std::string, std::string>> Files;
        Act Then;
        // The patch chosen afterwards, by its name; empty: none.
        std::string Chosen;
        std::string Shown;
    };
    const std::vector<ChooserCase> cases{
        {"no patch", {}, Act::None, "", "Patch: none"},
        {"one patch by its name", {{"hack.bps", "x"}}, Act::None, "hack.bps", "Patch: hack.bps"},
        {"a name in capitals", {{"HACK.UPS", "x"}}, Act::None, "HACK.UPS", "Patch: HACK.UPS"},
        {"a patch known by its start only",
         {{"hack.dat", kIps}},
         Act::None,
         "hack.dat",
         "Patch: hack.dat"},
        {"files that are no patch, though one starts as a patch does",
         {{"PATCH NOTES.txt", "PATCH NOTES\r\nLevel 3 is easier now."}, {"ips", "x"}},
         Act::None,
         "",
         "Patch: none"},
        {"two patches: none until the player picks",
         {{"a.ips", kIps}, {"b.ips", kIps}},
         Act::None,
         "",
         "Patch: none (2 here)"},
        {"two patches, one picked",
         {{"a.ips", kIps}, {"b.ips", kIps}},
         Act::Pick,
         "b.ips",
         "Patch: b.ips"},
        {"the only patch set aside", {{"hack.ips", kIps}}, Act::NoPatch, "", "Patch: none"},
        {"a patch dropped from elsewhere",
         {},
         Act::DropFromElsewhere,
         "away.ips",
         "Patch: away.ips"},
        {"a patch of the folder dropped",
         {{"a.ips", kIps}, {"b.ips", kIps}},
         Act::DropFromGame,
         "a.ips",
         "Patch: a.ips"},
    };
    for (const ChooserCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const GameFolder game;
        for (const auto& [name, bytes] : c.Files) {
            game.Folder.Write(name, bytes);
        }
        TempFolder elsewhere;
        elsewhere.Write("away.ips", kIps);
        // A patch of the game dropped on a window without a folder brings the folder too.
        MainForm on(c.Then == Act::DropFromGame ? MainForm::Start{}
                                                : MainForm::Start{.StartPath = game.Path()});
        switch (c.Then) {
        case Act::None: break;
        case Act::Pick:
            on.Desktop.FileAnswers = {game.Folder.PathOf("b.ips")};
            on.Window().Click(form::frmKelbrin::cmdPatch);
            EXPECT_EQ(on.Desktop.FileDialogs,
                      std::vector<std::string>{"Choose the patch to apply after expanding in " +
                                               game.Path()});
            break;
        case Act::NoPatch: on.Window().Click(form::frmKelbrin::cmdNoPatch); break;
        case Act::DropFromElsewhere: on.Drop(elsewhere.PathOf("away.ips")); break;
        case Act::DropFromGame: on.Drop(game.Folder.PathOf("a.ips")); break;
        }
        const std::string chosen = c.Chosen.empty() ? ""
                                   : c.Then == Act::DropFromElsewhere
                                       ? elsewhere.PathOf(c.Chosen)
                                       : game.Folder.PathOf(c.Chosen);
        EXPECT_EQ(on.Form->Patch(), chosen);
        EXPECT_EQ(on.Window().Of(form::frmKelbrin::lblPatch).Caption, c.Shown);
        EXPECT_EQ(on.Window().Of(form::frmKelbrin::lblPatch).PathTip, chosen);
        EXPECT_EQ(on.Window().Of(form::frmKelbrin::cmdNoPatch).Enabled, !chosen.empty());
        // A patch never moves the buttons away from the game.
        EXPECT_EQ(on.Form->Folder(), game.Path());
        EXPECT_EQ(on.Desktop.Boxes, std::vector<SeenBox>{});
    }
}

// File, Apply Patch starts with the patch the buttons would apply.
TEST(PatchLine, ReachesApplyPatch) {
    const GameFolder game;
    game.Folder.Write("hack.ips", kIps);
    MainForm on({.StartPath = game.Path()});
    std::string shown;
    on.Desktop.WhileModal = [&](FakePort& box) {
        shown = box.Of(form::frmApplyPatch::txtPatch).Text;
        box.Click(form::frmApplyPatch::cmdClose);
    };
    on.Choose(form::frmKelbrin::mnuFile_ApplyPatch);
    EXPECT_EQ(shown, game.Folder.PathOf("hack.ips"));
}

// The ROMs the two buttons write in the standard game folder: 0 with the script's header, 1
// without.
std::string ButtonRom(std::int16_t index) {
    const GameFolder game;
    MainForm on({.StartPath = game.Path()});
    on.Press(index);
    return game.Folder.Read("big.nes").value_or("");
}

std::string Bps(const std::string& source, const std::string& target) {
    const auto bytes = [](const std::string& text) {
        return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    const PatchBytes patch = MakeBpsPatch(bytes(source), bytes(target));
    return {patch.begin(), patch.end()};
}

// The patch line tells which button writes the ROM the patch was made for, and of several
// patches chooses the one made for a button's ROM when only one is.
TEST(PatchLine, SaysWhichButtonThePatchFitsAndChoosesTheOneThatFits) {
    const std::string withHeader = ButtonRom(0);
    const std::string without = ButtonRom(1);
    const std::string hacked = "HACKED!!";
    struct FitCase {
        const char* Name;
        std::vector<std::pair<std::string, std::string>> Patches;
        std::string Chosen;
        std::string Line;
    };
    const std::vector<FitCase> cases{
        {"made for the ROM without a header",
         {{"hack.bps", Bps(without, hacked)}},
         "hack.bps",
         "Fits: Expand and Ignore/Remove Header"},
        {"made for the ROM with the header",
         {{"hack.bps", Bps(withHeader, hacked)}},
         "hack.bps",
         "Fits: Expand and Add/Replace Header"},
        {"made for another ROM",
         {{"hack.bps", Bps("another", hacked)}},
         "hack.bps",
         "Fits neither button: made for another ROM"},
        {"its target is what a button writes",
         {{"hack.bps", Bps("another", without)}},
         "hack.bps",
         "The expanded ROM is patched already"},
        {"an IPS patch",
         {{"hack.ips", kIps}},
         "hack.ips",
         "No checksum in the patch: its author says which button"},
        {"of two patches the one that fits",
         {{"a.bps", Bps("another", hacked)}, {"b.bps", Bps(without, hacked)}},
         "b.bps",
         "Fits: Expand and Ignore/Remove Header"},
        {"of two that fit, none",
         {{"a.bps", Bps(without, hacked)}, {"b.bps", Bps(withHeader, hacked)}},
         "",
         ""},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const GameFolder game;
        for (const auto& [name, bytes] : c.Patches) {
            game.Folder.Write(name, bytes);
        }
        MainForm on({.StartPath = game.Path()});
        EXPECT_EQ(on.Form->Patch(), c.Chosen.empty() ? "" : game.Folder.PathOf(c.Chosen));
        EXPECT_EQ(on.Window().Of(form::frmKelbrin::lblFits).Caption, c.Line);
        EXPECT_FALSE(game.Folder.Read("big.nes"));
    }
    // The button that fits writes both ROMs.
    const GameFolder game;
    game.Folder.Write("hack.bps", Bps(without, hacked));
    MainForm on({.StartPath = game.Path()});
    on.Press(1);
    EXPECT_EQ(game.Folder.Read("big.nes"), without);
    EXPECT_EQ(game.Folder.Read("hack.nes"), hacked);
}

// A run that finds no original asks, after its box, whether a file of the folder that fits the
// script is the original; that file is expanded this once, and keeps its name.
TEST(MainWindow, OffersTheOriginalUnderAnotherName) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "used" : "declined");
        const GameFolder game;
        const std::string original = game.Folder.Read("orig.nes").value_or("");
        std::filesystem::rename(game.Folder.PathOf("orig.nes"),
                                game.Folder.PathOf("Game (USA).nes"));
        MainForm on({.StartPath = game.Path()});
        on.Desktop.Answers = {yes};
        on.Press(1);
        ASSERT_EQ(on.Desktop.Questions.size(), 1U);
        EXPECT_TRUE(on.Desktop.Questions[0].starts_with(
            "Kelbrin: 'Game (USA).nes' in this folder fits the script"))
            << on.Desktop.Questions[0];
        EXPECT_EQ(game.Folder.Read("big.nes").has_value(), yes);
        EXPECT_EQ(game.Folder.Read("Game (USA).nes"), original);
        EXPECT_FALSE(game.Folder.Read("orig.nes"));
    }
}

} // namespace
} // namespace kelbrin::test
