// kelbrin-cli --info: the original's identity in a stable format, the same refusals as a run,
// and nothing written in the folder.

#include <gtest/gtest.h>
#include <optional>

#include "CliHarness.h"

namespace kelbrin::test {
namespace {

const std::string kName = "NAME\torig.nes\tbig.nes";
// "abc" behind a three-byte header; its image's digests are the published ones of "abc".
const std::string kOriginal = "HDRabc";
const std::string kAbcMD5 = "900150983CD24FB0D6963F7D28E17F72";

struct InfoCase {
    const char* What;
    std::string SizeLine; // empty: no script at all
    int ExitStatus;
    std::string Out;
    std::string Err;
    std::string HeaderLine = "HEADER\t3";
    bool ExpandedThere = true; // an expanded file from before, which must stay as it is
};

TEST(CliInfo, TellsTheOriginalsIdentityOrRefusesAsARunWould) {
    const InfoCase cases[] = {
        {"headered original, checksum given", "SIZE\t3\t10\t" + kAbcMD5, 0,
         "Original: orig.nes\n"
         "Length: 6 bytes\n"
         "Header: 3 bytes\n"
         "Image CRC32: 352441C2\n"
         "Image MD5: 900150983CD24FB0D6963F7D28E17F72\n"
         "Image SHA-1: A9993E364706816ABA3E25717850C26C9CD0D89D\n"
         "File CRC32: 54DB88D2\n"
         "File MD5: 73A8BE88C766944EE7B764C82E5D7FE5\n"
         "File SHA-1: 42E637A85A74E483BD282B413687276BA1797591\n"
         "Script MD5: 900150983CD24FB0D6963F7D28E17F72 (matches)\n"
         "SIZE line: SIZE\t3\t10\t900150983CD24FB0D6963F7D28E17F72\n",
         "", "HEADER\t3", false},
        {"plain original, wrong checksum", "SIZE\t6\t6\twrong", 0,
         "Original: orig.nes\n"
         "Length: 6 bytes\n"
         "Header: none\n"
         "Image CRC32: 54DB88D2\n"
         "Image MD5: 73A8BE88C766944EE7B764C82E5D7FE5\n"
         "Image SHA-1: 42E637A85A74E483BD282B413687276BA1797591\n"
         "Script MD5: wrong (does not match)\n"
         "SIZE line: SIZE\t6\t6\t73A8BE88C766944EE7B764C82E5D7FE5\n",
         ""},
        // With a header size of 0 the plain size is tested first: no header, and no File lines.
        {"no header defined, original of the image's size", "SIZE\t6\t6", 0,
         "Original: orig.nes\n"
         "Length: 6 bytes\n"
         "Header: none\n"
         "Image CRC32: 54DB88D2\n"
         "Image MD5: 73A8BE88C766944EE7B764C82E5D7FE5\n"
         "Image SHA-1: 42E637A85A74E483BD282B413687276BA1797591\n"
         "Script MD5: none\n"
         "SIZE line: SIZE\t6\t6\t73A8BE88C766944EE7B764C82E5D7FE5\n",
         "", "HEADER\t0"},
        // The box as a run shows it, and what a player needs to look the file up.
        {"length fits neither size", "SIZE\t4\t10", 1,
         "Original: orig.nes\n"
         "Length: 6 bytes\n"
         "File CRC32: 54DB88D2\n"
         "File MD5: 73A8BE88C766944EE7B764C82E5D7FE5\n"
         "File SHA-1: 42E637A85A74E483BD282B413687276BA1797591\n",
         "Error #0 -> \n\nOriginal ROM is not 4 bytes or 7 bytes\n\n"},
        {"a broken SIZE line", "SIZE\tZZ\t10", 1, "",
         "Error #0 -> \n\nOriginal file size of 'ZZ' is not a valid hex value\n\n"},
        {"no script", "", 1, "",
         "Error #53 -> File not found\n\nCan't open 'Kelbrin.txt' file\n\n"},
    };
    for (const InfoCase& c : cases) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        if (!c.SizeLine.empty()) {
            folder.WriteInGame("Kelbrin.txt", ScriptOf({kName, c.SizeLine, c.HeaderLine}));
        }
        folder.WriteInGame("orig.nes", kOriginal);
        if (c.ExpandedThere) {
            folder.WriteInGame("big.nes", "OLD");
        }

        const ProgramResult r = RunCli({"--info", "--dir", folder.Game});

        EXPECT_EQ(r.ExitStatus, c.ExitStatus);
        EXPECT_EQ(r.Out, c.Out);
        EXPECT_EQ(r.Err, c.Err);
        // A look writes nothing.
        EXPECT_EQ(folder.Root.Read("game/big.nes"),
                  c.ExpandedThere ? std::optional<std::string>("OLD") : std::nullopt);
        EXPECT_EQ(folder.Root.Read("game/orig.nes"), kOriginal);
    }
}

} // namespace
} // namespace kelbrin::test
