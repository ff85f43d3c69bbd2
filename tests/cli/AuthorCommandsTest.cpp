// kelbrin-cli --check and --layout: the verdict of each button as its run would end, the notes,
// the expanded image's rows, their exit status, and nothing written in the folder.

#include <gtest/gtest.h>
#include <map>

#include "CliHarness.h"

namespace kelbrin::test {
namespace {

const std::string kName = "NAME\torig.nes\tbig.nes";
const std::string kDone = "Fit to ship: both buttons expand the ROM.\n\n"
                          "Expand and Add/Replace Header: Expansion Done\n"
                          "Expand and Ignore/Remove Header: Expansion Done\n";

struct CommandCase {
    const char* What;
    std::string Command;
    std::vector<std::string> Script;
    int ExitStatus;
    std::string Out;
};

TEST(CliAuthorCommands, ReportAsTheRunsWouldEndAndWriteNothing) {
    const CommandCase cases[] = {
        {"a sound script",
         "--check",
         {kName, "SIZE\t8\t10", "HEADER\t2\t4E", "COPY\t0\t0", "FILL\t8\tFF"},
         0,
         kDone},
        {"no header declared: Add/Replace refused, and fit to ship",
         "--check",
         {kName, "SIZE\t8\t10", "HEADER\t0", "COPY\t0\t0", "FILL\t8\t0"},
         0,
         "Fit to ship: this kind of ROM has no header, so players press Expand and "
         "Ignore/Remove Header, which expands the ROM, and Expand and Add/Replace Header tells "
         "them to.\n"
         "line 3: the header size is 0, so this kind of ROM has no header: 'Expand and "
         "Add/Replace Header' always ends in an error, and players use 'Expand and "
         "Ignore/Remove Header'\n\n"
         "Expand and Add/Replace Header: refused, as it should be for a ROM without a header\n"
         "Expand and Ignore/Remove Header: Expansion Done\n"},
        {"a start that goes back fails both runs",
         "--check",
         {kName, "SIZE\t8\t10", "HEADER\t2\t4E", "COPY\t0\t0", "FILL\t8\tFF", "FILL\t4\t0"},
         1,
         "Not fit to ship: both buttons end in an error.\n"
         "line 6: the start address 4 must be at least 8, the start of the FILL on line 5 "
         "(start addresses never go back)\n\n"
         "Both buttons: Ended due to Error\n"
         "Error #0 -> \n\nStart Write address '4' on 6: \n4\n is too small.\n"},
        {"the layout of a sound script",
         "--layout",
         {kName, "SIZE\t8\t10", "HEADER\t4\t4E\t45", "COPY\t0\t0", "REPLACE\t2\tAA\tBB",
          "FILL\t8\tFF"},
         0,
         "header: 4 bytes, 4E 45, then 2 \u00D7 00\n"
         "0-1 copy from 0\n"
         "2-3 replace AA BB\n"
         "4-7 copy from 4\n"
         "8-F fill FF\n"
         "image: 10 bytes, 6 copied in 2 rows, 8 filled in 1 row, 2 replaced in 1 row\n"},
        {"the layout up to a failing line",
         "--layout",
         {kName, "SIZE\t8\t10", "HEADER\t0", "COPY\t0\t0", "FILL\t4\tFF", "FILL\t2\t0"},
         1,
         "header: none\n"
         "0-3 copy from 0\n"
         "Ended due to Error\n"
         "Error #0 -> \n\nStart Write address '2' on 6: \n2\n is too small.\n"
         "image: 4 bytes, 4 copied in 1 row, 0 filled in 0 rows, 0 replaced in 0 rows\n"},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.What);
        TempFolder folder;
        folder.Write("Kelbrin.txt", ScriptOf(c.Script));
        folder.Write("orig.nes", "01234567");
        folder.Write("big.nes", "the player's patched ROM");
        const std::map<std::string, std::string> before = FilesIn(folder.Path());
        const ProgramResult result = RunCli({c.Command, "--dir", folder.Path()});
        EXPECT_EQ(result.ExitStatus, c.ExitStatus);
        EXPECT_EQ(result.Out, c.Out);
        EXPECT_EQ(result.Err, "");
        EXPECT_EQ(FilesIn(folder.Path()), before);
    }
}

// A look at the folder goes with no run and no other look.
TEST(CliAuthorCommands, StandAlone) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--check", "--add-header"},
          {"--layout", "--info"},
          {"--check", "--layout"},
          {"--info", "--add-header"}}) {
        const ProgramResult result = RunCli(args);
        EXPECT_EQ(result.ExitStatus, 2) << args.front() << " " << args.back();
    }
}

} // namespace
} // namespace kelbrin::test
