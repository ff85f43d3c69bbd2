// A file that replaces another only once it is whole: what the folder holds after a commit and
// after an abandoned write, one writer at a time, a killed writer's leftover, what it may not
// touch, long names, interrupts, and the refusals that an open for writing has always made.

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "WideText.h"
#else
#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
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

// Every name in the folder, with the bytes of each plain file.
std::map<std::string, std::optional<std::string>> Contents(const TempFolder& folder) {
    std::map<std::string, std::optional<std::string>> contents;
    for (const std::string& name : folder.Names()) {
        const bool plain = fs::is_regular_file(fs::symlink_status(folder.PathOf(name)));
        contents[name] = plain ? folder.Read(name) : std::nullopt;
    }
    return contents;
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
            ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")), {});
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

TEST(ReplacementFileTest, OneWriterAtATime) {
    TempFolder folder;
    const auto names = ReplacementFile::NamesFor(folder.PathOf("out.bin"));
    {
        ReplacementFile first(names, {});
        EXPECT_EQ(RaisedNumber([&] { ReplacementFile second(names, {}); }), ErrPermissionDenied);
#ifdef _WIN32
        // Nor can another program remove it.
        EXPECT_FALSE(::DeleteFileW(WideFromUtf8(first.UnfinishedPath()).c_str()));
#endif
        WriteText(first, "FIRST");
        first.Commit();
    }
    ReplacementFile third(names, {});
    WriteText(third, "THIRD");
    third.Commit();
    EXPECT_EQ(folder.Read("out.bin"), "THIRD");
    EXPECT_EQ(folder.Names(), std::set<std::string>{"out.bin"});
}

// What a writer that was killed left is removed by its name and never written: another name of
// the same file, or a writer that takes no lock, keeps its bytes, and the new file has none of
// the leftover's attributes.
TEST(ReplacementFileTest, LeftoverIsRemovedAndNeverWrittenInto) {
    struct Row {
        const char* Name;
        std::function<void(const TempFolder&)> Leave;
        std::set<std::string> NamesAfter;
    };
    std::optional<std::fstream> foreign;
    const std::vector<Row> rows = {
        {"left by a killed writer",
         [](const TempFolder& f) { f.Write(kUnfinished, "LEFT"); },
         {"out.bin", "fresh.bin"}},
        {"another name of a file",
         [](const TempFolder& f) {
             f.Write("other.bin", "OTHER");
             fs::create_hard_link(f.PathOf("other.bin"), f.PathOf(kUnfinished));
         },
         {"out.bin", "fresh.bin", "other.bin"}},
        {"read-only",
         [](const TempFolder& f) {
             f.Write(kUnfinished, "LEFT");
             fs::permissions(f.PathOf(kUnfinished), fs::perms::owner_read);
         },
         {"out.bin", "fresh.bin"}},
#ifndef _WIN32
        // Windows refuses any second writer.
        {"open in a writer that takes no lock",
         [&foreign](const TempFolder& f) {
             f.Write(kUnfinished, "");
             foreign.emplace(f.PathOf(kUnfinished), std::ios::in | std::ios::out);
         },
         {"out.bin", "fresh.bin"}},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TempFolder folder;
        folder.Write("fresh.bin", "");
        row.Leave(folder);
        {
            ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")), {});
            WriteText(file, "NEW");
            if (foreign) {
                *foreign << "FOREIGN" << std::flush;
            }
            file.Commit();
        }
        EXPECT_EQ(folder.Read("out.bin"), "NEW");
        EXPECT_EQ(folder.Names(), row.NamesAfter);
        if (row.NamesAfter.contains("other.bin")) {
            EXPECT_EQ(folder.Read("other.bin"), "OTHER");
        }
        EXPECT_EQ(fs::status(folder.PathOf("out.bin")).permissions(),
                  fs::status(folder.PathOf("fresh.bin")).permissions());
        foreign.reset();
    }
}

// For a program that ends mid-run without returning to it (the window closed).
TEST(ReplacementFileTest, RemovingTheUnfinishedFilesLeavesTheTargetAndFailsTheCommit) {
    TempFolder folder;
    folder.Write("out.bin", "OLD");
    {
        ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")), {});
        RemoveUnfinishedFiles();
        EXPECT_EQ(RaisedNumber([&] { file.Commit(); }), ErrFileNotFound);
    }
    // Windows removes a file when its last holder lets go of it.
    EXPECT_EQ(folder.Names(), std::set<std::string>{"out.bin"});
    EXPECT_EQ(folder.Read("out.bin"), "OLD");
}

// What the writer may not touch: a target it could not write as it is, a file it reads that
// has the unfinished file's name, and what holds that name that no writer left. Each is refused
// before anything is made, and the folder stays as it was.
TEST(ReplacementFileTest, WhatItMayNotTouchIsRefusedUntouched) {
    struct Row {
        const char* Name;
        std::function<void(const TempFolder&)> Make;
        bool IsInput; // the unfinished file's name is a file the writer reads
        int Number;
        bool InTheWay; // raised as what holds the unfinished name
    };
    std::vector<Row> rows = {
        {"target is a folder",
         [](const TempFolder& f) { fs::create_directory(f.PathOf("out.bin")); }, false,
         ErrPathFileAccess, false},
        {"an input has the unfinished name",
         [](const TempFolder& f) { f.Write(kUnfinished, "IN"); }, true, ErrFileAlreadyOpen, false},
        {"a folder has the unfinished name",
         [](const TempFolder& f) { fs::create_directory(f.PathOf(kUnfinished)); }, false,
         ErrPathFileAccess, true},
#ifndef _WIN32
        {"a link has the unfinished name",
         [](const TempFolder& f) {
             f.Write("victim.bin", "KEEP");
             fs::create_symlink("victim.bin", f.PathOf(kUnfinished));
         },
         false, ErrPathFileAccess, true},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        TempFolder folder;
        row.Make(folder);
        const auto before = Contents(folder);
        const auto names = ReplacementFile::NamesFor(folder.PathOf("out.bin"));
        bool inTheWay = false;
        EXPECT_EQ(RaisedNumber([&] {
                      try {
                          ReplacementFile file(
                              names, row.IsInput ? std::vector<std::string>{names.Unfinished}
                                                 : std::vector<std::string>{});
                      } catch (const UnfinishedNameTaken& taken) {
                          inTheWay = taken.Path() == names.Unfinished;
                          throw;
                      }
                  }),
                  row.Number);
        EXPECT_EQ(inTheWay, row.InTheWay);
        EXPECT_EQ(Contents(folder), before);
    }
}

// The suffix does not fit after a name of over 236 bytes: the unfinished name is then made of
// the name's start and a digest of it, the same each time, so that a killed writer's file is
// found.
TEST(ReplacementFileTest, LongNameGetsAnUnfinishedNameThatFits) {
    const std::string accented = "\xC3\xA9"; // two bytes of one character
    for (const std::string& name :
         {std::string(236, 'n'), std::string(237, 'n'),
          std::string(218, 'n') + accented + std::string(30, 'n'), std::string(255, 'n')}) {
        SCOPED_TRACE(name.size());
        TempFolder folder;
        const auto names = ReplacementFile::NamesFor(folder.PathOf(name));
        const std::string unfinished = names.Unfinished.substr(folder.Path().size() + 1);
        EXPECT_LE(unfinished.size(), 255u);
        EXPECT_TRUE(unfinished.ends_with(ReplacementFile::kUnfinishedSuffix));
        EXPECT_EQ(unfinished == name + ".kelbrin-unfinished", name.size() <= 236);
        EXPECT_EQ(ReplacementFile::NamesFor(folder.PathOf(name)).Unfinished, names.Unfinished);
        folder.Write(unfinished, "LEFT");
        ReplacementFile file(names, {});
        WriteText(file, "NEW");
        file.Commit();
        EXPECT_EQ(folder.Names(), std::set<std::string>{name});
    }
}

#ifndef _WIN32

// SIGTERM at any moment of making or abandoning the file leaves no unfinished file: no interrupt
// falls between making the file and registering it for removal, nor between withdrawing it and
// removing it. Each trial interrupts a process that does nothing else, at a moment of its own.
TEST(ReplacementFileTest, InterruptAtAnyMomentLeavesNoUnfinishedFile) {
    for (int trial = 0; trial < 20; ++trial) {
        SCOPED_TRACE(trial);
        TempFolder folder;
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            RemoveUnfinishedFilesAtInterrupts();
            const auto names = ReplacementFile::NamesFor(folder.PathOf("out.bin"));
            for (bool first = true;; first = false) {
                const ReplacementFile file(names, {});
                if (first) {
                    (void)!::write(started[1], "S", 1);
                }
            }
        }
        ::close(started[1]);
        char byte = 0;
        EXPECT_EQ(::read(started[0], &byte, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(100 + trial * 97));
        ::kill(writer, SIGTERM);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        EXPECT_FALSE(folder.Exists(kUnfinished));
    }
}

TEST(ReplacementFileTest, LinksLeadToTheFileReplaced) {
    TempFolder folder;
    fs::create_directory(folder.PathOf("roms"));
    folder.Write("roms/real.bin", "OLD");
    fs::create_symlink("roms/real.bin", folder.PathOf("out.bin"));
    {
        ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")), {});
        EXPECT_EQ(file.UnfinishedPath(), folder.PathOf("roms/real.bin.kelbrin-unfinished"));
        WriteText(file, "NEW");
        file.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(folder.PathOf("out.bin")));
    EXPECT_EQ(folder.Read("out.bin"), "NEW");
}

TEST(ReplacementFileTest, NewFileTakesTheTargetsPermissionBitsAndItsRefusals) {
    TempFolder folder;
    folder.Write("out.bin", "OLD");
    ::chmod(folder.PathOf("out.bin").c_str(), 0640);
    {
        ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")), {});
        file.Commit();
    }
    struct stat info {};
    ASSERT_EQ(::stat(folder.PathOf("out.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    if (::geteuid() != 0) { // root may write any file
        ::chmod(folder.PathOf("out.bin").c_str(), 0440);
        EXPECT_EQ(RaisedNumber([&] {
                      ReplacementFile file(ReplacementFile::NamesFor(folder.PathOf("out.bin")), {});
                  }),
                  ErrPermissionDenied);
        EXPECT_EQ(folder.Names(), std::set<std::string>{"out.bin"});
    }
}

#endif

} // namespace
} // namespace kelbrin
