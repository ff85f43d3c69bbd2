// kelbrin-cli --make-script: where the script goes, what is never overwritten, and what a
// failure leaves behind (one line on standard error, and no file at all).

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

#include "CliHarness.h"
#include "RunFolder.h"

namespace kelbrin::test {
namespace {

const std::string kOriginal = Image(0x400);
const std::string kExpanded = kOriginal + std::string(0x400, '\xFF');
constexpr const char* kOld = "an author's own script";

struct Call {
    const char* What;
    std::vector<std::string> Args; // after --make-script
    bool ScriptThere;              // a Kelbrin.txt beside the original before the call
    int Exit;
    std::string Out;    // what standard output starts with
    std::string Err;    // what standard error holds
    std::string Script; // the file written: "" none, else its name
};

const Call kCalls[] = {
    {"Kelbrin.txt beside the original",
     {"orig.nes", "big.nes"},
     false,
     0,
     std::string("Script written: .") + TempFolder::kSeparator +
         "Kelbrin.txt\nCOPY lines: 1\nFILL lines: 1\nREPLACE lines: 0\n"
         "Directive lines: 2 of at most 32763\n"
         "image: 800 bytes, 1,024 copied in 1 row, 1,024 filled in 1 row, 0 replaced in 0 rows\n",
     "",
     "Kelbrin.txt"},
    {"an existing script is kept",
     {"orig.nes", "big.nes"},
     true,
     1,
     "",
     "exists already (error 58); --force replaces it",
     ""},
    {"--force replaces it",
     {"orig.nes", "big.nes", "--force"},
     true,
     0,
     "Script written:",
     "",
     "Kelbrin.txt"},
    {"--output names the file",
     {"orig.nes", "big.nes", "--output=other.txt"},
     true,
     0,
     "Script written: other.txt",
     "",
     "other.txt"},
    {"- is standard output, the report goes to standard error",
     {"--output", "-", "orig.nes", "big.nes"},
     false,
     0,
     "NAME\torig.nes\tbig.nes\r\nSIZE\t400\t800\t",
     "Directive lines: 2 of at most 32763",
     ""},
    {"a header larger than the file",
     {"orig.nes", "big.nes", "--original-header", "401"},
     false,
     1,
     "",
     "'orig.nes' is 1024 bytes, fewer than its header of 1025 bytes (error 5)",
     ""},
    {"a missing original",
     {"none.nes", "big.nes"},
     false,
     1,
     "",
     "cannot read the original 'none.nes': File not found (error 53)",
     ""},
    {"a missing expanded file",
     {"orig.nes", "none.nes"},
     false,
     1,
     "",
     "cannot read the expanded file 'none.nes': File not found (error 53)",
     ""},
    {"not even --force writes over a ROM",
     {"orig.nes", "big.nes", "--output", "orig.nes", "--force"},
     false,
     1,
     "",
     "would replace 'orig.nes' (error 70)",
     ""},
    {"nor over the expanded file it is made from",
     {"orig.nes", "big.nes", "--output", "big.nes", "--force"},
     false,
     1,
     "",
     "would replace 'big.nes' (error 70)",
     ""},
    {"two header sizes",
     {"orig.nes", "big.nes", "--original-header", "10", "--expanded-header", "200"},
     false,
     2,
     "",
     "differ",
     ""},
    {"a header size that is not hex",
     {"orig.nes", "big.nes", "--expanded-header", "0x10"},
     false,
     2,
     "",
     "needs a size in hex",
     ""},
    {"the expanded file left out", {"orig.nes"}, false, 2, "", "ORIGINAL and the EXPANDED", ""},
    {"after --, a name that looks like an option is a file's",
     {"--", "--force", "big.nes"},
     false,
     1,
     "",
     "cannot read the original '--force': File not found (error 53)",
     ""},
    {"a run's option beside it",
     {"orig.nes", "big.nes", "--add-header"},
     false,
     2,
     "",
     "unknown argument '--add-header'",
     ""},
};

TEST(CliMakeScript, OptionsDecideWhereTheScriptGoesAndFailuresLeaveNothing) {
    for (const Call& call : kCalls) {
        SCOPED_TRACE(call.What);
        TempFolder folder;
        folder.Write("orig.nes", kOriginal);
        folder.Write("big.nes", kExpanded);
        if (call.ScriptThere) {
            folder.Write("Kelbrin.txt", kOld);
        }
        std::vector<std::string> args = {"--make-script"};
        args.insert(args.end(), call.Args.begin(), call.Args.end());

        const ProgramResult r = RunCli(args, folder.Path());

        EXPECT_EQ(r.ExitStatus, call.Exit);
        EXPECT_TRUE(r.Out.starts_with(call.Out)) << r.Out.substr(0, 200);
        EXPECT_NE(r.Err.find(call.Err), std::string::npos) << r.Err;
        if (call.Exit != 0) {
            EXPECT_TRUE(r.Err.starts_with("kelbrin-cli: ")) << r.Err;
        }
        if (call.Exit == 1) {
            EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
        }
        // The inputs and an author's script stay as they were, the one file written is a
        // script, and nothing half-written stays behind.
        std::map<std::string, std::string> expected = {{"orig.nes", kOriginal},
                                                       {"big.nes", kExpanded}};
        if (call.ScriptThere) {
            expected["Kelbrin.txt"] = kOld;
        }
        std::map<std::string, std::string> files = FilesIn(folder.Path());
        if (!call.Script.empty()) {
            EXPECT_TRUE(files[call.Script].starts_with("NAME\torig.nes")) << call.Script;
            expected[call.Script] = files[call.Script];
        }
        EXPECT_EQ(files, expected);
    }
}

TEST(CliMakeScript, TheWrittenScriptRebuildsTheExpandedFileByTheRealProgram) {
    TempFolder folder;
    const std::string header = "NES\x1A" + std::string(12, '\0');
    std::string expanded = header + kExpanded;
    expanded[0x10 + 0x123] = '\x42';
    folder.Write("orig.nes", header + kOriginal);
    folder.Write("big.nes", expanded);

    const ProgramResult made = RunCli({"--make-script", "orig.nes", "big.nes", "--original-header",
                                       "10", "--expanded-header", "10"},
                                      folder.Path());
    ASSERT_EQ(made.ExitStatus, 0) << made.Err;
    EXPECT_NE(made.Out.find("REPLACE lines: 1\n"), std::string::npos) << made.Out;
    std::filesystem::remove(folder.PathOf("big.nes"));
    const ProgramResult run = RunCli({"--add-header"}, folder.Path());

    EXPECT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_EQ(run.Out.find("MD5:"), std::string::npos) << run.Out;
    EXPECT_EQ(folder.Read("big.nes"), expanded);
}

} // namespace
} // namespace kelbrin::test
