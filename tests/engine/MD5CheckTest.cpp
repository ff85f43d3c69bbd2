// The checksum on the SIZE line: checked against the original without its header; a
// mismatch shows the digest and a warning, and the run still expands the ROM.

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "RunFolder.h"

namespace kelbrin::test {
namespace {

// md5sum of Image(0x40), the payload every case digests (with or without a header before it).
const std::string kImageDigest = "B2D3F56BC197FD985D5965079B5E7148";

const std::string kMismatch =
    "Original ROM's MD5 checksum does not match the checksum in the patch.\r\n"
    "Your patched ROM will not match the ROM of the maker of the patch.\r\n"
    "Click OK to expand the ROM anyway.";

struct MD5Case {
    const char* Name;
    std::string Field; // the SIZE line's 4th field; empty: none
    bool HeaderInOriginal;
    bool Mismatch;
};

class MD5Check : public ::testing::TestWithParam<MD5Case> {};

TEST_P(MD5Check, WarnsOnlyOnAMismatchAndExpandsEitherWay) {
    const MD5Case& c = GetParam();
    RunFolder run;
    run.Original((c.HeaderInOriginal ? ForeignHeader() : "") + Image(0x40));
    run.Script({kNameLine, "SIZE\t40\t8" + (c.Field.empty() ? "" : "\t" + c.Field), kHeaderLine,
                kCopyLine});
    run.Run(1);

    std::vector<std::string> expected = {"hide-md5"};
    if (c.Mismatch) {
        expected.push_back("md5:" + kImageDigest);
        expected.push_back("box:Error:stop:" + RuleBox(kMismatch));
    }
    expected.insert(expected.end(),
                    {"status:No Header", "status:Copy, Fill, Replace line #4", "events",
                     "status:Copy, Fill, Replace line #5", "events", "status:Expansion Done"});
    EXPECT_EQ(run.Window.Log, expected);
    EXPECT_EQ(run.File(), Image(8));
}

INSTANTIATE_TEST_SUITE_P(Run, MD5Check,
                         ::testing::Values(MD5Case{"NoChecksum", "", false, false},
                                           MD5Case{"RightChecksum", kImageDigest, false, false},
                                           MD5Case{"RightChecksumHeaderSkipped", kImageDigest, true,
                                                   false},
                                           MD5Case{"ChecksumOfTheWholeHeaderedFile",
                                                   "A49FA64C9A7F913B85854A1D3F95141B", true, true},
                                           MD5Case{"LowerCaseNeverMatches",
                                                   "b2d3f56bc197fd985d5965079b5e7148", false, true},
                                           MD5Case{"AnyTextAsksForTheDigest", "?", false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The warning box comes first, and the failure that follows it is reported with its own box;
// one that has no context of its own is shown under the warning's text.
TEST(Run, FailureAfterAMismatchComesInABoxOfItsOwn) {
    struct Case {
        const char* Name;
        std::int16_t Index;
        std::string HeaderLine;
        bool OriginalGoneAtTheWarning;
        std::string Failure;
    };
    for (const Case& c :
         {Case{"OriginalGone", 1, kHeaderLine, true,
               "Error #53 -> File not found\r\n\r\n" + kMismatch},
          Case{"HeaderWantedButNoneDefined", 0, "HEADER\t0", false,
               RuleBox("Expansion file has no header defined for this type of ROM,\r\n"
                       "so you can't add a header.\r\n"
                       "Press the 'Expand and Ignore/Remove Header' button instead.")}}) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        run.Original(Image(0x40));
        run.Script({kNameLine, "SIZE\t40\t8\tWRONG", c.HeaderLine, kCopyLine});
        if (c.OriginalGoneAtTheWarning) {
            run.Window.OnBox = [&] { std::remove(run.Folder.PathOf("orig.nes").c_str()); };
        }
        run.Run(c.Index);
        EXPECT_EQ(run.Window.Boxes, (std::vector<std::string>{RuleBox(kMismatch), c.Failure}));
        EXPECT_EQ(run.Window.Log.back(), "status:Ended due to Error");
        EXPECT_FALSE(run.Folder.Exists("big.nes"));
    }
}

} // namespace
} // namespace kelbrin::test
