// What ROM Information tells a player: whether the original is the ROM the patch expects, and
// the length and digests that tell which ROM it is, also when its length fits neither size.

#include "RomInformation.h"

#include <gtest/gtest.h>
#include <string>

#include "OriginalIdentity.h"
#include "RunFolder.h"

namespace kelbrin::test {
namespace {

// "abc" has published digests; its MD5 is the script's checksum where a case gives the right one.
const std::string kAbcMD5 = "900150983CD24FB0D6963F7D28E17F72";

struct VerdictCase {
    const char* What;
    std::string Original;
    std::string SizeLine;
    std::string HeaderLine;
    std::string Verdict;
};

TEST(RomInformation, VerdictSaysWhetherThisIsTheRomThePatchExpects) {
    const VerdictCase cases[] = {
        {"right checksum", "abc", "SIZE\t3\t8\t" + kAbcMD5, "HEADER\t3",
         "This is the ROM the patch expects."},
        {"right checksum behind a header", "HDRabc", "SIZE\t3\t8\t" + kAbcMD5, "HEADER\t3",
         "This is the ROM the patch expects."},
        {"another checksum", "abd", "SIZE\t3\t8\t" + kAbcMD5, "HEADER\t3",
         "Your ROM's checksum differs from the one the patch expects: it is another revision or "
         "region, or it was changed."},
        {"the whole headered file's checksum", "HDRabc",
         "SIZE\t3\t8\t73A8BE88C766944EE7B764C82E5D7FE5", "HEADER\t3",
         "Your ROM's checksum differs from the one the patch expects: it is another revision or "
         "region, or it was changed."},
        // A run compares the letters exactly and warns; the ROM is the right one all the same.
        {"right checksum in lower case", "abc", "SIZE\t3\t8\t900150983cd24fb0d6963f7d28e17f72",
         "HEADER\t3",
         "This is the ROM the patch expects. Its Kelbrin.txt writes the checksum in lower case, "
         "so expanding it will still warn that the checksum differs."},
        {"no checksum", "HDRabc", "SIZE\t3\t8", "HEADER\t3",
         "Your ROM has the size the patch expects. The patch gives no checksum, so whether it "
         "is the right revision and region cannot be told."},
        {"length fits neither size", std::string(1000, 'x'), "SIZE\t400\t800\t" + kAbcMD5,
         "HEADER\t200", "This file is 1000 bytes; the patch expects 1024, or 1536 with a header."},
        {"neither, for a system without headers", std::string(1000, 'x'), "SIZE\t400\t800",
         "HEADER\t0", "This file is 1000 bytes; the patch expects 1024."},
        {"a single byte", "x", "SIZE\t3\t8", "HEADER\t3",
         "This file is 1 byte; the patch expects 3, or 6 with a header."},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.What);
        RunFolder look;
        look.Original(c.Original);
        look.Script({kNameLine, c.SizeLine, c.HeaderLine});
        const IdentityResult result =
            IdentifyOriginal(look.Folder.Path(), look.Window, WrongLength::LeaveToReport);
        ASSERT_TRUE(result.Identity.has_value());
        EXPECT_EQ(IdentityVerdict(*result.Identity), c.Verdict);
        EXPECT_TRUE(look.Window.Boxes.empty());
    }
}

TEST(RomInformation, PlayersTextHasTheVerdictFolderAndDigestsInColumnsAndTheSizeLineLast) {
    RunFolder look;
    look.Original("HDRabc");
    look.Script({kNameLine, "SIZE\t3\t8\tabd", "HEADER\t3"});
    const IdentityResult result = IdentifyOriginal(look.Folder.Path(), look.Window);
    ASSERT_TRUE(result.Identity.has_value());
    EXPECT_TRUE(result.Ending.Done());
    EXPECT_EQ(RomInformation(*result.Identity),
              "Your ROM's checksum differs from the one the patch expects: it is\n"
              "another revision or region, or it was changed.\n"
              "\n"
              "Folder  " +
                  look.Folder.Path() +
                  "\n"
                  "ROM     orig.nes\n"
                  "Length  6 bytes\n"
                  "Header  3 bytes\n"
                  "\n"
                  "Checksums without the header, as ROM lists give them:\n"
                  "CRC32   352441C2\n"
                  "MD5     900150983CD24FB0D6963F7D28E17F72\n"
                  "SHA-1   A9993E364706816ABA3E25717850C26C9CD0D89D\n"
                  "\n"
                  "Checksums of the whole file:\n"
                  "CRC32   54DB88D2\n"
                  "MD5     73A8BE88C766944EE7B764C82E5D7FE5\n"
                  "SHA-1   42E637A85A74E483BD282B413687276BA1797591\n"
                  "\n"
                  "For patch authors, the SIZE line with this ROM's checksum:\n"
                  "SIZE\t3\t8\t900150983CD24FB0D6963F7D28E17F72\n");
}

// The window's text says it without the run's box (the command line shows the box, as its tests
// show), over the digests that tell which ROM the file is.
TEST(RomInformation, WrongLengthIsToldWithTheWholeFilesDigestsAndNoSizeLine) {
    RunFolder look;
    look.Original("abcd");
    look.Script({kNameLine, "SIZE\t3\t8\t" + kAbcMD5, "HEADER\t3"});
    const IdentityResult result =
        IdentifyOriginal(look.Folder.Path(), look.Window, WrongLength::LeaveToReport);
    ASSERT_TRUE(result.Identity.has_value());
    EXPECT_FALSE(result.Ending.Done());
    EXPECT_TRUE(look.Window.Boxes.empty());
    const std::string text = RomInformation(*result.Identity);
    EXPECT_NE(text.find("Length  4 bytes\n\n"
                        "Checksums of the whole file, to look it up in a ROM list:\n"
                        "CRC32   ED82CD11\n"
                        "MD5     E2FC714C4727EE9395F324CD2E7F331F\n"
                        "SHA-1   81FE8BFE87576C3ECB22426F8E57847382917ACF\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("SIZE\t"), std::string::npos) << text;
}

} // namespace
} // namespace kelbrin::test
