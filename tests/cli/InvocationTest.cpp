#include <gtest/gtest.h>

#include "ChecksummedBytes.h"
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

using namespace std::string_literals;

const std::string kOriginal(16, '\x5A');
// What the script expands kOriginal to, and the header it writes before it when asked.
const std::string kImage = kOriginal + std::string(8, '\xAA');
const std::string kHeader = "NE\0\0"s;
// Two bytes from offset 1 of the original; the same record cut short.
const std::string kIps = "PATCH\0\0\x01\0\x02xyEOF"s;
const std::string kCutShortIps = "PATCH\0\0\x01\0\x05xy"s;
const std::string kPatched = "ZxyZZZZZZZZZZZZZ";

// A BPS patch that makes "ABCD" of the original in one TargetRead, with the author's metadata.
std::string BpsPatch() {
    std::string patch = "BPS1\x90\x84\x8A"s + "Ana's hack" + "\x8D" + "ABCD" +
                        LittleEndian(Crc32Of(kOriginal)) + LittleEndian(Crc32Of("ABCD"));
    return patch + LittleEndian(Crc32Of(patch));
}

// Patches, Refused: stdout / stderr must hold Out, and only Patches writes: Written.
// StreamsPatch: stdout is the patch Holds, stderr starts with Out.
// ExpandsAndPatches: stdout must end with Out, and the run writes the expanded ROM and Written.
enum class Outcome {
    Expands,
    Informs,
    UsageError,
    Patches,
    Refused,
    StreamsPatch,
    ExpandsAndPatches
};

struct Invocation {
    const char* What;
    std::vector<std::string> Args; // "{GAME}" stands for the game folder's absolute path
    bool InGame;                   // working directory: the game folder, else its parent
    Outcome Result;
    std::string Out; // Expands: exact stdout; Informs: a text stdout must hold; UsageError: a
                     // text stderr must hold
    const char* Written = ""; // Patches: the file in the game folder that holds Holds
    std::string Holds = kPatched;
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
    {"--apply: the patch's name with the ROM's extension, beside the patch",
     {"--apply", "game/hack.ips", "game/orig.nes"},
     false,
     Outcome::Patches,
     "Patched ROM written: game/hack.nes (CRC32 " + Crc32::Text(Crc32Of(kPatched)) + ")\n",
     "hack.nes"},
    {"--apply --output, relative to the working directory",
     {"--apply", "{GAME}/hack.ips", "orig.nes", "--output", "patched.bin"},
     true,
     Outcome::Patches,
     "Patched ROM written: patched.bin",
     "patched.bin"},
    {"--apply replaces an existing file with --force",
     {"--apply", "hack.ips", "orig.nes", "--output", "Kelbrin.txt", "--force"},
     true,
     Outcome::Patches,
     "Patched ROM written: Kelbrin.txt",
     "Kelbrin.txt"},
    {"--apply refuses an existing file without --force",
     {"--apply", "hack.ips", "orig.nes", "--output", "Kelbrin.txt"},
     true,
     Outcome::Refused,
     "Error #58 -> the file exists already; --force replaces it\n\nCan't save the patched ROM: "
     "'Kelbrin.txt'\n\n"},
    {"--apply never writes over the ROM, not even with --force",
     {"--apply", "hack.ips", "orig.nes", "--output", "./orig.nes", "--force"},
     true,
     Outcome::Refused,
     "Error #70 -> it would replace 'orig.nes'"},
    {"--apply of a damaged patch writes nothing",
     {"--apply", "cut.ips", "orig.nes"},
     true,
     Outcome::Refused,
     "Error #602 -> The IPS patch 'cut.ips' is cut short"},
    {"--apply needs the patch and the ROM",
     {"--apply", "hack.ips"},
     true,
     Outcome::UsageError,
     "--apply needs the PATCH and the ROM"},
    {"--output belongs to --apply and --make-script",
     {"--patch-info", "hack.ips", "--output", "x"},
     true,
     Outcome::UsageError,
     "unknown argument '--output'"},
    {"--patch: the patched ROM beside the expanded one",
     {"--remove-header", "--patch", "hack.ips"},
     true,
     Outcome::ExpandsAndPatches,
     "Expansion Done\nPatched ROM written: hack.nes (CRC32 ",
     "hack.nes"},
    {"--patch relative to the working directory, with --dir",
     {"--add-header", "--dir", "game", "--patch", "game/hack.ips"},
     false,
     Outcome::ExpandsAndPatches,
     "Patched ROM written: hack.nes (CRC32 ",
     "hack.nes"},
    {"--output names the patched ROM of a run",
     {"--remove-header", "--patch", "hack.ips", "--output", "patched.bin"},
     true,
     Outcome::ExpandsAndPatches,
     "Patched ROM written: patched.bin (CRC32 ",
     "patched.bin"},
    {"--output without --patch belongs to no run",
     {"--remove-header", "--output", "x"},
     true,
     Outcome::UsageError,
     "unknown argument '--output'"},
    {"--patch belongs to a run",
     {"--patch", "hack.ips"},
     true,
     Outcome::UsageError,
     "unknown argument '--patch'"},
    {"--patch with an empty value",
     {"--add-header", "--patch="},
     true,
     Outcome::UsageError,
     "--patch needs a patch file"},
    {"--original with --info",
     {"--info", "--original", "orig.nes"},
     true,
     Outcome::Informs,
     "Original: orig.nes\n"},
    {"--original belongs to the runs and the looks at the folder",
     {"--apply", "hack.ips", "orig.nes", "--original", "orig.nes"},
     true,
     Outcome::UsageError,
     "unknown argument '--original'"},
    {"--patch-info of a BPS",
     {"--patch-info", "hack.bps"},
     true,
     Outcome::Informs,
     "Format: BPS\nSource size: 16 bytes (0x10)\nTarget size: 4 bytes (0x4)\nSource CRC32: " +
         Crc32::Text(Crc32Of(kOriginal)) + "\nTarget CRC32: " + Crc32::Text(Crc32Of("ABCD")) +
         "\nPatch CRC32: " + Crc32::Text(Crc32Of(BpsPatch().substr(0, BpsPatch().size() - 4))) +
         "\nActions: SourceRead 0, TargetRead 1, SourceCopy 0, TargetCopy 0\nMetadata: Ana's "
         "hack\n"},
    {"--make-patch: the target's name with the format's extension, beside the target",
     {"--make-patch", "game/orig.nes", "game/new.nes", "--ips"},
     false,
     Outcome::Patches,
     "Patch written: game/new.ips (15 bytes)\n",
     "new.ips",
     kIps},
    {"--make-patch --output -: the patch on stdout, the report on stderr",
     {"--make-patch", "orig.nes", "new.nes", "--ips", "--output", "-"},
     true,
     Outcome::StreamsPatch,
     "Patch written: standard output (15 bytes)\n",
     "",
     kIps},
    {"--make-patch refuses an existing file without --force",
     {"--make-patch", "orig.nes", "new.nes", "--output", "hack.bps"},
     true,
     Outcome::Refused,
     "Error #58 -> the file exists already; --force replaces it\n\nCan't save the patch: "
     "'hack.bps'\n\n"},
    {"--make-patch never writes over the target, not even with --force",
     {"--make-patch", "orig.nes", "new.nes", "--output", "./new.nes", "--force"},
     true,
     Outcome::Refused,
     "Error #70 -> it would replace 'new.nes'"},
    {"--make-patch needs the source and the target",
     {"--make-patch", "orig.nes"},
     true,
     Outcome::UsageError,
     "--make-patch needs the SOURCE and the TARGET"},
    {"one patch format at a time",
     {"--make-patch", "orig.nes", "new.nes", "--ips", "--ups"},
     true,
     Outcome::UsageError,
     "choose one of --bps, --ips and --ups"},
    {"--metadata goes into a BPS patch only",
     {"--make-patch", "orig.nes", "new.nes", "--ups", "--metadata", "by me"},
     true,
     Outcome::UsageError,
     "--metadata goes into a BPS patch only"},
    {"a format belongs to --make-patch",
     {"--apply", "hack.ips", "orig.nes", "--bps"},
     true,
     Outcome::UsageError,
     "unknown argument '--bps'"},
};

