#include <gtest/gtest.h>
#include <optional>

#include "CliHarness.h"

namespace kelbrin::test {
namespace {

const std::string kName = "NAME\torig.nes\tbig.nes";
const std::string kSize = "SIZE\t10\t18";
const std::string kOriginal(16, '\x5A');
const std::string kFailed = "Ended due to Error\n";

struct Report {
    const char* What;
    const char* Option;
    std::string Script;
    std::string Out;
    std::string Err;
    int ExitStatus = 1;
    std::optional<std::string> Original = kOriginal; // nothing: no original at all
};

// Each row a kind of box on its way to standard error, and the statuses before it on standard
// output; which failure each script meets is the run's own business.
const Report kReports[] = {
    {"start address not hex", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0", "FILL\txyz\t00"}),
     "No Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n" + kFailed,
     "Error #0 -> \n\nStart Write address 'xyz' on 5: \nxyz\n is not hex.\n\n"},
    {"original of neither length", "--remove-header",
     ScriptOf({kName, "SIZE\t20\t20", "HEADER\t10", "COPY\t0\t0"}), kFailed,
     "Error #0 -> \n\nOriginal ROM is not 32 bytes or 48 bytes\n\n"},
    {"header wanted but none defined", "--add-header",
     ScriptOf({kName, kSize, "HEADER\t0", "COPY\t0\t0"}), kFailed,
     "Error #0 -> \n\nExpansion file has no header defined for this type of ROM,\nso you "
     "can't add a header.\nPress the 'Expand and Ignore/Remove Header' button instead.\n\n"},
    {"header wanted, no bytes listed", "--add-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0"}), "Writing Header\n" + kFailed,
     "Error #0 -> \n\nHeader byte entry  is not hex\n\n"},
    // The message ends in CR LF: its break must still be written before the empty line.
    {"empty line after the last directive", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0", "FILL\t10\tAA", ""}),
     "No Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n"
     "Copy, Fill, Replace line #6\n" +
         kFailed,
     "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 6: \n\n\n"},
    // The whole line is quoted, TABs and all.
    {"copy source past the original", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t11"}),
     "No Header\nCopy, Fill, Replace line #4\n" + kFailed,
     "Error #0 -> \n\nCopy byte 11 on line COPY\t0\t11 is comes after end of original "
     "file.\n\n"},
    // The digest shown is that of the original without its header: sixteen "Z" bytes, whose
    // digest md5sum gives as da3e47efef640970730e56d1aa4aa9c1. The run goes on and succeeds.
    {"checksum mismatch", "--remove-header",
     ScriptOf({kName, "SIZE\t10\t10\tWRONG", "HEADER\t4", "COPY\t0\t0"}),
     "MD5: DA3E47EFEF640970730E56D1AA4AA9C1\nNo Header\nCopy, Fill, Replace line #4\n"
     "Copy, Fill, Replace line #5\nExpansion Done\n",
     "Error #0 -> \n\nOriginal ROM's MD5 checksum does not match the checksum in the patch.\n"
     "Your patched ROM will not match the ROM of the maker of the patch.\n"
     "Click OK to expand the ROM anyway.\n\n",
     0, "HDR!" + kOriginal},
    // Script text is shown as UTF-8 whatever its encoding: valid UTF-8 as it is, anything
    // else read as Windows-1252, in a quoted line and in a file's name alike.
    {"valid UTF-8 stays", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "\xE2\x82\xAC\t0\t0"}),
     "No Header\nCopy, Fill, Replace line #4\n" + kFailed,
     "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 4: \n\xE2\x82\xAC\n\n"},
    {"Windows-1252 in a line", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "\xC4pfel\t0\t0"}),
     "No Header\nCopy, Fill, Replace line #4\n" + kFailed,
     "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 4: \n\xC3\x84pfel\n\n"},
    {"Windows-1252 in a file name", "--remove-header",
     ScriptOf({"NAME\t\xC4rger.nes\tbig.nes", kSize, "HEADER\t4", "COPY\t0\t0"}), kFailed,
     "Error #53 -> File not found\n\nCan't open Original ROM file: '\xC3\x84rger.nes'\n\n", 1,
     std::nullopt},
};

TEST(CliReport, StatusTextsGoToStdoutAndBoxesToStderrExactly) {
    for (const Report& c : kReports) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt", c.Script);
        if (c.Original) {
            folder.WriteInGame("orig.nes", *c.Original);
        }

        const ProgramResult r = RunCli({c.Option, "--dir", folder.Game});

        EXPECT_EQ(r.ExitStatus, c.ExitStatus);
        EXPECT_EQ(r.Out, c.Out);
        EXPECT_EQ(r.Err, c.Err);
        // The one run that succeeds copies the original's image whole.
        EXPECT_EQ(folder.Root.Read("game/big.nes"),
                  c.ExitStatus == 0 ? std::optional<std::string>(kOriginal) : std::nullopt);
    }
}

} // namespace
} // namespace kelbrin::test
