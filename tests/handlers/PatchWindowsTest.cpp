// Patches in the windows: File, Apply Patch (a patch and a ROM chosen, typed or dropped, the
// patched ROM written where the box says only when nothing stands against it).

#include <deque>
#include <set>

#include "ApplyPatchForm.h"
#include "Crc32.h"
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

std::string Crc32Text(const std::string& bytes) {
    Crc32 crc;
    crc.Update(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return Crc32::Text(crc.Value());
}

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
                                  Crc32Text(kPatched) + ")");
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

} // namespace
} // namespace kelbrin::test
