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
    std::optional<std::string> Script; // nothing: no Kelbrin.txt at all
    bool HasOriginal;
    std::string Out;
    std::string Err;
};

const Report kReports[] = {
    {"start address not hex", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0", "FILL\txyz\t00"}), true,
     "No Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n" + kFailed,
     "Error #0 -> \n\nStart Write address 'xyz' on 5: \nxyz\n is not hex.\n\n"},
    {"no script", "--remove-header", std::nullopt, true, kFailed,
     "Error #53 -> File not found\n\nCan't open 'Kelbrin.txt' file\n\n"},
    {"no original", "--add-header", ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0"}), false,
     kFailed, "Error #53 -> File not found\n\nCan't open Original ROM file: 'orig.nes'\n\n"},
    {"script ends after SIZE", "--remove-header", ScriptOf({kName, kSize}), true, kFailed,
     "Error #62 -> Input past end of file\n\nIssue with HEADER line\n\n"},
    {"original of neither length", "--remove-header",
     ScriptOf({kName, "SIZE\t20\t20", "HEADER\t10", "COPY\t0\t0"}), true, kFailed,
     "Error #0 -> \n\nOriginal ROM is not 32 bytes or 48 bytes\n\n"},
    {"header wanted but none defined", "--add-header",
     ScriptOf({kName, kSize, "HEADER\t0", "COPY\t0\t0"}), true, kFailed,
     "Error #0 -> \n\nExpansion file has no header defined for this type of ROM,\nso you "
     "can't add a header.\nPress the 'Expand and Ignore/Remove Header' button instead.\n\n"},
    {"header wanted, no bytes listed", "--add-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0"}), true, "Writing Header\n" + kFailed,
     "Error #0 -> \n\nHeader byte entry  is not hex\n\n"},
    // The message ends in CR LF: its break must still be written before the empty line.
    {"empty line after the last directive", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t0", "FILL\t10\tAA", ""}), true,
     "No Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n"
     "Copy, Fill, Replace line #6\n" +
         kFailed,
     "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line 6: \n\n\n"},
    // The whole line is quoted, TABs and all.
    {"copy source past the original", "--remove-header",
     ScriptOf({kName, kSize, "HEADER\t4", "COPY\t0\t11"}), true,
     "No Header\nCopy, Fill, Replace line #4\n" + kFailed,
     "Error #0 -> \n\nCopy byte 11 on line COPY\t0\t11 is comes after end of original "
     "file.\n\n"},
};

TEST(CliReport, StatusTextsGoToStdoutAndBoxesToStderrExactly) {
    for (const Report& c : kReports) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        if (c.Script) {
            folder.WriteInGame("Kelbrin.txt", *c.Script);
        }
        if (c.HasOriginal) {
            folder.WriteInGame("orig.nes", kOriginal);
        }

        const ProgramResult r = RunCli({c.Option, "--dir", folder.Game});

        EXPECT_EQ(r.ExitStatus, 1);
        EXPECT_EQ(r.Out, c.Out);
        EXPECT_EQ(r.Err, c.Err);
    }
}

// The digest shown on a mismatch is that of the original without its header: sixteen "Z"
// bytes, whose digest md5sum gives as da3e47efef640970730e56d1aa4aa9c1.
TEST(CliReport, ChecksumMismatchPrintsTheDigestAndStillExpands) {
    GameFolder folder;
    folder.WriteInGame("Kelbrin.txt",
                       ScriptOf({kName, "SIZE\t10\t10\tWRONG", "HEADER\t4", "COPY\t0\t0"}));
    folder.WriteInGame("orig.nes", "HDR!" + kOriginal);
    const std::string digest = "DA3E47EFEF640970730E56D1AA4AA9C1";

    const ProgramResult r = RunCli({"--remove-header", "--dir", folder.Game});

    EXPECT_EQ(r.ExitStatus, 0);
    EXPECT_EQ(r.Out, "MD5: " + digest +
                         "\nNo Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line "
                         "#5\nExpansion Done\n");
    EXPECT_EQ(r.Err, "Error #0 -> \n\nOriginal ROM's MD5 checksum does not match the checksum "
                     "in the patch.\nYour patched ROM will not match the ROM of the maker of the "
                     "patch.\nClick OK to expand the ROM anyway.\n\n");
    EXPECT_EQ(folder.Root.Read("game/big.nes"), kOriginal);
}