TEST(CliInvocation, ArgumentsDecideRunExitStatusAndStreams) {
    for (const Invocation& c : kInvocations) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt", kScript);
        folder.WriteInGame("orig.nes", kOriginal);
        folder.WriteInGame("hack.ips", kIps);
        folder.WriteInGame("cut.ips", kCutShortIps);
        folder.WriteInGame("hack.bps", BpsPatch());
        folder.WriteInGame("new.nes", kPatched);
        std::map<std::string, std::string> files = FilesIn(folder.Game);
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
        case Outcome::Patches:
            EXPECT_EQ(r.ExitStatus, 0) << r.Err;
            EXPECT_TRUE(r.Out.starts_with(c.Out)) << r.Out;
            EXPECT_EQ(r.Err, "");
            files[c.Written] = c.Holds;
            break;
        case Outcome::StreamsPatch:
            EXPECT_EQ(r.ExitStatus, 0) << r.Err;
            EXPECT_EQ(r.Out, c.Holds);
            EXPECT_EQ(r.Err, c.Out);
            break;
        case Outcome::ExpandsAndPatches:
            EXPECT_EQ(r.ExitStatus, 0) << r.Err;
            EXPECT_NE(r.Out.find(c.Out), std::string::npos) << r.Out;
            EXPECT_EQ(r.Err, "");
            files["big.nes"] = folder.Root.Read("game/big.nes").value_or("");
            files[c.Written] = folder.Root.Read("game/"s + c.Written).value_or("<missing>");
            break;
        case Outcome::Refused:
            EXPECT_EQ(r.ExitStatus, 1);
            EXPECT_EQ(r.Out, "");
            EXPECT_TRUE(r.Err.starts_with(c.Out)) << r.Err;
            EXPECT_TRUE(r.Err.ends_with("\n\n")) << r.Err;
            break;
        }
        // Only a run and the patch commands touch the game folder: a run writes the expanded
        // ROM, with the script's header when it adds one.
        if (c.Result == Outcome::Expands) {
            files["big.nes"] = (c.Out == kAdded ? kHeader : "") + kImage;
        }
        EXPECT_EQ(FilesIn(folder.Game), files);
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

// The original under another name: the box as ever, then the file that fits the script.
TEST(CliInvocation, MissingOriginalSuggestsTheFileThatFits) {
    GameFolder folder;
    folder.WriteInGame("Kelbrin.txt", kScript);
    folder.WriteInGame("Zephyr (Rev 1).nes", kOriginal);
    const ProgramResult r = RunCli({"--add-header"}, folder.Game);

    EXPECT_EQ(r.ExitStatus, 1);
    EXPECT_EQ(r.Err, "Error #53 -> File not found\n\nCan't open Original ROM file: "
                     "'orig.nes'\n\nkelbrin-cli: 'Zephyr (Rev 1).nes' in the folder fits the "
                     "script: to expand it, run again with --original \"Zephyr (Rev 1).nes\"\n");
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
