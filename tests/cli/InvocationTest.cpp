#include <gtest/gtest.h>

#include "CliHarness.h"

namespace kelbrin::test {
namespace {

// Sixteen original bytes, no header in the original; the image grows to 18 hex bytes.
const std::string kScript = ScriptOf(
    {"NAME\torig.nes\tbig.nes", "SIZE\t10\t18", "HEADER\t4\t4E\t45", "COPY\t0\t0", "FILL\t10\tAA"});
const std::string kDirectives = "Copy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n"
                                "Copy, Fill, Replace line #6\nExpansion Done\n";
const std::string kAdded = "Writing Header\n" + kDirectives;
const std::string kRemoved = "No Header\n" + kDirectives;

enum class Outcome { Expands, Informs, UsageError };

struct Invocation {
    const char* What;
    std::vector<std::string> Args; // "{GAME}" stands for the game folder's absolute path
    bool InGame;                   // working directory: the game folder, else its parent
    Outcome Result;
    std::string Out; // Expands: exact stdout; Informs: a text stdout must hold; UsageError: a
                     // text stderr must hold
};

const Invocation kInvocations[] = {
    {"add header, --dir DIR", {"--add-header", "--dir", "{GAME}"}, false, Outcome::Expands, kAdded},
    {"remove header, --dir=DIR",
     {"--remove-header", "--dir={GAME}"},
     false,
     Outcome::Expands,
     kRemoved},
    {"relative --dir before the option",
     {"--dir", "game", "--remove-header"},
     false,
     Outcome::Expands,
     kRemoved},
    {"working directory is the default", {"--add-header"}, true, Outcome::Expands, kAdded},
    {"-- ends the options",
     {"--remove-header", "--dir={GAME}", "--"},
     false,
     Outcome::Expands,
     kRemoved},
    {"--help", {"--help"}, true, Outcome::Informs, "--remove-header"},
    {"-h", {"-h"}, true, Outcome::Informs, "--add-header"},
    {"--version", {"--version"}, true, Outcome::Informs, "kelbrin-cli"},
    {"neither header option", {"--dir", "{GAME}"}, true, Outcome::UsageError, ""},
    {"no arguments at all", {}, true, Outcome::UsageError, ""},
    {"both header options", {"--add-header", "--remove-header"}, true, Outcome::UsageError, ""},
    {"unknown argument", {"--add-header", "--frobnicate"}, true, Outcome::UsageError, ""},
    {"single-dash spelling is unknown", {"-add-header"}, true, Outcome::UsageError, ""},
    {"an option that takes no value given one",
     {"--add-header="},
     true,
     Outcome::UsageError,
     "unknown argument '--add-header='"},
    {"--dir without a value", {"--add-header", "--dir"}, true, Outcome::UsageError, ""},
    {"--dir with an empty value", {"--add-header", "--dir="}, true, Outcome::UsageError, ""},
    {"an empty --dir= takes no value from the next argument",
     {"--dir=", "game", "--remove-header"},
     false,
     Outcome::UsageError,
     "--dir needs a folder"},
    {"--dir twice",
     {"--add-header", "--dir", "{GAME}", "--dir={GAME}"},
     true,
     Outcome::UsageError,
     "--dir given more than once"},
    {"any option twice, refused the same way",
     {"--add-header", "--dir", "{GAME}", "--add-header"},
     false,
     Outcome::UsageError,
     "--add-header given more than once"},
    {"--make-script's options too",
     {"--make-script", "a.nes", "b.nes", "--force", "--force"},
     true,
     Outcome::UsageError,
     "--force given more than once"},
    {"an option after -- is an operand",
     {"--", "--add-header"},
     true,
     Outcome::UsageError,
     "unknown argument '--add-header'"},
};

TEST(CliInvocation, ArgumentsDecideRunExitStatusAndStreams) {
    for (const Invocation& c : kInvocations) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt", kScript);
        folder.WriteInGame("orig.nes", std::string(16, '\x5A'));
        std::vector<std::string> args = c.Args;
        for (std::string& arg : args) {
            if (const auto at = arg.find("{GAME}"); at != std::string::npos) {
                arg.replace(at, 6, folder.Game);
            }
        }

        const ProgramResult r = RunCli(args, c.InGame ? folder.Game : folder.Root.Path());

        switch (c.Result) {
        case Outcome::Expands:
            EXPECT_EQ(r.ExitStatus, 0);
            EXPECT_EQ(r.Out, c.Out);
            EXPECT_EQ(r.Err, "");
            break;
        case Outcome::Informs:
            EXPECT_EQ(r.ExitStatus, 0);
            EXPECT_NE(r.Out.find(c.Out), std::string::npos) << r.Out;
            EXPECT_TRUE(r.Out.ends_with("\n"));
            EXPECT_EQ(r.Err, "");
            break;
        case Outcome::UsageError:
            EXPECT_EQ(r.ExitStatus, 2);
            EXPECT_EQ(r.Out, "");
            EXPECT_TRUE(r.Err.starts_with("kelbrin-cli: ")) << r.Err;
            EXPECT_NE(r.Err.find("--add-header | --remove-header"), std::string::npos) << r.Err;
            EXPECT_NE(r.Err.find(c.Out), std::string::npos) << r.Err;
            break;
        }
        // Only a real run may touch the game folder.
        EXPECT_EQ(folder.Root.Exists("game/big.nes"), c.Result == Outcome::Expands);
    }
}

// A folder of any name reaches the run whole, on Windows too, where the system hands the
// arguments over in UTF-16.
TEST(CliInvocation, DirOfAnyNameIsWorkedIn) {
    for (const std::string name : {"\xCE\xA9mega", "ROM \xE6\x97\xA5\xE6\x9C\xAC"}) {
        SCOPED_TRACE(name);
        TempFolder root;
        const std::string folder = root.MakeFolder(name);
        root.Write(name + TempFolder::kSeparator + "Kelbrin.txt", kScript);
        root.Write(name + TempFolder::kSeparator + "orig.nes", std::string(16, '\x5A'));
        const ProgramResult r = RunCli({"--remove-header", "--dir", folder});
        EXPECT_EQ(r.ExitStatus, 0) << r.Err;
        EXPECT_EQ(r.Out, kRemoved);
        EXPECT_TRUE(root.Exists(name + TempFolder::kSeparator + "big.nes"));
    }
}

TEST(CliInvocation, MissingDirIsReportedByTheRunNotAsUsage) {
    TempFolder root;
    const ProgramResult r =
        RunCli({"--remove-header", "--dir", root.PathOf("no-such-folder")}, root.Path());

    EXPECT_EQ(r.ExitStatus, 1);
    EXPECT_EQ(r.Out, "Ended due to Error\n");
    EXPECT_EQ(r.Err, "Error #76 -> Path not found\n\nCan't open 'Kelbrin.txt' file\n\n");
    EXPECT_FALSE(root.Exists("no-such-folder"));
}

} // namespace
} // namespace kelbrin::test