std::string MissingRowNameBox(int line, const std::string& shown) {
    return "Error #0 -> \n\nCopy, Fill, or Replace missing on start of line " +
           std::to_string(line) + ": \n" + shown + "\n\n";
}

TEST(CliReport, ScriptTextIsShownAsUtf8WhateverItsEncoding) {
    const struct {
        const char* What;
        std::string RowName;
        std::string Shown;
    } cases[] = {
        {"valid UTF-8 stays", "\xC3\x84pfel", "\xC3\x84pfel"},
        {"valid UTF-8 euro stays", "\xE2\x82\xAC", "\xE2\x82\xAC"},
        {"Windows-1252 A umlaut", "\xC4pfel", "\xC3\x84pfel"},
        {"Windows-1252 u umlaut and sharp s", "Gr\xFC\xDF", "Gr\xC3\xBC\xC3\x9F"},
        {"Windows-1252 euro", "\x80", "\xE2\x82\xAC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt",
                           ScriptOf({kName, kSize, "HEADER\t4", c.RowName + "\t0\t0"}));
        folder.WriteInGame("orig.nes", kOriginal);

        const ProgramResult r = RunCli({"--remove-header", "--dir", folder.Game});

        EXPECT_EQ(r.ExitStatus, 1);
        EXPECT_EQ(r.Err, MissingRowNameBox(4, c.Shown));
    }
}

TEST(CliReport, FileNameInWindows1252IsShownAsUtf8) {
    GameFolder folder;
    folder.WriteInGame("Kelbrin.txt",
                       ScriptOf({"NAME\t\xC4rger.nes\tbig.nes", kSize, "HEADER\t4", "COPY\t0\t0"}));

    const ProgramResult r = RunCli({"--remove-header", "--dir", folder.Game});

    EXPECT_EQ(r.ExitStatus, 1);
    EXPECT_EQ(r.Err, "Error #53 -> File not found\n\nCan't open Original ROM file: "
                     "'\xC3\x84rger.nes'\n\n");
}

// The overlay example: a header in the original that must be skipped, a header from the
// script in front, and REPLACE lines inside a copying and a filling range.
TEST(CliReport, AddHeaderRunWritesTheExpectedFileEndToEnd) {
    std::string original(16, '\xEE');
    for (int i = 0; i < 0x28; ++i) {
        original += static_cast<char>(0x40 + i);
    }
    GameFolder folder;
    folder.WriteInGame("orig.nes", original);
    folder.WriteInGame("Kelbrin.txt",
                       ScriptOf({kName, "SIZE\t28\t10", "HEADER\t10\t4E\t45\t53\t1A", "COPY\t0\t20",
                                 "REPLACE\t4\t11\t22", "FILL\t8\tFF", "REPLACE\tA\t77"}));

    const ProgramResult r = RunCli({"--add-header", "--dir", folder.Game});

    EXPECT_EQ(r.ExitStatus, 0);
    EXPECT_EQ(r.Out, "Writing Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n"
                     "Copy, Fill, Replace line #6\nCopy, Fill, Replace line #7\n"
                     "Copy, Fill, Replace line #8\nExpansion Done\n");
    EXPECT_EQ(r.Err, "");
    std::string header = "\x4E\x45\x53\x1A";
    header.resize(16, '\0');
    const std::string image = "\x60\x61\x62\x63\x11\x22\x66\x67\xFF\xFF\x77\xFF\xFF\xFF\xFF\xFF";
    EXPECT_EQ(folder.Root.Read("game/big.nes"), header + image);
    EXPECT_EQ(folder.Root.Read("game/orig.nes"), original);
}

} // namespace
} // namespace kelbrin::test
