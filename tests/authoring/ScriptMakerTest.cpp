// Scripts made from pairs of files, each proved by a real run of its text over a temporary
// folder: the run must end done, without a checksum warning, with the expanded file's bytes.

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "AuthoringHarness.h"
#include "HeaderAdvice.h"
#include "LineBudget.h"
#include "MakeScript.h"
#include "PseudoRandom.h"
#include "RuntimeError.h"
#include "ScriptLines.h"

namespace kelbrin::test {
namespace {

std::string ScriptText(const ScriptPlan& plan, const std::string& expanded) {
    std::string text;
    ForEachScriptLine(plan, BytesOf(expanded).subspan(plan.AddsHeader ? plan.HeaderSize : 0),
                      [&text](std::string_view line) {
                          text += line;
                          text += kScriptLineEnd;
                      });
    return text;
}

ScriptPlan Make(const std::string& original, const std::string& expanded,
                std::uint32_t originalHeader = 0, std::uint32_t expandedHeader = 0) {
    return MakeScript({"orig.nes", "big.nes", BytesOf(original), BytesOf(expanded), originalHeader,
                       expandedHeader});
}

// The made script rebuilds the pair by a real run.
void ExpectRebuilt(const ScriptPlan& plan, const std::string& original,
                   const std::string& expanded) {
    const std::string script = ScriptText(plan, expanded);
    EXPECT_EQ(RealRun(script, original, plan.AddsHeader), expanded) << script.substr(0, 2000);
}

std::string With(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

std::string Reversed(std::string bytes) {
    return {bytes.rbegin(), bytes.rend()};
}

const std::string kImage = Image(0x1000);
const std::string kRandom = PseudoRandom(0x2000);
const std::string kHeaderA = "NES\x1A" + std::string(12, '\x11');
// Trailing 00 bytes, which the HEADER line leaves out.
const std::string kHeaderB = std::string("NES\x1A\x02\x01", 6) + std::string(10, '\0');

struct Pair {
    const char* What;
    std::string Original; // whole files, headers included
    std::string Expanded;
    std::uint32_t OriginalHeader;
    std::uint32_t ExpandedHeader;
    std::size_t MostLines; // directive lines the script may take
};

const Pair kPairs[] = {
    {"the same image is one COPY", kImage, kImage, 0, 0, 1},
    {"grown by a run of FF: a COPY and a FILL", kImage, kImage + std::string(0x3000, '\xFF'), 0, 0,
     2},
    {"two patched bytes cost a REPLACE line each, the copy carrying on", kImage,
     With(With(kImage, 0x100, 'x'), 0x800, 'y'), 0, 0, 3},
    {"a byte changed inside a fill is a REPLACE line in it", kImage,
     kImage + With(std::string(0x2000, '\xFF'), 0x1000, '\x12'), 0, 0, 3},
    {"banks swapped: one COPY each", kRandom, kRandom.substr(0x1000) + kRandom.substr(0, 0x1000), 0,
     0, 2},
    {"banks doubled: the original twice", kRandom, kRandom + kRandom, 0, 0, 2},
    {"an inserted byte moves the copy on", kRandom,
     kRandom.substr(0, 1000) + "!" + kRandom.substr(1000), 0, 0, 3},
    {"new bytes before the first copy", kRandom, Reversed(kRandom.substr(0, 40)) + kRandom, 0, 0,
     3},
    {"unrelated files: one REPLACE line over a fill", kRandom, Reversed(kRandom), 0, 0, 2},
    {"new data longer than a REPLACE line takes", kImage, PseudoRandom(3 * kLongestReplace + 10), 0,
     0, 5},
    {"shrunk: the final size ends the copy", kRandom, kRandom.substr(0, 3000), 0, 0, 1},
    {"zeros past the original's end are the copy's own", kRandom, kRandom + std::string(500, '\0'),
     0, 0, 1},
    {"an empty image needs no directive line", kRandom, "", 0, 0, 0},
    {"a header on both sides: the expanded one's bytes", kHeaderA + kImage,
     kHeaderB + kImage + std::string(0x100, '\0'), 16, 16, 1},
    {"a copier header on the original only", std::string(512, '\x55') + kRandom, kRandom + kRandom,
     512, 0, 2},
    {"a header on the expanded file only", kImage, kHeaderA + kImage, 0, 16, 1},
    {"an all-00 expanded header still lists one byte", kImage, std::string(16, '\0') + kImage, 0,
     16, 1},
};

TEST(ScriptMaker, EachPairIsRebuiltByARealRunOfItsScript) {
    for (const Pair& pair : kPairs) {
        SCOPED_TRACE(pair.What);
        const ScriptPlan plan =
            Make(pair.Original, pair.Expanded, pair.OriginalHeader, pair.ExpandedHeader);
        ExpectRebuilt(plan, pair.Original, pair.Expanded);
        EXPECT_LE(plan.Directives.size(), pair.MostLines);
        // Where only the original carries a header, the other button gives the expanded image
        // behind the original's header.
        if (pair.OriginalHeader != 0 && pair.ExpandedHeader == 0) {
            EXPECT_EQ(RealRun(ScriptText(plan, pair.Expanded), pair.Original, true),
                      pair.Original.substr(0, pair.OriginalHeader) + pair.Expanded);
        }
    }
}

TEST(ScriptMaker, ChangesBeyondTheLineLimitAreGroupedClosestFirst) {
    // Pairs of changes 12 bytes apart, the pairs 40 bytes apart: 40,330 REPLACE lines, one a
    // change, are too many; grouping some pairs, never the bytes between two pairs, fits.
    const std::string original = PseudoRandom(0x100000);
    std::string expanded = original;
    for (std::size_t at = 0; at + 12 < expanded.size(); at += 52) {
        expanded[at] = static_cast<char>(~expanded[at]);
        expanded[at + 12] = static_cast<char>(~expanded[at + 12]);
    }
    const ScriptPlan plan = Make(original, expanded);

    EXPECT_EQ(plan.Directives.size(), kMostDirectiveLines);
    for (const Directive& line : plan.Directives) {
        EXPECT_LE(line.Kind == DirectiveKind::Replace ? line.Value : 0, 13u);
    }
    ExpectRebuilt(plan, original, expanded);
}

struct Budget {
    const char* What;
    std::vector<Directive> Directives;
    std::uint32_t ImageSize;
    std::size_t MostLines;
    std::vector<Directive> Lines;
};

constexpr auto kCopy = DirectiveKind::Copy;
constexpr auto kFill = DirectiveKind::Fill;
constexpr auto kReplace = DirectiveKind::Replace;

const Budget kBudgets[] = {
    {"evenly spaced changes one line too many: one stretch between them is grouped, not all",
     {{kCopy, 0, 0}, {kReplace, 10, 1}, {kReplace, 20, 1}, {kReplace, 30, 1}, {kReplace, 40, 1}},
     50,
     4,
     {{kCopy, 0, 0}, {kReplace, 10, 11}, {kReplace, 30, 1}, {kReplace, 40, 1}}},
    {"a short first range stays a range: a script starts with COPY or FILL",
     {{kFill, 0, 0}, {kCopy, 4, 0x100}, {kReplace, 10, 1}, {kReplace, 20, 1}, {kReplace, 30, 1}},
     40,
     3,
     {{kFill, 0, 0}, {kCopy, 4, 0x100}, {kReplace, 10, 21}}},
};

TEST(LineBudget, GroupsTheShortestStretchesOnlyAsFarAsTheLinesNeed) {
    for (const Budget& budget : kBudgets) {
        SCOPED_TRACE(budget.What);
        EXPECT_EQ(FitLineBudget(budget.Directives, budget.ImageSize, budget.MostLines),
                  budget.Lines);
    }
}

struct Refusal {
    const char* What;
    std::string OriginalName;
    std::string ExpandedName;
    std::uint32_t OriginalHeader;
    std::uint32_t ExpandedHeader;
};

const Refusal kRefusals[] = {
    {"a header longer than the original", "orig.nes", "big.nes", 0x1001, 0},
    {"a header longer than the expanded file", "orig.nes", "big.nes", 0, 0x1001},
    {"two header sizes", "orig.nes", "big.nes", 16, 512},
    {"names a run cannot tell apart", "Game.nes", "game.NES", 0, 0},
    {"the expanded file named like the script", "orig.nes", "KELBRIN.TXT", 0, 0},
    {"a TAB in a name", "orig\t.nes", "big.nes", 0, 0},
    {"a backslash in a name", "orig.nes", "sub\\big.nes", 0, 0},
};

TEST(ScriptMaker, RefusesWhatNoScriptCanDescribeWithErrorFive) {
    for (const Refusal& refusal : kRefusals) {
        SCOPED_TRACE(refusal.What);
        try {
            MakeScript({refusal.OriginalName, refusal.ExpandedName, BytesOf(kImage),
                        BytesOf(kImage), refusal.OriginalHeader, refusal.ExpandedHeader});
            ADD_FAILURE() << "made a script";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), ErrInvalidCall);
            EXPECT_FALSE(error.Description().empty());
        }
    }
}

// The header sizes an author probably meant, told from a file's first bytes and its length.
TEST(ScriptMaker, HeaderSizesAFileSuggests) {
    const std::string nes = kHeaderA + Image(0x4000);
    const std::string copier = std::string(0x200, '\0') + Image(0x8000);
    struct Case {
        const char* What;
        std::string File;
        std::optional<std::uint32_t> Given;
        std::optional<std::uint32_t> Suggested;
        std::string Says;
    };
    const Case cases[] = {
        {"a NES header left out", nes, std::nullopt, 0x10, "starts with 4E 45 53 1A"},
        {"a copier header left out", copier, std::nullopt, 0x200, "512 bytes over a multiple"},
        {"no header, as the author says", copier, 0, std::nullopt, ""},
        {"512 typed in decimal", copier, 0x512, 0x200, "probably meant as decimal"},
        {"16 typed in decimal", nes, 0x16, 0x10, "hex for 22 bytes"},
        {"the size in hex", copier, 0x200, std::nullopt, ""},
        {"10 in hex, whose decimal reading leaves no image", nes, 0x10, std::nullopt, ""},
        {"an image alone", Image(0x8000), std::nullopt, std::nullopt, ""},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        folder.Write("rom", c.File);
        const std::optional<HeaderAdvice> advice = AdviseHeader(folder.PathOf("rom"), c.Given);
        ASSERT_EQ(advice.has_value(), c.Suggested.has_value());
        if (advice) {
            EXPECT_EQ(advice->Size, *c.Suggested);
            EXPECT_NE(advice->Reason.find(c.Says), std::string::npos) << advice->Reason;
        }
    }
}

} // namespace
} // namespace kelbrin::test
