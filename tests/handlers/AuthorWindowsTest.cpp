// The patch authors' boxes: Check Script (the verdicts, the notes and the image drawn as a
// strip, for the folder the buttons act on) and Make Script (two files chosen, the script
// written beside the original only when nothing stands in the way, then its check).

#include <algorithm>
#include <deque>
#include <filesystem>

#include "CheckForm.h"
#include "FolderPaths.h"
#include "LayoutDrawing.h"
#include "MainForm.h"
#include "MakeScriptForm.h"
#include "NumberText.h"

namespace kelbrin::test {
namespace {

// A band of the strip: its colour, and the bytes its height stands for; or a mark, which
// covers only a part of the strip's width and stands for no number of bytes.
struct Band {
    form::Colour Colour;
    std::int64_t Bytes;
    bool Mark = false;
};

void PrintTo(const Band& band, std::ostream* os) {
    *os << "(" << int(band.Colour.Red) << "," << int(band.Colour.Green) << ","
        << int(band.Colour.Blue) << ") " << (band.Mark ? "mark" : std::to_string(band.Bytes));
}

// The strip's bands from the top are `expected`: the filled boxes within its outline (the
// tallest box that is only an outline), each as tall as its bytes to a twip.
void ExpectBands(const form::Drawing& drawing, std::int64_t imageSize,
                 const std::vector<Band>& expected) {
    const form::DrawnBox* strip = nullptr;
    for (const form::DrawnBox& box : drawing.Boxes) {
        if (!box.Fill && (strip == nullptr || box.At.Height > strip->At.Height)) {
            strip = &box;
        }
    }
    ASSERT_NE(strip, nullptr);
    const form::Twips& outline = strip->At;
    std::vector<const form::DrawnBox*> bands;
    for (const form::DrawnBox& box : drawing.Boxes) {
        if (box.Fill && box.At.Left >= outline.Left &&
            box.At.Left + box.At.Width <= outline.Left + outline.Width) {
            EXPECT_GE(box.At.Top, outline.Top) << "a band above the strip";
            EXPECT_LE(box.At.Top + box.At.Height, outline.Top + outline.Height)
                << "a band below the strip";
            bands.push_back(&box);
        }
    }
    std::ranges::stable_sort(bands, {}, [](const form::DrawnBox* box) { return box->At.Top; });
    ASSERT_EQ(bands.size(), expected.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        SCOPED_TRACE(testing::PrintToString(expected[i]));
        const form::DrawnBox& band = *bands[i];
        EXPECT_EQ(*band.Fill, expected[i].Colour);
        EXPECT_EQ(band.At.Width < outline.Width, expected[i].Mark);
        if (expected[i].Mark) {
            // Two pixels on a screen of 96 dots per inch, however few its bytes.
            EXPECT_GE(form::ToPixels(band.At.Height), 2);
        } else {
            EXPECT_NEAR(band.At.Height,
                        static_cast<double>(expected[i].Bytes) * outline.Height /
                            static_cast<double>(imageSize),
                        1);
        }
    }
}

std::vector<std::string> LabelTexts(const form::Drawing& drawing) {
    std::vector<std::string> texts;
    for (const form::DrawnLabel& label : drawing.Labels) {
        texts.push_back(label.Text);
    }
    return texts;
}

const std::string kBothDone = "Fit to ship: both buttons expand the ROM.\n\n"
                              "Expand and Add/Replace Header: Expansion Done\n"
                              "Expand and Ignore/Remove Header: Expansion Done\n";

TEST(CheckScript, ShowsBothVerdictsTheNotesAndTheImageAsAStripAndWritesNothing) {
    const form::Colour copy = form::kCopiedColours[0];
    const form::Colour otherCopy = form::kCopiedColours[1];
    const form::Colour fill = form::kFilledColour;
    const form::Colour replace = form::kReplacedColour;
    struct CheckCase {
        const char* Name;
        std::vector<std::string> More; // after COPY 0 0 on line 4 of an 8-byte image
        std::string Report;
        std::int64_t ImageSize;
        std::vector<Band> Strip;
        std::vector<std::string> Labels; // among those shown
    };
    const std::vector<CheckCase> cases{
        {"a copy, a fill, a replaced byte and another copy",
         {"FILL\t4\tFF", "REPLACE\t6\t12", "COPY\t7\t30"},
         kBothDone,
         8,
         {{copy, 4}, {fill, 2}, {replace, 1}, {otherCopy, 1}},
         {"0", "from 0", "4", "fill FF", "replace 12", "from 30", "8", "copied from the original",
          "filled with one byte", "replaced bytes"}},
        {"a replaced byte splits a copy, whose parts keep their shade",
         {"REPLACE\t2\tAA"},
         kBothDone,
         8,
         {{copy, 2}, {replace, 1}, {copy, 5}},
         {"from 0", "replace AA", "from 3"}},
        {"a replaced byte in a large image is a mark that still shows",
         {"REPLACE\t8000\t12"},
         "Fit to ship: both buttons expand the ROM.\n"
         "line 4: copies 65,536 bytes from 0, but the original's image ends at 40",
         0x10000,
         {{copy, 0x8000}, {replace, 1, true}, {copy, 0x7FFF}},
         {"0", "replace 12", "8000", "10000"}},
        {"a line typed with spaces: both runs fail there, and the note says why",
         {"FILL 4 FF"},
         "Not fit to ship: both buttons end in an error.\n"
         "line 5: the fields are separated by spaces, so a run reads the whole line as its row "
         "name: put one tab character between the fields\n\n"
         "Both buttons: Ended due to Error\nError #0 -> \n\n"
         "Copy, Fill, or Replace missing on start of line 5: \nFILL 4 FF\n",
         8,
         {},
         {"nothing built", "0"}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on({.Portable = true});
        WriteGame(on.ProgramFolder, "SIZE\t40\t" + ScriptHex(c.ImageSize), c.More);
        std::string report;
        std::string layout;
        form::Drawing drawing;
        on.Desktop.WhileModal = [&](FakePort& box) {
            EXPECT_EQ(box.Owner, &on.Window());
            // The verdict comes first, where the focus is, so that a screen reader reads it.
            EXPECT_EQ(box.Focus, form::frmCheck::txtCheck);
            report = box.Of(form::frmCheck::txtCheck).Text;
            layout = box.Of(form::frmCheck::txtLayout).Text;
            drawing = box.Of(form::frmCheck::picLayout).Drawn;
            box.Click(form::frmCheck::cmdCheckClose);
        };
        on.Choose(form::frmKelbrin::mnuFile_Check);
        EXPECT_EQ(on.Desktop.ModalForms, std::vector<std::string>{"frmCheck"});
        EXPECT_TRUE(report.starts_with(c.Report)) << report;
        // The program's own "\u00D7" spelled as the window shows a script's text.
        EXPECT_TRUE(layout.starts_with("header: 16 bytes, 4E 45 53 1A, then 12 " +
                                       PathText("\u00D7") + " 00\n"))
            << layout;
        ExpectBands(drawing, c.ImageSize, c.Strip);
        const std::vector<std::string> labels = LabelTexts(drawing);
        for (const std::string& label : c.Labels) {
            EXPECT_NE(std::ranges::find(labels, label), labels.end()) << label;
        }
        EXPECT_EQ(on.ProgramFolder.Names(), (std::set<std::string>{"Kelbrin.txt", "orig.nes"}));
        EXPECT_TRUE(on.Desktop.Boxes.empty());
    }
}

// Check Again reads the script as it is now, and gives the focus back to the verdict.
TEST(CheckScript, CheckAgainReadsTheScriptAnew) {
    MainForm on({.Portable = true});
    WriteGame(on.ProgramFolder, kSizeLine, {"FILL 4 FF"});
    std::string report;
    on.Desktop.WhileModal = [&](FakePort& box) {
        // The author mends the line while the box is open.
        WriteGame(on.ProgramFolder, kSizeLine, {"FILL\t4\tFF"});
        box.SetFocus(form::frmCheck::cmdCheckAgain);
        box.Click(form::frmCheck::cmdCheckAgain);
        EXPECT_EQ(box.Focus, form::frmCheck::txtCheck);
        report = box.Of(form::frmCheck::txtCheck).Text;
        ExpectBands(box.Of(form::frmCheck::picLayout).Drawn, 8,
                    {{form::kCopiedColours[0], 4}, {form::kFilledColour, 4}});
        box.Click(form::frmCheck::cmdCheckClose);
    };
    on.Choose(form::frmKelbrin::mnuFile_Check);
    EXPECT_EQ(report, kBothDone);
}

// Closes Check Script, which a script written opens, keeping its report in `report`; false for
// any other box.
bool ClosedCheck(FakePort& box, std::string* report = nullptr) {
    if (box.Description.Name != "frmCheck") {
        return false;
    }
    if (report != nullptr) {
        *report = box.Of(form::frmCheck::txtCheck).Text;
    }
    box.Click(form::frmCheck::cmdCheckClose);
    return true;
}

// The pair an author makes a script from, beside the program's folder.
struct Roms {
    TempFolder Folder;
    Roms() {
        Folder.Write("orig.nes", Image(0x400));
        Folder.Write("big.nes", Image(0x400) + std::string(0x400, '\xFF'));
    }
    std::string Path(const char* name) const { return Folder.PathOf(name); }
};

TEST(MakeScript, WritesBesideTheOriginalOnlyWhatNothingStandsAgainstThenShowsItsCheck) {
    const Roms roms;
    constexpr const char* kOld = "an author's own script";
    const std::string written = "Script written: " + PathText(roms.Path("Kelbrin.txt"));
    const std::string replace = "Make Script: " + PathText(roms.Path("Kelbrin.txt")) +
                                " exists already.\r\n\r\nReplace it with the script made from "
                                "these two files?";
    enum class Script { None, Old, New };
    struct MakeCase {
        const char* Name;
        // The files chosen in the dialogs, by name; nullptr: the dialog cancelled.
        const char* Original;
        const char* Expanded;
        const char* OriginalHeader;
        const char* ExpandedHeader;
        bool ScriptThere;
        // The author's answer when asked whether to replace the script; nothing: not asked.
        std::optional<bool> Replace;
        std::string Box; // empty: none
        Script Left;
    };
    const std::vector<MakeCase> cases{
        {"both files chosen", "orig.nes", "big.nes", "0", "0", false, std::nullopt, written,
         Script::New},
        {"an empty header box is no header", "orig.nes", "big.nes", "", " ", false, std::nullopt,
         written, Script::New},
        {"the original's dialog cancelled", nullptr, "big.nes", "0", "0", false, std::nullopt,
         "Choose the original ROM first.", Script::None},
        {"the expanded file's dialog cancelled", "orig.nes", nullptr, "0", "0", false, std::nullopt,
         "Choose the expanded ROM first.", Script::None},
        {"a script there, and the author keeps it", "orig.nes", "big.nes", "0", "0", true, false,
         "", Script::Old},
        {"a script there, and the author replaces it", "orig.nes", "big.nes", "0", "0", true, true,
         written, Script::New},
        {"a header size that is no hex number", "orig.nes", "big.nes", "0x10", "0", false,
         std::nullopt,
         "The size of the original's header is '0x10': give it in hex, 1 to 7 digits, or 0 for "
         "none.",
         Script::None},
        {"a header larger than its file", "orig.nes", "big.nes", "0", "FFFF", false, std::nullopt,
         "No script was written: 'big.nes' is 2048 bytes, fewer than its header of 65535 bytes "
         "(error 5).",
         Script::None},
        {"two header sizes", "orig.nes", "big.nes", "10", "200", true, true,
         "No script was written: the original's header of 16 bytes and the expanded file's of "
         "512 differ: a script has one header size (error 5).",
         Script::Old},
        {"the expanded file gone meanwhile", "orig.nes", "gone.nes", "0", "0", false, std::nullopt,
         "No script was written: cannot read the expanded file '" +
             PathText(roms.Path("gone.nes")) + "': File not found (error 53).",
         Script::None},
    };
    const auto chosen = [&roms](const char* name) {
        return name ? std::optional(roms.Path(name)) : std::nullopt;
    };
    for (const MakeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        roms.Folder.Write("Kelbrin.txt", kOld);
        if (!c.ScriptThere) {
            std::filesystem::remove(roms.Path("Kelbrin.txt"));
        }
        MainForm on({});
        on.Desktop.FileAnswers = {chosen(c.Original), chosen(c.Expanded)};
        if (c.Replace) {
            on.Desktop.Answers = {*c.Replace};
        }
        std::string check;
        bool stayedOpen = false;
        on.Desktop.WhileModal = [&](FakePort& box) {
            EXPECT_EQ(box.Owner, &on.Window());
            if (ClosedCheck(box, &check)) {
                return;
            }
            box.Click(form::frmMakeScript::cmdOriginal);
            box.Click(form::frmMakeScript::cmdExpanded);
            box.Type(form::frmMakeScript::txtOriginalHeader, c.OriginalHeader);
            box.Type(form::frmMakeScript::txtExpandedHeader, c.ExpandedHeader);
            box.Click(form::frmMakeScript::cmdMake);
            stayedOpen = box.IsOpen();
            box.Click(form::frmMakeScript::cmdCancel);
        };
        on.Choose(form::frmKelbrin::mnuFile_MakeScript);

        std::vector<SeenBox> boxes;
        if (!c.Box.empty()) {
            boxes.push_back({"Make Script", c.Box,
                             c.Box == written ? MessageBoxIcon::None : MessageBoxIcon::Stop});
        }
        EXPECT_EQ(on.Desktop.Boxes, boxes);
        EXPECT_EQ(on.Desktop.Questions,
                  c.Replace ? std::vector{replace} : std::vector<std::string>{});
        const std::optional<std::string> script = roms.Folder.Read("Kelbrin.txt");
        switch (c.Left) {
        case Script::None: EXPECT_EQ(script, std::nullopt); break;
        case Script::Old: EXPECT_EQ(script, kOld); break;
        case Script::New:
            EXPECT_TRUE(script && script->starts_with("NAME\torig.nes\tbig.nes\r\n"));
            break;
        }
        // Nothing half-written is left beside it either.
        std::set<std::string> names{"orig.nes", "big.nes"};
        if (script) {
            names.insert("Kelbrin.txt");
        }
        EXPECT_EQ(roms.Folder.Names(), names);
        // A script written closes the box and shows its check, which a run of it passes.
        EXPECT_EQ(stayedOpen, c.Left != Script::New);
        using Names = std::vector<std::string>;
        EXPECT_EQ(on.Desktop.ModalForms, (c.Left == Script::New ? Names{"frmMakeScript", "frmCheck"}
                                                                : Names{"frmMakeScript"}));
        if (c.Left == Script::New) {
            EXPECT_NE(check.find("Expand and Ignore/Remove Header: Expansion Done\n"),
                      std::string::npos)
                << check;
        }
        EXPECT_EQ(on.Form->Folder(), "");
    }
}

// A header left out, or its size typed in decimal: the box offers the size the file suggests,
// and a Yes puts it into the field and the script.
TEST(MakeScript, OffersTheHeaderSizeAFileSuggests) {
    const Roms roms;
    const std::string header = std::string(0x200, '\0');
    roms.Folder.Write("orig.smc", header + Image(0x8000));
    roms.Folder.Write("big.smc", header + Image(0x8000) + std::string(0x8000, '\xFF'));
    MainForm on({});
    on.Desktop.FileAnswers = {roms.Path("orig.smc"), roms.Path("big.smc")};
    on.Desktop.Answers = {true, true};
    std::vector<std::string> fields;
    on.Desktop.WhileModal = [&](FakePort& box) {
        if (ClosedCheck(box)) {
            return;
        }
        box.Click(form::frmMakeScript::cmdOriginal);
        box.Click(form::frmMakeScript::cmdExpanded);
        box.Type(form::frmMakeScript::txtExpandedHeader, "512");
        box.Click(form::frmMakeScript::cmdMake);
        fields = {box.Of(form::frmMakeScript::txtOriginalHeader).Text,
                  box.Of(form::frmMakeScript::txtExpandedHeader).Text};
    };
    on.Choose(form::frmKelbrin::mnuFile_MakeScript);
    ASSERT_EQ(on.Desktop.Questions.size(), 2u);
    EXPECT_EQ(on.Desktop.Questions[0],
              "Make Script: '" + PathText(roms.Path("orig.smc")) +
                  "' is 512 bytes over a multiple of 32 KiB, as a file with a 512-byte copier "
                  "header is, so it very likely carries one.\r\n\r\nMake the script with 200 "
                  "(hex) as the original's header size?");
    EXPECT_NE(on.Desktop.Questions[1].find("probably meant as decimal"), std::string::npos)
        << on.Desktop.Questions[1];
    EXPECT_EQ(fields, (std::vector<std::string>{"200", "200"}));
    EXPECT_TRUE(roms.Folder.Read("Kelbrin.txt").value_or("").find("\r\nHEADER\t200\t") !=
                std::string::npos);
}

TEST(MakeScript, FileDialogsOpenWhereTheAuthorWasAndTheChosenPathsShow) {
    const Roms roms;
    MainForm on({});
    on.Desktop.FileAnswers = {roms.Path("orig.nes"), roms.Path("big.nes"), std::nullopt};
    std::vector<std::string> shown;
    on.Desktop.WhileModal = [&](FakePort& box) {
        box.Click(form::frmMakeScript::cmdOriginal);
        box.Click(form::frmMakeScript::cmdExpanded);
        // Cancelled: the choice before stays.
        box.Click(form::frmMakeScript::cmdOriginal);
        shown = {box.Of(form::frmMakeScript::txtOriginal).Text,
                 box.Of(form::frmMakeScript::txtExpanded).Text};
        box.Click(form::frmMakeScript::cmdCancel);
    };
    on.Choose(form::frmKelbrin::mnuFile_MakeScript);
    EXPECT_EQ(on.Desktop.FileDialogs,
              (std::vector<std::string>{"Choose the original ROM in " + on.ProgramFolder.Path(),
                                        "Choose the expanded ROM in " + roms.Folder.Path(),
                                        "Choose the original ROM in " + roms.Folder.Path()}));
    EXPECT_EQ(shown, (std::vector<std::string>{roms.Path("orig.nes"), roms.Path("big.nes")}));
    EXPECT_EQ(roms.Folder.Names(), (std::set<std::string>{"orig.nes", "big.nes"}));
}

// A path typed or pasted (with the quotes of Windows' "Copy as path") names the file as one
// chosen in the dialog does, and the box holds it again when it is opened again.
TEST(MakeScript, TakesTypedPathsAndKeepsThemWhileTheProgramRuns) {
    const Roms roms;
    const std::string quoted = std::string(1, '"').append(roms.Path("orig.nes")).append(1, '"');
    MainForm on({});
    std::vector<std::vector<std::string>> shown;
    on.Desktop.WhileModal = [&](FakePort& box) {
        if (ClosedCheck(box)) {
            return;
        }
        shown.push_back({box.Of(form::frmMakeScript::txtOriginal).Text,
                         box.Of(form::frmMakeScript::txtExpanded).Text});
        if (shown.size() == 1) {
            box.Type(form::frmMakeScript::txtOriginal, quoted);
            box.Type(form::frmMakeScript::txtExpanded, roms.Path("big.nes") + " ");
            box.Click(form::frmMakeScript::cmdMake);
        } else {
            box.CloseBox();
        }
    };
    on.Choose(form::frmKelbrin::mnuFile_MakeScript);
    on.Choose(form::frmKelbrin::mnuFile_MakeScript);

    EXPECT_EQ(on.Desktop.Boxes.size(), 1u);
    EXPECT_TRUE(
        roms.Folder.Read("Kelbrin.txt").value_or("").starts_with("NAME\torig.nes\tbig.nes"));
    EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{{"", ""},
                                                            {quoted, roms.Path("big.nes") + " "}}));
}

// Paths travel as the file layer names files (UTF-8 on Windows, where the system's dialogs give
// UTF-16), in a folder whose name the ANSI code page cannot spell.
TEST(MakeScript, WorksInAFolderOfAnyName) {
    const TempFolder root;
    const std::string folder = root.MakeFolder("\xCE\xA9mega ROM \xE6\x97\xA5\xE6\x9C\xAC");
    const std::string name = folder.substr(root.Path().size() + 1);
    root.Write(name + TempFolder::kSeparator + "orig.nes", Image(0x400));
    root.Write(name + TempFolder::kSeparator + "big.nes", Image(0x800));
    MainForm on({});
    on.Desktop.FileAnswers = {folder + TempFolder::kSeparator + "orig.nes",
                              folder + TempFolder::kSeparator + "big.nes"};
    std::string check;
    on.Desktop.WhileModal = [&](FakePort& box) {
        if (ClosedCheck(box, &check)) {
            return;
        }
        box.Click(form::frmMakeScript::cmdOriginal);
        box.Click(form::frmMakeScript::cmdExpanded);
        box.Click(form::frmMakeScript::cmdMake);
    };
    on.Choose(form::frmKelbrin::mnuFile_MakeScript);
    ASSERT_EQ(on.Desktop.Boxes.size(), 1u);
    // The box that says where the script went, and no failure.
    EXPECT_EQ(on.Desktop.Boxes.front().Icon, MessageBoxIcon::None)
        << on.Desktop.Boxes.front().Message;
    EXPECT_TRUE(root.Exists(name + TempFolder::kSeparator + "Kelbrin.txt"));
    EXPECT_NE(check.find("Expand and Ignore/Remove Header: Expansion Done\n"), std::string::npos)
        << check;
}

} // namespace
} // namespace kelbrin::test
