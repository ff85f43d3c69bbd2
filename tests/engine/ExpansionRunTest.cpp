// Whole runs: file failures and their contexts, the worked examples with and without a
// header, what the window is told and in which order, and the decided corner cases.

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "General_Routines.h"
#include "NoRoomOnTheDisk.h"
#include "RunFolder.h"

#ifdef _WIN32
#include <windows.h>

#include "WideText.h"
#endif

namespace kelbrin::test {
namespace {

using namespace std::string_literals;

struct FileFailureCase {
    const char* Name;
    std::optional<std::vector<std::string>> Lines; // none: no script at all
    std::string Box;
    std::string Expanded;
    std::string FolderInTheWay = {}; // a folder to make before the run
};

void PrintTo(const FileFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class FileFailure : public ::testing::TestWithParam<FileFailureCase> {};

// A rehearsal (the authors' check) meets each failure too, with the same box, and writes
// nothing.
TEST_P(FileFailure, ShowsNumberDescriptionAndContext) {
    const FileFailureCase& c = GetParam();
    RunFolder run;
    std::filesystem::create_directory(run.Folder.PathOf("sub"));
    run.OriginalAndOldExpanded();
    if (!c.FolderInTheWay.empty()) {
        std::filesystem::create_directory(run.Folder.PathOf(c.FolderInTheWay));
    }
    if (c.Lines) {
        run.Script(*c.Lines);
    }
    RecordingWindow rehearsed;
    NoImageOutput nowhere;
    Rehearse(HeaderChoice::IgnoreOrRemove, run.Folder.Path(), rehearsed,
             {nowhere, nullptr, {}, nullptr, ExpandedFileUse::Prove});
    EXPECT_EQ(rehearsed.Boxes, std::vector<std::string>{c.Box});
    EXPECT_EQ(run.File(), "OLD");
    run.Run(1);
    // Each fails before its first status: the window shows the box and the end alone.
    EXPECT_EQ(run.Window.Log, (std::vector<std::string>{"hide-md5", "box:Error:stop:" + c.Box,
                                                        "status:Ended due to Error"}));
    EXPECT_EQ(run.File(), c.Expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Run, FileFailure,
    ::testing::Values(
        FileFailureCase{"MissingScript", std::nullopt,
                        "Error #53 -> File not found\r\n\r\nCan't open 'Kelbrin.txt' file", "OLD"},
        FileFailureCase{"EmptyScript", std::vector<std::string>{},
                        "Error #62 -> Input past end of file\r\n\r\nCan't open 'Kelbrin.txt' file",
                        "OLD"},
        FileFailureCase{
            "MissingOriginalNamesOnlyItsFileName",
            std::vector<std::string>{"NAME\tsub\\gone.nes\tbig.nes", kSizeLine, kHeaderLine},
            "Error #53 -> File not found\r\n\r\nCan't open Original ROM file: 'gone.nes'", "OLD"},
        FileFailureCase{
            "EmptyOriginalNameIsTheDirectory",
            std::vector<std::string>{"NAME\t\tbig.nes", kSizeLine, kHeaderLine},
            "Error #75 -> Path/File access error\r\n\r\nCan't open Original ROM file: ''", "OLD"},
        FileFailureCase{
            "EmptyExpandedNameIsTheDirectory",
            std::vector<std::string>{"NAME\torig.nes\t", kSizeLine, kHeaderLine},
            "Error #75 -> Path/File access error\r\n\r\nCan't save to Expanded ROM file: ''",
            "OLD"},
        FileFailureCase{
            "MissingExpandedNameIsTheDirectory",
            std::vector<std::string>{"NAME\torig.nes", kSizeLine, kHeaderLine},
            "Error #75 -> Path/File access error\r\n\r\nCan't save to Expanded ROM file: ''",
            "OLD"},
        FileFailureCase{
            "ExpandedNameOfAFolder",
            std::vector<std::string>{"NAME\torig.nes\tsub", kSizeLine, kHeaderLine},
            "Error #75 -> Path/File access error\r\n\r\nCan't save to Expanded ROM file: 'sub'",
            "OLD"},
        FileFailureCase{
            "ExpandedInMissingFolder",
            std::vector<std::string>{"NAME\torig.nes\tnone\\big.nes", kSizeLine, kHeaderLine},
            "Error #76 -> Path not found\r\n\r\nCan't save to Expanded ROM file: 'big.nes'", "OLD"},
        // "sub" exists, so only the climb out of the folder is refused.
        FileFailureCase{
            "ExpandedNameClimbingOutOfTheFolder",
            std::vector<std::string>{"NAME\torig.nes\tsub\\..\\..\\big.nes", kSizeLine,
                                     kHeaderLine},
            "Error #75 -> Path/File access error\r\n\r\nCan't save to Expanded ROM file: 'big.nes'",
            "OLD"},
        // The expanded file is there and could be replaced: the box names what is in the way.
        FileFailureCase{"FolderByTheUnfinishedName",
                        std::vector<std::string>{kNameLine, kSizeLine, kHeaderLine},
                        "Error #75 -> Path/File access error\r\n\r\nCan't save to Expanded ROM "
                        "file: 'big.nes'\r\n\r\nFilename accessed -> big.nes.kelbrin-unfinished",
                        "OLD", "big.nes.kelbrin-unfinished"},
        FileFailureCase{"NoNameLine", std::vector<std::string>{"SIZE\t40\t8"},
                        RuleBox("'NAME' not found in script"), "OLD"},
        FileFailureCase{"OneLineScript", std::vector<std::string>{kNameLine},
                        "Error #62 -> Input past end of file\r\n\r\nIssue with SIZE line", "OLD"},
        FileFailureCase{"TwoLineScript", std::vector<std::string>{kNameLine, kSizeLine},
                        "Error #62 -> Input past end of file\r\n\r\nIssue with HEADER line",
                        "OLD"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The 16-byte worked example: COPY 0 20 / REPLACE 4 11 22 / FILL 8 FF / REPLACE A 77.
struct WorkedExampleCase {
    const char* Name;
    std::int16_t Index;
    bool OriginalHasHeader;
    std::string LineEnd;
};

void PrintTo(const WorkedExampleCase& c, std::ostream* os) {
    *os << c.Name;
}

class WorkedExample : public ::testing::TestWithParam<WorkedExampleCase> {};

TEST_P(WorkedExample, WritesTheImageAndReportsEachLine) {
    const WorkedExampleCase& c = GetParam();
    RunFolder run;
    run.Original((c.OriginalHasHeader ? ForeignHeader() : "") + Image(0x28));
    run.Script({kNameLine, "SIZE\t28\t10", kHeaderLine, "COPY\t0\t20", "REPLACE\t4\t11\t22",
                "FILL\t8\tFF", "REPLACE\tA\t77", ""},
               c.LineEnd);
    run.Run(c.Index);

    const std::string image = "\x20\x21\x22\x23\x11\x22\x26\x27\xFF\xFF\x77\xFF\xFF\xFF\xFF\xFF";
    EXPECT_EQ(run.File(), (c.Index == 0 ? ScriptHeader() : "") + image);
    std::vector<std::string> log = {"hide-md5",
                                    c.Index == 0 ? "status:Writing Header" : "status:No Header"};
    for (int line = 4; line <= 8; ++line) {
        log.push_back("status:Copy, Fill, Replace line #" + std::to_string(line));
        log.push_back("events");
    }
    log.push_back("status:Expansion Done");
    EXPECT_EQ(run.Window.Log, log);
    EXPECT_EQ(run.File("orig.nes"), (c.OriginalHasHeader ? ForeignHeader() : "") + Image(0x28));
}

INSTANTIATE_TEST_SUITE_P(
    Run, WorkedExample,
    ::testing::Values(WorkedExampleCase{"PlainOriginalWithoutHeader", 1, false, "\r\n"},
                      WorkedExampleCase{"HeaderedOriginalWithoutHeader", 1, true, "\r\n"},
                      WorkedExampleCase{"PlainOriginalAddingHeader", 0, false, "\r\n"},
                      WorkedExampleCase{"HeaderedOriginalReplacingHeader", 0, true, "\r\n"},
                      WorkedExampleCase{"LoneLineFeeds", 1, false, "\n"},
                      WorkedExampleCase{"LoneCarriageReturns", 0, true, "\r"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Run, ThreeCopiesOfOneOriginalMakeTheLargerImage) {
    for (const std::int16_t index : {std::int16_t{0}, std::int16_t{1}}) {
        SCOPED_TRACE(index);
        RunFolder run;
        const std::string original = Image(0xA000);
        // Only the run that replaces the header gets an original that carries one, so both
        // ways of finding image address 0 are exercised.
        run.Original(index == 0 ? ForeignHeader() + original : original);
        run.Script({"NAME\torig.nes\tbig.nes", "SIZE\tA000\t12000", kHeaderLine, "COPY\t0\t0",
                    "COPY\t4000\t0", "COPY\t8000\t0"});
        run.Run(index);
        run.ExpectSuccess();
        const std::string image =
            original.substr(0, 0x4000) + original.substr(0, 0x4000) + original;
        ASSERT_EQ(image.size(), 0x12000u);
        EXPECT_TRUE(run.File() == (index == 0 ? ScriptHeader() : "") + image);
    }
}

TEST(Run, BackslashedNamesReachTheSubFolder) {
    RunFolder run;
    std::filesystem::create_directory(run.Folder.PathOf("sub"));
    run.Folder.Write("sub/orig.nes", Image(0x40));
    run.Script({"NAME\tsub\\orig.nes\tsub\\game.nes", kSizeLine, kHeaderLine, kCopyLine});
    run.Run(1);
    run.ExpectSuccess();
    EXPECT_EQ(run.File("sub/game.nes"), Image(8));
}

// The backslash is a separator only in names from the script. The program folder is the
// system's own name for it: "x\y" is one folder on POSIX, not "x/y".
TEST(Run, ProgramFolderIsTakenExactlyAsItIsNamed) {
#ifdef _WIN32
    GTEST_SKIP() << "a backslash always separates folders on Windows";
#else
    RunFolder run;
    const std::vector<std::string> lines = {kNameLine, kSizeLine, kHeaderLine, kCopyLine};
    for (const std::string folder : {"x\\y", "x/y"}) {
        std::filesystem::create_directories(run.Folder.PathOf(folder));
        run.Folder.Write(folder + "/Kelbrin.txt", Join(lines, "\r\n"));
    }
    run.Folder.Write("x\\y/orig.nes", Image(0x40));
    run.Folder.Write("x/y/orig.nes", ForeignHeader() + Image(0x40));
    Expand(HeaderChoice::IgnoreOrRemove, run.Folder.PathOf("x\\y"), run.Window);
    run.ExpectSuccess();
    EXPECT_EQ(run.File("x\\y/big.nes"), Image(8));
    EXPECT_FALSE(run.Folder.Exists("x/y/big.nes"));
#endif
}

// An expanded name that is another spelling of a file the run reads, the original or the
// script, is refused, and neither file is emptied.
TEST(Run, ExpandedNameOfAFileTheRunReadsIsRefusedAndKeepsIt) {
    const std::string sameName = "Original and Expanded rom names are the same:";
    const std::string scriptOpen =
        "Error #55 -> File already open\r\n\r\nCan't save to Expanded ROM file: ";
    struct Case {
        std::string ExpandedName;
        std::string Box;
    };
    std::vector<Case> cases = {{"./orig.nes", RuleBox(sameName + "./orig.nes")},
                               {".\\orig.nes", RuleBox(sameName + "orig.nes")},
                               {"link.nes", RuleBox(sameName + "link.nes")},
                               {"Kelbrin.txt", scriptOpen + "'Kelbrin.txt'"},
                               {".\\Kelbrin.txt", scriptOpen + "'Kelbrin.txt'"},
                               {"./Kelbrin.txt", scriptOpen + "'./Kelbrin.txt'"}};
#ifdef _WIN32
    // Names ignore letter case there.
    cases.push_back({"ORIG.NES", RuleBox(sameName + "ORIG.NES")});
    cases.push_back({"KELBRIN.TXT", scriptOpen + "'KELBRIN.TXT'"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ExpandedName);
        RunFolder run;
        run.Original(Image(0x40));
#ifdef _WIN32
        std::filesystem::create_hard_link(run.Folder.PathOf("orig.nes"),
                                          run.Folder.PathOf("link.nes"));
#else
        std::filesystem::create_symlink("orig.nes", run.Folder.PathOf("link.nes"));
#endif
        const std::vector<std::string> lines = {"NAME\torig.nes\t" + c.ExpandedName, kSizeLine,
                                                kHeaderLine, kCopyLine};
        run.Script(lines);
        run.Run(1);
        run.ExpectFailure(c.Box);
        EXPECT_EQ(run.File("orig.nes"), Image(0x40));
        EXPECT_EQ(run.File("Kelbrin.txt"), Join(lines, "\r\n"));
    }
}

TEST(Run, LengthAboveFourGibibytesIsNotTakenForItsLowBits) {
    RunFolder run;
    run.Original("");
    std::error_code refused;
    std::filesystem::resize_file(run.Folder.PathOf("orig.nes"), (std::uintmax_t{1} << 32) + 5,
                                 refused);
    if (refused) {
        GTEST_SKIP() << "the file system refuses a sparse file of 4 GiB + 5 bytes";
    }
    run.Script({kNameLine, "SIZE\t5\t5", "HEADER\t0", kCopyLine});
    run.Run(1);
    run.ExpectFailure(RuleBox("Original ROM is not 5 bytes or 5 bytes"));
    EXPECT_FALSE(run.Folder.Exists("big.nes"));
}

TEST(Run, LineCounterRunsOutAfterLine32767) {
    struct Case {
        int DirectiveLines;
        std::string Box; // empty: the run succeeds
        std::string Expanded;
    };
    for (const Case& c :
         {Case{32763, "", "\xAA"},
          Case{32764, "Error #6 -> Overflow\r\n\r\nIssue with line # 32767", "<missing>"}}) {
        SCOPED_TRACE(c.DirectiveLines);
        RunFolder run;
        run.Original(Image(0x40));
        // Same start again and again: each FILL line's range is empty until the end.
        std::vector<std::string> lines(3 + c.DirectiveLines, "FILL\t0\tAA");
        lines[0] = kNameLine;
        lines[1] = "SIZE\t40\t1";
        lines[2] = "HEADER\t10";
        run.Script(lines);
        run.Run(1);
        const std::vector<std::string> statuses = run.Window.Statuses();
        ASSERT_GE(statuses.size(), 2u);
        EXPECT_EQ(statuses[statuses.size() - 2], "Copy, Fill, Replace line #32767");
        if (c.Box.empty()) {
            run.ExpectSuccess();
        } else {
            run.ExpectFailure(c.Box);
        }
        EXPECT_EQ(run.File(), c.Expanded);
    }
}

// The expanded file must stay as it was: nothing may have emptied it.
TEST(Run, ReadOnlyExpandedFileIsRefusedAndKept) {
#ifndef _WIN32
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any file";
    }
#endif
    RunFolder run;
    run.OriginalAndOldExpanded();
    std::filesystem::permissions(run.Folder.PathOf("big.nes"),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    run.Script({kNameLine, kSizeLine, kHeaderLine, kCopyLine});
    run.Run(1);
    run.ExpectFailure("Error #70 -> Permission denied\r\n\r\nCan't save to Expanded ROM file: "
                      "'big.nes'");
    EXPECT_EQ(run.File(), "OLD");
}

// A second run on the same expanded file while the first writes it is refused, and the first
// ends with its whole file: never a mix of both. A run whose new file's name is another file
// of the folder's is refused before it writes anything.
TEST(Run, SecondRunWhileTheFirstWritesIsRefused) {
    RunFolder run;
    run.OriginalAndOldExpanded();
    run.Script({kNameLine, kSizeLine, kHeaderLine, "FILL\t0\tAA", "COPY\t2\t0"});
    RecordingWindow second;
    run.Window.OnEvents = [&] {
        if (second.Log.empty()) {
            Expand(HeaderChoice::AddOrReplace, run.Folder.Path(), second);
        }
    };
    run.Run(1);
    run.ExpectSuccess();
    EXPECT_EQ(run.File(), "\xAA\xAA" + Image(6));
    EXPECT_EQ(second.Boxes, std::vector<std::string>{"Error #70 -> Permission denied\r\n\r\n"
                                                     "Can't save to Expanded ROM file: 'big.nes'"});

    RunFolder taken;
    taken.OriginalAndOldExpanded();
    std::filesystem::rename(taken.Folder.PathOf("orig.nes"),
                            taken.Folder.PathOf("orig.kelbrin-unfinished"));
    taken.Script({"NAME\torig.kelbrin-unfinished\torig", kSizeLine, kHeaderLine, kCopyLine});
    taken.Run(1);
    taken.ExpectFailure(
        "Error #55 -> File already open\r\n\r\nCan't save to Expanded ROM file: 'orig'");
    EXPECT_EQ(taken.File("orig.kelbrin-unfinished"), Image(0x40));
}

// By the time the box tells of a failure, the folder is as it was: the run's new file is gone.
TEST(Run, FailedRunRemovesItsNewFileBeforeItsBox) {
    RunFolder run;
    run.OriginalAndOldExpanded();
    run.Script({kNameLine, kSizeLine, kHeaderLine, kCopyLine, kBrokenLine5.front()});
    std::set<std::string> namesAtTheBox;
    run.Window.OnBox = [&] { namesAtTheBox = run.Folder.Names(); };
    run.Run(1);
    ASSERT_EQ(run.Window.Boxes.size(), 1u);
    EXPECT_EQ(namesAtTheBox, (std::set<std::string>{"Kelbrin.txt", "big.nes", "orig.nes"}));
}

// A folder's name may hold any character, from any script: the run finds its files there.
TEST(Run, FolderOfAnyNameIsWorkedIn) {
    for (const std::string name : {"\xCE\xA9mega", "ROM \xE6\x97\xA5\xE6\x9C\xAC"}) {
        SCOPED_TRACE(name);
        TempFolder root;
        const std::string folder = root.MakeFolder(name);
        root.Write(name + TempFolder::kSeparator + "Kelbrin.txt",
                   Join({kNameLine, kSizeLine, kHeaderLine, kCopyLine}, "\r\n"));
        root.Write(name + TempFolder::kSeparator + "orig.nes", Image(0x40));
        RecordingWindow window;
        EXPECT_TRUE(Expand(HeaderChoice::IgnoreOrRemove, folder, window).Done())
            << Join(window.Boxes, "\n");
        EXPECT_EQ(root.Read(name + TempFolder::kSeparator + "big.nes"), Image(8));
    }
}

#ifdef _WIN32
// Names Windows keeps for devices, in any part of the path, any case and with any extension,
// and a ':' that would write a hidden stream of the original and report "Expansion Done":
// refused before anything is touched.
TEST(Run, ExpandedNameTheFileSystemCannotTakeIsRefusedUntouched) {
    for (const std::string name : {"aux.bin", "NUL", "con", "Com1.nes", "lpt9.x.y", "prn .txt",
                                   "sub\\CONOUT$", "nul\\big.nes", "COM0", "lpt0.nes", "COM\xB9",
                                   "LPT\xB2.bin", "Com\xB3", "orig.nes:x", "sub:x.nes"}) {
        SCOPED_TRACE(name);
        RunFolder run;
        run.OriginalAndOldExpanded();
        std::filesystem::create_directory(run.Folder.PathOf("sub"));
        run.Script({"NAME\torig.nes\t" + name, kSizeLine, kHeaderLine, kCopyLine});
        run.Run(1);
        run.ExpectFailure("Error #52 -> Bad file name or number\r\n\r\n"
                          "Can't save to Expanded ROM file: '" +
                          FileNamePart(name) + "'");
        EXPECT_EQ(run.File(), "OLD");
        EXPECT_EQ(run.File("orig.nes"), Image(0x40));
        EXPECT_EQ(run.Folder.Names(),
                  (std::set<std::string>{"Kelbrin.txt", "big.nes", "orig.nes", "sub"}));
    }
}

// An emulator holding the expanded file open without sharing its deletion: the run cannot put
// its file in place, says so under the expanded file's name, and the old file stays.
TEST(Run, ExpandedFileHeldByAnotherProgramStaysAsItWas) {
    for (const bool fromTheStart : {true, false}) {
        SCOPED_TRACE(fromTheStart ? "held from the start" : "opened during the run");
        RunFolder run;
        run.OriginalAndOldExpanded();
        run.Script({kNameLine, kSizeLine, kHeaderLine, kCopyLine});
        HANDLE held = INVALID_HANDLE_VALUE;
        const auto hold = [&] {
            held = ::CreateFileW(WideFromUtf8(run.Folder.PathOf("big.nes")).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        };
        if (fromTheStart) {
            hold();
        } else {
            run.Window.OnEvents = [&] {
                if (held == INVALID_HANDLE_VALUE) {
                    hold();
                }
            };
        }
        run.Run(1);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ::CloseHandle(held);
        run.ExpectFailure(
            "Error #70 -> Permission denied\r\n\r\nCan't save to Expanded ROM file: 'big.nes'");
        run.ExpectFolderAsItWas();
    }
}
#endif

// A full disk is reported under the line that wrote the bytes, and the previous expanded file
// stays as it was.
TEST(Run, DiskFullIsReportedUnderTheLineThatWroteTheBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit to fill";
#else
    struct Case {
        const char* Name;
        std::int16_t Index;
        std::vector<std::string> Directives;
        std::string Context;
        rlim_t Room = 0; // bytes the disk takes
    };
    for (const Case& c :
         {Case{"LastCopyRange", 1, {kCopyLine}, "Issue with line # 5"},
          Case{"ReplaceBytes",
               1,
               {"FILL\t0\tAA", "REPLACE\t0\t11", "FILL\t1\t0"},
               "Issue with line # 5"},
          Case{"Header", 0, {kCopyLine}, "Issue with HEADER line"},
          // The range's byte could not be written before the line's own rule
          // was found broken: the write came first, so its error wins.
          Case{"WriteBeforeABrokenRule", 1, {"FILL\t0\tAA", "FILL\t1\tZZ"}, "Issue with line # 5"},
          // Lines reach the file many at a time; the byte that found no room
          // is the third line's, though later lines were already done.
          Case{"ByteOfAnEarlierLine",
               1,
               {"FILL\t0\tAA", "REPLACE\t0\t11", "REPLACE\t1\t22", "REPLACE\t2\t33", "FILL\t3\t0"},
               "Issue with line # 7",
               2},
          Case{"ByteOfAnEarlierLineBeforeABrokenRule",
               1,
               {"FILL\t0\tAA", "REPLACE\t0\t11", "REPLACE\t1\t22", "FILL\t2\tZZ"},
               "Issue with line # 6",
               1}}) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        run.OriginalAndOldExpanded();
        std::vector<std::string> lines = {kNameLine, kSizeLine, kHeaderLine};
        lines.insert(lines.end(), c.Directives.begin(), c.Directives.end());
        run.Script(lines);
        {
            const NoRoomOnTheDisk full(c.Room);
            run.Run(c.Index);
        }
        run.ExpectFailure("Error #61 -> Disk full\r\n\r\n" + c.Context);
        run.ExpectFolderAsItWas();
    }
#endif
}

} // namespace
} // namespace kelbrin::test
