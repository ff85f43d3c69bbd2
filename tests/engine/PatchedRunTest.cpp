// Runs with patches: which button's ROM a patch fits, what is written when it does and when it
// does not, the patched ROM's name, and what the window is asked about before a run.

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ChecksummedBytes.h"
#include "MD5.h"
#include "OriginalSearch.h"
#include "PatchFit.h"
#include "PseudoRandom.h"
#include "RunFolder.h"

namespace kelbrin::test {
namespace {

using namespace std::string_literals;

// A BPS patch that makes `target` from `source` in one TargetRead.
std::string Bps(const std::string& source, const std::string& target) {
    std::string patch = "BPS1" + Number(source.size()) + Number(target.size()) + Number(0) +
                        Number((target.size() - 1) << 2 | 1) + target +
                        LittleEndian(Crc32Of(source)) + LittleEndian(Crc32Of(target));
    return patch + LittleEndian(Crc32Of(patch));
}

// 1 MiB of new bytes, then a copy of them from the start: each copied byte lies further back
// than the few pieces a reader keeps in memory.
const std::string kNewBlock = PseudoRandom(1024 * 1024);
const std::string kFarCopyTarget = kNewBlock + kNewBlock;

std::string FarCopyBps(const std::string& source) {
    std::string patch = "BPS1" + Number(source.size()) + Number(kFarCopyTarget.size()) + Number(0) +
                        Number((kNewBlock.size() - 1) << 2 | 1) + kNewBlock +
                        Number((kNewBlock.size() - 1) << 2 | 3) + Number(0) +
                        LittleEndian(Crc32Of(source)) + LittleEndian(Crc32Of(kFarCopyTarget));
    return patch + LittleEndian(Crc32Of(patch));
}

// One of the patch's bytes changed, so that its own CRC32 no longer holds.
std::string Damaged(std::string patch) {
    patch[8] = static_cast<char>(patch[8] ^ 1);
    return patch;
}

// The files of the standard game (WriteGame): 8 bytes of image, and the script's header before
// them for the Add/Replace button.
const std::string kImage = Image(0x40).substr(0, 8);
const std::string kWithHeader = ScriptHeader() + kImage;
const std::string kHack = "HACKED!!";

std::string Sum(const std::string& bytes) {
    std::string text = "0x" + std::to_string(bytes.size()); // sizes below 10 and 0x18 below
    return text + " bytes with the CRC32 " + Crc32::Text(Crc32Of(bytes));
}

constexpr const char* kAdd = "Expand and Add/Replace Header";
constexpr const char* kRemove = "Expand and Ignore/Remove Header";

struct PatchedRunCase {
    const char* Name;
    std::int16_t Button;
    std::vector<std::pair<std::string, std::string>> Patches; // name, bytes, in their order
    std::string Box;                                          // empty: the run is done
    std::map<std::string, std::optional<std::string>> After;  // a file's bytes, or none
    std::vector<std::string> MoreStatuses = {};               // after "Expansion Done" or the box
    std::function<void(RunFolder&)> During = {};
};

void PrintTo(const PatchedRunCase& c, std::ostream* os) {
    *os << c.Name;
}

class PatchedRun : public ::testing::TestWithParam<PatchedRunCase> {};

TEST_P(PatchedRun, WritesBothRomsOrNeither) {
    const PatchedRunCase& c = GetParam();
#ifdef _WIN32
    if (c.During) {
        GTEST_SKIP() << "a live run's unfinished file cannot be removed on Windows";
    }
#endif
    RunFolder run;
    WriteGame(run.Folder);
    RunExtras extras;
    for (const auto& [name, bytes] : c.Patches) {
        run.Folder.Write(name, bytes);
        extras.Patches.push_back(run.Folder.PathOf(name));
    }
    if (c.During) {
        run.Window.OnEvents = [&] { c.During(run); };
    }
    const RunResult result =
        Expand(c.Button == 0 ? HeaderChoice::AddOrReplace : HeaderChoice::IgnoreOrRemove,
               run.Folder.Path(), run.Window, extras);
    if (c.Box.empty()) {
        EXPECT_TRUE(result.Done());
        EXPECT_TRUE(run.Window.Boxes.empty()) << run.Window.Boxes.front();
    } else {
        // The box ends with the patch's path, which is the test folder's.
        ASSERT_EQ(run.Window.Boxes.size(), 1u);
        EXPECT_EQ(run.Window.Boxes.front().substr(0, c.Box.size()), c.Box);
        EXPECT_EQ(run.Window.LastStatus(), "Ended due to Error");
    }
    for (const auto& [name, bytes] : c.After) {
        EXPECT_EQ(run.Folder.Read(name), bytes) << name;
    }
    for (const std::string& name : run.Folder.Names()) {
        EXPECT_EQ(name.find(".kelbrin-unfinished"), std::string::npos) << name;
    }
    const std::vector<std::string> statuses = run.Window.Statuses();
    for (const std::string& status : c.MoreStatuses) {
        EXPECT_NE(std::find(statuses.begin(), statuses.end(), status), statuses.end()) << status;
    }
}

const std::string kOtherGame = "ANOTHER!";
const std::string kIps = "PATCH\0\0\0\0\x02zzEOF"s;

INSTANTIATE_TEST_SUITE_P(
    Run, PatchedRun,
    ::testing::Values(
        PatchedRunCase{
            "FitsThePressedButton",
            0,
            {{"hack.bps", Bps(kWithHeader, kHack)}},
            "",
            {{"big.nes", kWithHeader}, {"hack.nes", kHack}},
            {"Applying hack.bps", "Expansion Done",
             "Patched ROM written: hack.nes (CRC32 " + Crc32::Text(Crc32Of(kHack)) + ")"}},
        PatchedRunCase{"FitsTheOtherButton",
                       1,
                       {{"hack.bps", Bps(kWithHeader, kHack)}},
                       "Error #613 -> The BPS patch 'hack.bps' does not fit the ROM that "s +
                           kRemove + " writes: it fits the one of the other button. Press " + kAdd +
                           " instead.\r\n\r\nCan't apply the patch: '",
                       {{"big.nes", std::nullopt}, {"hack.nes", std::nullopt}}},
        PatchedRunCase{"FitsNeitherButton",
                       1,
                       {{"hack.bps", Bps(kOtherGame, kHack)}},
                       "Error #614 -> The BPS patch 'hack.bps' fits neither button's ROM: it was "
                       "made for " +
                           Sum(kOtherGame) + ", and " + kRemove + " writes " + Sum(kImage) + " (" +
                           kAdd + ": 0x18 bytes with the CRC32 " +
                           Crc32::Text(Crc32Of(kWithHeader)) +
                           "). That usually means another revision of the game than the patch's, "
                           "a ROM that is patched already, or a header the patch does not "
                           "expect.\r\n\r\nCan't apply the patch: '",
                       {{"big.nes", std::nullopt}, {"hack.nes", std::nullopt}}},
        PatchedRunCase{"AlreadyPatched",
                       1,
                       {{"hack.bps", Bps(kOtherGame, kImage)}},
                       "Error #615 -> The ROM that "s + kRemove + " writes (" + Sum(kImage) +
                           ") is already what the BPS patch 'hack.bps' makes: it is patched "
                           "already, and a patch is not applied twice.\r\n\r\nCan't apply the "
                           "patch: '",
                       {{"big.nes", std::nullopt}, {"hack.nes", std::nullopt}}},
        PatchedRunCase{"IpsCannotTell",
                       1,
                       {{"hack.ips", kIps}},
                       "",
                       {{"big.nes", kImage}, {"hack.nes", "zz" + kImage.substr(2)}},
                       {"The IPS patch 'hack.ips' holds no checksum, so Kelbrin cannot tell which "
                        "button it fits: the author's script or notes say which."}},
        PatchedRunCase{"DamagedPatchBeforeAnythingIsWritten",
                       0,
                       {{"hack.bps", Damaged(Bps(kWithHeader, kHack))}},
                       "Error #609 -> The BPS patch 'hack.bps' is damaged",
                       {{"big.nes", std::nullopt}, {"hack.nes", std::nullopt}}},
        PatchedRunCase{"ChainAppliedInOrder",
                       0,
                       {{"one.bps", Bps(kWithHeader, kHack)}, {"two.bps", Bps(kHack, "AGAIN")}},
                       "",
                       {{"big.nes", kWithHeader}, {"one.nes", std::nullopt}, {"two.nes", "AGAIN"}}},
        PatchedRunCase{"LaterPatchOfAnotherRom",
                       0,
                       {{"one.bps", Bps(kWithHeader, kHack)}, {"two.bps", Bps(kOtherGame, "X")}},
                       "Error #610 -> The BPS patch 'two.bps' was made for another ROM",
                       {{"big.nes", std::nullopt}, {"two.nes", std::nullopt}}},
        PatchedRunCase{"CopyFromFarBackReadsThePatchedFile",
                       0,
                       {{"hack.bps", FarCopyBps(kWithHeader)}},
                       "",
                       {{"big.nes", kWithHeader}, {"hack.nes", kFarCopyTarget}}},
        PatchedRunCase{"NameOfTheExpandedRomTakesPatched",
                       0,
                       {{"big.bps", Bps(kWithHeader, kHack)}},
                       "",
                       {{"big.nes", kWithHeader}, {"big (patched).nes", kHack}}},
        PatchedRunCase{
            "NameOfTheOriginalTakesPatched",
            0,
            {{"orig.bps", Bps(kWithHeader, kHack)}},
            "",
            {{"orig.nes", ForeignHeader() + Image(0x40)}, {"orig (patched).nes", kHack}}},
        // The patched ROM's unfinished file goes between the two renames: the expanded ROM is
        // in place, and the box says that the patched one is not.
        PatchedRunCase{"SecondRenameFails",
                       0,
                       {{"hack.bps", Bps(kWithHeader, kHack)}},
                       "Error #53 -> File not found\r\n\r\nExpanded ROM file saved as 'big.nes', "
                       "but the Patched ROM file could not take its name: 'hack.nes'",
                       {{"big.nes", kWithHeader}, {"hack.nes", std::nullopt}},
                       {},
                       [](RunFolder& run) {
                           std::filesystem::remove(
                               run.Folder.PathOf("hack.nes.kelbrin-unfinished"));
                       }}),
    [](const auto& info) { return std::string(info.param.Name); });

struct FitCase {
    const char* Name;
    std::string Patch;
    ButtonFit Add;
    ButtonFit Remove;
    std::string RemoveTextStart;
};

// What the window asks before a run: the answer for both buttons, and nothing written.
TEST(PatchFit, AnswersForBothButtonsAndWritesNothing) {
    const std::vector<FitCase> table = {
        {"ForTheHeader", Bps(kWithHeader, kHack), ButtonFit::Fits, ButtonFit::DoesNotFit,
         "The BPS patch 'hack.bps' does not fit the ROM that "s + kRemove},
        {"ForTheImage", Bps(kImage, kHack), ButtonFit::DoesNotFit, ButtonFit::Fits,
         "The BPS patch 'hack.bps' fits the ROM that "s + kRemove + " writes."},
        {"AlreadyPatched", Bps(kOtherGame, kImage), ButtonFit::DoesNotFit,
         ButtonFit::AlreadyPatched, "The ROM that "s + kRemove},
        {"Ips", kIps, ButtonFit::CannotTell, ButtonFit::CannotTell, "The IPS patch 'hack.bps'"},
        {"Damaged", Damaged(Bps(kImage, kHack)), ButtonFit::NoFile, ButtonFit::NoFile,
         "Error #609 -> The BPS patch 'hack.bps' is damaged"},
    };
    for (const FitCase& c : table) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        WriteGame(run.Folder);
        run.Folder.Write("hack.bps", c.Patch);
        const std::set<std::string> before = run.Folder.Names();
        const PatchFitting fit = FitPatch(run.Folder.Path(), {}, run.Folder.PathOf("hack.bps"));
        EXPECT_EQ(fit.AddOrReplace.Fit, c.Add);
        EXPECT_EQ(fit.IgnoreOrRemove.Fit, c.Remove);
        EXPECT_EQ(fit.IgnoreOrRemove.Text.substr(0, c.RemoveTextStart.size()), c.RemoveTextStart);
        EXPECT_EQ(run.Folder.Names(), before);
    }
}

// The original kept under another name: found by its length and checksum, and taken for a
// run that names it.
TEST(OriginalSearch, FindsFilesThatFitTheScript) {
    const std::string headered = ForeignHeader() + Image(0x40);
    const std::string md5 = MD5().DigestStrToHexStr(Image(0x40));
    struct Case {
        const char* Name;
        std::string SizeLine;
        std::map<std::string, std::string> Files;
        std::vector<std::string> Found;
    };
    const std::vector<Case> table = {
        {"OriginalThere", kSizeLine, {{"orig.nes", headered}, {"copy.nes", headered}}, {}},
        {"ByLengthWithOrWithoutHeader",
         kSizeLine,
         {{"b.nes", Image(0x40)}, {"a.nes", headered}, {"short.nes", Image(0x3F)}},
         {"a.nes", "b.nes"}},
        {"ByChecksum",
         "SIZE	40	8	" + md5,
         {{"good.nes", headered}, {"other.nes", std::string(0x40, 'x')}},
         {"good.nes"}},
    };
    for (const Case& c : table) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        run.Script({kNameLine, c.SizeLine, kHeaderLine, kCopyLine});
        for (const auto& [name, bytes] : c.Files) {
            run.Folder.Write(name, bytes);
        }
        EXPECT_EQ(OriginalsUnderOtherNames(run.Folder.Path()), c.Found);
    }
}

TEST(OriginalSearch, RunTakesTheOriginalGiven) {
    RunFolder run;
    run.Script({kNameLine, kSizeLine, kHeaderLine, kCopyLine});
    run.Folder.Write("Zephyr (Rev 1).nes", ForeignHeader() + Image(0x40));
    RunExtras extras;
    extras.Original = run.Folder.PathOf("Zephyr (Rev 1).nes");
    EXPECT_TRUE(Expand(HeaderChoice::AddOrReplace, run.Folder.Path(), run.Window, extras).Done());
    EXPECT_EQ(run.File(), kWithHeader);
}

} // namespace
} // namespace kelbrin::test
