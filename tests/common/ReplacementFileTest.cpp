// A file that replaces another only once it is whole: what the folder holds after a commit and
// after an abandoned write, one writer at a time, a killed writer's leftover, and the refusals
// that an open for writing has always made.

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "RaisedNumber.h"
#include "ReplacementFile.h"
#include "TempFolder.h"
#include "UnfinishedFiles.h"

namespace kelbrin {
namespace {

namespace fs = std::filesystem;
using test::RaisedNumber;
using test::TempFolder;

const std::string kUnfinished = "out.bin.kelbrin-unfinished";

void WriteText(ReplacementFile& file, const std::string& text) {
    file.File().Write(text.data(), text.size());
}

TEST(ReplacementFileTest, TargetChangesOnlyByACommitAndNoUnfinishedFileStays) {
    struct Row {
        const char* Name;
        std::optional<std::string> Before; // the target before, if any
        bool Committed;
        std::optional<std::string> After;
    };
    for (const Row& row : {Row{"new target, committed", std::nullopt, true, "NEW"},
                           Row{"old target, committed", "OLD", true, "NEW"},
                           Row{"new target, abandoned", std::nullopt, false, std::nullopt},
                           Row{"old target, abandoned", "OLD", false, "OLD"}}) {
        SCOPED_TRACE(row.Name);
        TempFolder folder;
        if (row.Before) {
            folder.Write("out.bin", *row.Before);
        }
        {
            ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")));
            EXPECT_EQ(file.UnfinishedPath(), folder.PathOf(kUnfinished));
            WriteText(file, "NEW");
            EXPECT_EQ(folder.Read("out.bin"), row.Before);
            if (row.Committed) {
                file.FlushToDisk();
                file.Commit();
            }
        }
        EXPECT_EQ(folder.Read("out.bin"), row.After);
        EXPECT_FALSE(folder.Exists(kUnfinished));
    }
}

TEST(ReplacementFileTest, OneWriterAtATimeAndALeftoverIsTakenOver) {
    TempFolder folder;
    const auto names = ReplacementFile::NamesFor(folder.PathOf("out.bin"));
    // What a killed writer leaves: the unfinished file, held by no one.
    folder.Write(kUnfinished, "LEFT BY A KILLED RUN");
    {
        ReplacementFile first(names);
        EXPECT_EQ(folder.Read(kUnfinished), "");
        EXPECT_EQ(RaisedNumber([&] { ReplacementFile second(names); }), ErrPermissionDenied);
        WriteText(first, "FIRST");
        first.Commit();
    }
    ReplacementFile third(names);
    WriteText(third, "THIRD");
    third.Commit();
    EXPECT_EQ(folder.Read("out.bin"), "THIRD");
    EXPECT_EQ(folder.Names(), std::set<std::string>{"out.bin"});
}

// For a program that ends mid-run without returning to it (the window closed).
TEST(ReplacementFileTest, RemovingTheUnfinishedFilesLeavesTheTargetAndFailsTheCommit) {
    TempFolder folder;
    folder.Write("out.bin", "OLD");
    ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")));
    RemoveUnfinishedFiles();
    EXPECT_FALSE(folder.Exists(kUnfinished));
    EXPECT_EQ(RaisedNumber([&] { file.Commit(); }), ErrFileNotFound);
    EXPECT_EQ(folder.Read("out.bin"), "OLD");
}

TEST(ReplacementFileTest, TargetThatCannotBeWrittenAsItIsIsRefusedUntouched) {
    TempFolder folder;
    fs::create_directory(folder.PathOf("folder.bin"));
    EXPECT_EQ(RaisedNumber([&] {
                  ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("folder.bin")));
              }),
              ErrPathFileAccess);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"folder.bin"});
}

#ifndef _WIN32

TEST(ReplacementFileTest, LinksLeadToTheFileReplacedAndNeverToTheUnfinishedOne) {
    TempFolder folder;
    fs::create_directory(folder.PathOf("roms"));
    folder.Write("roms/real.bin", "OLD");
    fs::create_symlink("roms/real.bin", folder.PathOf("out.bin"));
    {
        ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")));
        EXPECT_EQ(file.UnfinishedPath(), folder.PathOf("roms/real.bin.kelbrin-unfinished"));
        WriteText(file, "NEW");
        file.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(folder.PathOf("out.bin")));
    EXPECT_EQ(folder.Read("out.bin"), "NEW");

    // An unfinished name that is a link is no leftover of a run: nothing is written through it.
    folder.Write("victim.bin", "KEEP");
    fs::create_symlink("victim.bin", folder.PathOf("other.bin.kelbrin-unfinished"));
    EXPECT_EQ(RaisedNumber([&] {
                  ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("other.bin")));
              }),
              ErrPathFileAccess);
    EXPECT_EQ(folder.Read("victim.bin"), "KEEP");
}

TEST(ReplacementFileTest, NewFileTakesTheTargetsPermissionBitsAndItsRefusals) {
    TempFolder folder;
    folder.Write("out.bin", "OLD");
    ::chmod(folder.PathOf("out.bin").c_str(), 0640);
    {
        ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")));
        file.Commit();
    }
    struct stat info {};
    ASSERT_EQ(::stat(folder.PathOf("out.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    if (::geteuid() != 0) { // root may write any file
        ::chmod(folder.PathOf("out.bin").c_str(), 0440);
        EXPECT_EQ(RaisedNumber([&] {
                      ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")));
                  }),
                  ErrPermissionDenied);
        EXPECT_EQ(folder.Names(), std::set<std::string>{"out.bin"});
    }
}

#endif

} // namespace
} // namespace kelbrin
