// File, Make Patch: the expanded and the hacked ROM chosen, dropped or typed, the format, and
// the patch written where the box says only when nothing stands against it; the patch written
// gives the hacked ROM when a player's run applies it.

#include <set>

#include "FolderPaths.h"
#include "MainForm.h"
#include "MakePatchForm.h"
#include "Patch.h"

namespace kelbrin::test {
namespace {

const std::string kExpanded = std::string(4096, '\0') + std::string(4096, 'E');
std::string Hacked() {
    std::string hacked = kExpanded;
    hacked.replace(100, 5, "HACK!");
    hacked.replace(5000, 3, "NEW");
    return hacked + "tail";
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(MakePatch, WritesAPatchThatGivesTheHackedRomWhereTheBoxSaysOnlyWhenNothingStandsAgainstIt) {
    using namespace form::frmMakePatch;
    enum class Entry { Chosen, Dropped, Typed };
    struct MakeCase {
        const char* Name;
        Entry How;
        std::optional<ControlName> Format; // clicked; nothing: BPS as the box starts
        // Typed into the output box over its default; empty: the default, hack.<format>.
        const char* Output;
        bool OutputThere;
        // What the author answers when asked whether to replace a file.
        bool Yes;
        bool Asked;
        // The box's message starts so; empty: no box.
        std::string Box;
        bool Written;
    };
    const std::vector<MakeCase> cases{
        {"BPS, both files chosen", Entry::Chosen, std::nullopt, "", false, true, false, "", true},
        {"IPS, both files dropped", Entry::Dropped, optIps, "", false, true, false, "", true},
        {"UPS, both paths typed in quotes", Entry::Typed, optUps, "", false, true, false, "", true},
        {"a name of the author's own stays when the format changes", Entry::Chosen, optIps,
         "mine.pat", false, true, false, "", true},
        {"the expanded ROM as output is refused without a question", Entry::Chosen, std::nullopt,
         "big.sfc", false, true, false, "Error #70 -> it would replace", false},
        {"the hacked ROM as output is refused", Entry::Chosen, std::nullopt, "hack.sfc", false,
         true, false, "Error #70 -> it would replace", false},
        {"an existing file is kept when the author says No", Entry::Chosen, std::nullopt, "", true,
         false, true, "", false},
        {"an existing file is replaced when the author says Yes", Entry::Chosen, std::nullopt, "",
         true, true, true, "", true},
    };
    const std::string kept = "an author's own file";
    for (const MakeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder roms;
        roms.Write("big.sfc", kExpanded);
        roms.Write("hack.sfc", Hacked());
        const std::string source = roms.PathOf("big.sfc");
        const std::string target = roms.PathOf("hack.sfc");
        const std::string extension = c.Format == optIps   ? ".ips"
                                      : c.Format == optUps ? ".ups"
                                                           : ".bps";
        const std::string outputName = *c.Output ? c.Output : "hack" + extension;
        if (c.OutputThere) {
            roms.Write(outputName, kept);
        }
        MainForm on({});
        on.Desktop.FileAnswers = {source, target};
        on.Desktop.Answers = {c.Yes};
        std::string shownBefore;
        std::string shownAfter;
        FakePort::Shown status;
        on.Desktop.WhileModal = [&](FakePort& box) {
            EXPECT_EQ(box.Owner, &on.Window());
            switch (c.How) {
            case Entry::Chosen:
                box.Click(cmdSource);
                box.Click(cmdTarget);
                break;
            case Entry::Dropped:
                ASSERT_TRUE(box.TakesDrops);
                box.Drop(source);
                box.Drop(target);
                break;
            case Entry::Typed:
                box.Type(txtSource, " \"" + source + "\"");
                box.Type(txtTarget, target + " ");
                break;
            }
            shownBefore = box.Of(txtOutput).Text;
            if (*c.Output) {
                box.Type(txtOutput, roms.PathOf(c.Output));
            }
            if (c.Format) {
                box.Click(*c.Format);
            }
            shownAfter = box.Of(txtOutput).Text;
            // Clicks and the close box while the patch is made start nothing and close nothing.
            on.Desktop.DuringEvents.emplace_back([&box] {
                EXPECT_FALSE(box.Of(cmdMake).Enabled);
                box.Click(cmdSource);
                box.CloseBox();
                EXPECT_TRUE(box.IsOpen());
            });
            box.Click(cmdMake);
            status = box.Of(lblStatus);
            EXPECT_TRUE(box.Of(cmdMake).Enabled);
            box.Click(cmdClose);
        };
        on.Choose(form::frmKelbrin::mnuFile_MakePatch);

        // Typed paths meet their default at Make Patch, the others as soon as the hacked ROM is
        // there; the default follows the format.
        EXPECT_EQ(shownBefore, c.How == Entry::Typed ? "" : roms.PathOf("hack.bps"));
        EXPECT_EQ(shownAfter, *c.Output                            ? roms.PathOf(c.Output)
                              : c.How == Entry::Typed && !c.Format ? ""
                                                                   : roms.PathOf(outputName));
        ASSERT_FALSE(status.Announced.empty());
        EXPECT_EQ(status.Announced.front(), "Making the patch...");
        EXPECT_EQ(on.Desktop.Questions.size(), c.Asked ? 1U : 0U);
        std::set<std::string> names{"big.sfc", "hack.sfc"};
        if (c.OutputThere || c.Written) {
            names.insert(outputName);
        }
        if (c.Written) {
            EXPECT_EQ(on.Desktop.Boxes, std::vector<SeenBox>{});
            const std::optional<std::string> patch = roms.Read(outputName);
            ASSERT_TRUE(patch);
            EXPECT_EQ(status.Caption, "Patch written: " + PathText(roms.PathOf(outputName)) + " (" +
                                          std::to_string(patch->size()) + " bytes)");
            const PageBuffer patched = ApplyPatch(outputName, Bytes(*patch), Bytes(kExpanded));
            EXPECT_TRUE(std::ranges::equal(patched.Bytes(), Bytes(Hacked())));
        } else if (c.Box.empty()) {
            EXPECT_EQ(on.Desktop.Boxes, std::vector<SeenBox>{});
            EXPECT_EQ(roms.Read(outputName), kept);
            EXPECT_EQ(status.Caption,
                      "Nothing written: " + PathText(roms.PathOf(outputName)) + " is kept.");
        } else {
            ASSERT_EQ(on.Desktop.Boxes.size(), 1U);
            EXPECT_EQ(on.Desktop.Boxes[0].Title, "Error");
            EXPECT_TRUE(on.Desktop.Boxes[0].Message.starts_with(c.Box))
                << on.Desktop.Boxes[0].Message;
            EXPECT_EQ(status.Caption, "Ended due to Error");
        }
        // Nothing half-written is left beside them, and the ROMs are as they were.
        EXPECT_EQ(roms.Names(), names);
        EXPECT_EQ(roms.Read("big.sfc"), kExpanded);
        EXPECT_EQ(roms.Read("hack.sfc"), Hacked());
    }
}

} // namespace
} // namespace kelbrin::test
