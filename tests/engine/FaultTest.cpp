// Faults a run must survive without crashing, hanging or harming anything: unreadable and
// vanishing files, originals of odd lengths, hostile scripts. Every run here is watched, so
// each one also proves that the original is never opened for writing.

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <optional>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "NoRoomOnTheDisk.h"
#include "RunFolder.h"

namespace kelbrin::test {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// Watches one file across a run. A descriptor opened for writing and closed again shows up as
// IN_CLOSE_WRITE even when nothing was written, so this catches more than changed bytes.
class UntouchedFile {
public:
    explicit UntouchedFile(std::string path) : path_(std::move(path)) {
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        watched_ = fd_ >= 0 && ::inotify_add_watch(fd_, path_.c_str(),
                                                   IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB) >= 0;
        watched_ = watched_ && ::stat(path_.c_str(), &before_) == 0;
        // A sparse giant is checked by its size and times alone.
        if (S_ISREG(before_.st_mode) && before_.st_size <= (1 << 20)) {
            bytes_ = ReadFile(path_).value_or("");
        }
    }
    ~UntouchedFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UntouchedFile(const UntouchedFile&) = delete;
    UntouchedFile& operator=(const UntouchedFile&) = delete;

    void Expect() const {
        ASSERT_TRUE(watched_) << "cannot watch " << path_;
        char events[4096];
        const ssize_t got = ::read(fd_, events, sizeof events);
        const int error = errno;
        EXPECT_TRUE(got < 0 && error == EAGAIN) << got << " bytes of events on " << path_;
        struct stat after {};
        ASSERT_EQ(::stat(path_.c_str(), &after), 0);
        EXPECT_EQ(after.st_size, before_.st_size);
        EXPECT_EQ(after.st_mtim.tv_sec, before_.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before_.st_mtim.tv_nsec);
        if (bytes_) {
            EXPECT_TRUE(ReadFile(path_).value_or("") == *bytes_) << path_ << " changed";
        }
    }

private:
    std::string path_;
    int fd_ = -1;
    bool watched_ = false;
    struct stat before_ {};
    std::optional<std::string> bytes_;
};

void RunWatched(RunFolder& run) {
    const UntouchedFile watch(run.Folder.PathOf("orig.nes"));
    run.Run(1);
    watch.Expect();
}

// Compares texts of megabytes without printing them whole when they differ.
void ExpectText(const std::string& actual, const std::string& expected) {
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected) << "got: " << actual.substr(0, 160);
}

std::string FileBox(int number, const std::string& description, const std::string& context) {
    return "Error #" + std::to_string(number) + " -> " + description + "\r\n\r\n" + context;
}

struct ReadErrorCase {
    const char* Name;
    std::string Odd; // the directory or FIFO in place of a file
    bool Fifo;
    std::string Context;
};

class ReadError : public ::testing::TestWithParam<ReadErrorCase> {};

TEST_P(ReadError, IsAnAccessErrorBeforeTheExpandedFileIsTouched) {
    const ReadErrorCase& c = GetParam();
    RunFolder run;
    run.OriginalAndOldExpanded();
    const std::string odd = run.Folder.PathOf(c.Odd);
    ASSERT_TRUE(c.Fifo ? ::mkfifo(odd.c_str(), 0644) == 0 : fs::create_directory(odd));
    if (c.Odd != "Kelbrin.txt") {
        run.Script({"NAME\t" + c.Odd + "\tbig.nes", kSizeLine, kHeaderLine, kCopyLine});
    }
    // A FIFO without a writer must be refused, not waited on.
    RunWatched(run);
    run.ExpectFailure(FileBox(75, "Path/File access error", c.Context));
    EXPECT_EQ(run.File(), "OLD");
}

INSTANTIATE_TEST_SUITE_P(
    Fault, ReadError,
    ::testing::Values(
        ReadErrorCase{"OriginalIsADirectory", "sub", false, "Can't open Original ROM file: 'sub'"},
        ReadErrorCase{"OriginalIsAFifo", "pipe.nes", true,
                      "Can't open Original ROM file: 'pipe.nes'"},
        ReadErrorCase{"ScriptIsADirectory", "Kelbrin.txt", false, "Can't open 'Kelbrin.txt' file"},
        ReadErrorCase{"ScriptIsAFifo", "Kelbrin.txt", true, "Can't open 'Kelbrin.txt' file"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Fault, FilesRemovedDuringTheRunAreReadToTheEnd) {
    for (const std::string removed : {"orig.nes", "Kelbrin.txt"}) {
        SCOPED_TRACE(removed);
        RunFolder run;
        run.Original(Image(0x40));
        // Ignored fields pad line 4 past the script reader's buffer, so the last line and
        // every copied byte are read after the file is gone.
        run.Script({kNameLine, "SIZE\t40\t30", kHeaderLine,
                    "FILL\t0\tAA\t" + std::string(100000, 'x'), "COPY\t10\t20"});
        run.Window.OnEvents = [&] { fs::remove(run.Folder.PathOf(removed)); };
        run.Run(1);
        run.ExpectSuccess();
        EXPECT_EQ(run.File(), std::string(16, '\xAA') + Image(0x40).substr(0x20, 0x20));
        EXPECT_FALSE(run.Folder.Exists(removed));
    }
}

// The original's length is learned once, for header detection, and the image is copied from
// that length: a file cut short under the run is an error under the line being written, and
// bytes past that length read as 00 even when the file has grown since.
TEST(Fault, OriginalChangingLengthDuringTheRun) {
    struct Case {
        const char* Name;
        std::size_t OriginalSize;
        std::string SizeLine;
        std::string Copy;
        std::function<void(const std::string&)> Change;
        std::string Box; // empty: the run succeeds
        std::string Expanded;
    };
    const auto cutTo = [](std::uintmax_t size) {
        return [size](const std::string& path) { fs::resize_file(path, size); };
    };
    const std::string big = Image(1 << 20);
    const Case cases[] = {
        {"CutShortUnderACopy", 0x40, kSizeLine, kCopyLine, cutTo(4),
         FileBox(62, "Input past end of file", "Issue with line # 5"), "<missing>"},
        // A long range is copied by the system, file to file, until the file ends.
        {"CutShortUnderACopyByTheSystem", 1 << 20, "SIZE\t100000\t100000", kCopyLine,
         cutTo(1 << 19), FileBox(62, "Input past end of file", "Issue with line # 5"), "<missing>"},
        {"GrownPastTheCopy", 0x40, kSizeLine, "COPY\t0\t3C",
         [](const std::string& path) { std::ofstream(path, std::ios::app) << "EEEE"; }, "",
         "\x3C\x3D\x3E\x3F\x00\x00\x00\x00"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        run.Original(big.substr(0, c.OriginalSize));
        run.Script({kNameLine, c.SizeLine, kHeaderLine, c.Copy});
        bool changed = false;
        run.Window.OnEvents = [&] {
            if (!std::exchange(changed, true)) {
                c.Change(run.Folder.PathOf("orig.nes"));
            }
        };
        run.Run(1);
        if (c.Box.empty()) {
            run.ExpectSuccess();
        } else {
            run.ExpectFailure(c.Box);
        }
        ExpectText(run.File(), c.Expanded);
    }
}

// Bytes written into a new file that was removed or replaced under the run reach no file the
// user can find: that is no "Expansion Done", and the old expanded file stays. The expanded
// file itself may come and go meanwhile: the run's file takes its place at the end.
TEST(Fault, NewFileGoneUnderTheRunIsAnError) {
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "removed");
        RunFolder run;
        run.OriginalAndOldExpanded();
        run.Script({kNameLine, kSizeLine, kHeaderLine, kCopyLine});
        const std::string unfinished = "big.nes.kelbrin-unfinished";
        run.Window.OnEvents = [&] {
            fs::remove(run.Folder.PathOf(unfinished));
            if (replaced) {
                run.Folder.Write(unfinished, "NEW");
            }
        };
        run.Run(1);
        run.ExpectFailure(
            FileBox(53, "File not found", "Can't save to Expanded ROM file: 'big.nes'"));
        EXPECT_EQ(run.File(), "OLD");
        // Another's file of that name is no run's to remove.
        EXPECT_EQ(run.Folder.Read(unfinished),
                  replaced ? std::optional<std::string>("NEW") : std::nullopt);
    }
}

// A window that cannot make a box of the whole message (a message quoting a script line of
// hundreds of megabytes, under a tight memory limit) still shows the error and the start of it.
TEST(Fault, BoxTooLargeForMemoryShowsTheStartOfItsMessage) {
    struct ShortOfMemory : RecordingWindow {
        void ShowMessageBox(const std::string& message, const std::string& title,
                            MessageBoxIcon icon) override {
            if (message.size() > 10000) {
                throw std::bad_alloc();
            }
            RecordingWindow::ShowMessageBox(message, title, icon);
        }
    };
    RunFolder run;
    ShortOfMemory window;
    run.OriginalAndOldExpanded();
    const std::string rowName(20000, 'Q');
    run.Script({kNameLine, kSizeLine, kHeaderLine, rowName + "\t0\t0"});
    Expand(HeaderChoice::IgnoreOrRemove, run.Folder.Path(), window);
    const std::string start = "Copy, Fill, or Replace missing on start of line 4: \r\n";
    EXPECT_EQ(window.Boxes,
              std::vector<std::string>{RuleBox((start + rowName).substr(0, 2000) + " ...")});
    EXPECT_EQ(window.LastStatus(), "Ended due to Error");
}

TEST(Fault, OriginalOfOddLengthIsTakenAsTheRulesSay) {
    struct Case {
        const char* Name;
        std::string Original;
        std::string SizeLine;
        std::string Box; // empty: the run succeeds
        std::string Expanded;
    };
    const std::string wrongLength = RuleBox("Original ROM is not 64 bytes or 80 bytes");
    // An original of exactly the header size is all header for an image of 0 bytes: the
    // copy reads behind it, past the end, and gets 00 bytes, never the header's EE bytes.
    for (const Case& c : {Case{"Empty", "", kSizeLine, wrongLength, "<missing>"},
                          Case{"EmptyForAnEmptyImage", "", "SIZE\t0\t8", "", std::string(8, '\0')},
                          Case{"HeaderOnly", ForeignHeader(), kSizeLine, wrongLength, "<missing>"},
                          Case{"HeaderOnlyForAnEmptyImage", ForeignHeader(), "SIZE\t0\t8", "",
                               std::string(8, '\0')}}) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        run.Original(c.Original);
        run.Script({kNameLine, c.SizeLine, kHeaderLine, kCopyLine});
        RunWatched(run);
        if (c.Box.empty()) {
            run.ExpectSuccess();
        } else {
            run.ExpectFailure(c.Box);
        }
        EXPECT_EQ(run.File(), c.Expanded);
    }
}

TEST(Fault, OriginalOfTwoGibibytesIsRefusedUnread) {
    RunFolder run;
    const int fd = ::open(run.Folder.PathOf("orig.nes").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const bool sized = ::ftruncate(fd, std::int64_t{1} << 31) == 0;
    ::close(fd);
    if (!sized) {
        GTEST_SKIP() << "the file system refuses a sparse file of 2 GiB";
    }
    run.Script({kNameLine, kSizeLine, kHeaderLine, kCopyLine});
    RunWatched(run);
    run.ExpectFailure(RuleBox("Original ROM is not 64 bytes or 80 bytes"));
    EXPECT_FALSE(run.Folder.Exists("big.nes"));
}

struct HostileCase {
    const char* Name;
    std::vector<std::string> Lines;
    std::string Box;  // empty: the run succeeds
    std::string Made; // the expanded file to look at
    std::string Expanded;
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.Name;
}

class HostileScript : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileScript, EndsInItsRuleOrFileErrorInsideTheFolder) {
    const HostileCase& c = GetParam();
    RunFolder run;
    run.OriginalAndOldExpanded();
    run.Script(c.Lines);
    RunWatched(run);
    if (c.Box.empty()) {
        run.ExpectSuccess();
    } else {
        ASSERT_EQ(run.Window.Boxes.size(), 1u);
        ExpectText(run.Window.Boxes.front(), c.Box);
        EXPECT_EQ(run.Window.LastStatus(), "Ended due to Error");
    }
    ExpectText(run.File(c.Made), c.Expanded);
}

std::vector<std::string> WithDirective(const std::string& directive) {
    return {kNameLine, kSizeLine, kHeaderLine, directive};
}

std::vector<std::string> WithNames(const std::string& original, const std::string& expanded) {
    return {"NAME\t" + original + "\t" + expanded, kSizeLine, kHeaderLine, kCopyLine};
}

std::string Repeated(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

const std::string kRowName(4 << 20, 'Q');
const std::string kLongName(10000, 'n');
const std::string kBadName = "Error #52 -> Bad file name or number\r\n\r\n";
const std::string kDirectiveMissing = "Copy, Fill, or Replace missing on start of line 4: \r\n";

// Names that look absolute are still joined to the folder: "C:\game.nes" and "/etc/passwd"
// look for a folder "C:" or "etc" inside it, which is missing.
INSTANTIATE_TEST_SUITE_P(
    Fault, HostileScript,
    ::testing::Values(
        HostileCase{"RowNameOfFourMebibytes", WithDirective(kRowName + "\t0\t0"),
                    RuleBox(kDirectiveMissing + kRowName), "big.nes", "OLD"},
        // "REPLACE\t00" and 333,330 times "\tAA": one line of exactly 1,000,000 bytes.
        HostileCase{"ReplaceLineOfAMegabyte",
                    {kNameLine, kSizeLine, kHeaderLine, "FILL\t0\t0",
                     "REPLACE\t00" + Repeated("\tAA", 333330)},
                    "",
                    "big.nes",
                    std::string(333330, '\xAA')},
        HostileCase{"StartAddressOf40000Digits",
                    WithDirective("FILL\t" + std::string(40000, '0') + "\t0"),
                    FileBox(6, "Overflow", "Issue with line # 4"), "big.nes", "OLD"},
        HostileCase{"NulInTheOriginalName", WithNames("orig\0.nes"s, "big.nes"),
                    kBadName + "Can't open Original ROM file: 'orig\0.nes'"s, "big.nes", "OLD"},
        HostileCase{"NulInARowName", WithDirective("CO\0PY\t0\t0"s),
                    RuleBox(kDirectiveMissing + "CO\0PY"s), "big.nes", "OLD"},
        HostileCase{"DriveLetterOriginal", WithNames("C:\\game.nes", "big.nes"),
                    FileBox(76, "Path not found", "Can't open Original ROM file: 'game.nes'"),
                    "big.nes", "OLD"},
        HostileCase{"RootedOriginal", WithNames("/etc/passwd", "big.nes"),
                    FileBox(76, "Path not found", "Can't open Original ROM file: '/etc/passwd'"),
                    "big.nes", "OLD"},
        HostileCase{"RootedExpandedName", WithNames("orig.nes", "/x.nes"), "", "x.nes", Image(8)},
        HostileCase{"OriginalNameOf10000Characters", WithNames(kLongName, "big.nes"),
                    kBadName + "Can't open Original ROM file: '" + kLongName + "'", "big.nes",
                    "OLD"},
        HostileCase{"ExpandedNameOf10000Characters", WithNames("orig.nes", kLongName),
                    kBadName + "Can't save to Expanded ROM file: '" + kLongName + "'", "big.nes",
                    "OLD"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Fault, OriginalAboveTheFolderIsOnlyRead) {
    RunFolder run;
    fs::create_directory(run.Folder.PathOf("prog"));
    run.Original(Image(0x40));
    run.Folder.Write(
        "prog/Kelbrin.txt",
        Join({"NAME\t..\\orig.nes\tbig.nes", kSizeLine, kHeaderLine, kCopyLine}, "\r\n"));
    const UntouchedFile watch(run.Folder.PathOf("orig.nes"));
    Expand(HeaderChoice::IgnoreOrRemove, run.Folder.PathOf("prog"), run.Window);
    watch.Expect();
    run.ExpectSuccess();
    EXPECT_EQ(run.File("prog/big.nes"), Image(8));
}

TEST(Fault, OriginalIsNeverOpenedForWriting) {
    struct Case {
        const char* Name;
        std::string ExpandedName;
        std::string SizeLine;
        bool Succeeds;
        bool DiskFull = false;
    };
    for (const Case& c : {Case{"Success", "big.nes", kSizeLine, true},
                          Case{"ChecksumMismatch", "big.nes", kSizeLine + "\tWRONG", true},
                          Case{"DotSlash", "./orig.nes", kSizeLine, false},
                          Case{"DotBackslash", ".\\orig.nes", kSizeLine, false},
                          Case{"ClimbBack", "sub\\..\\orig.nes", kSizeLine, false},
                          Case{"HardLink", "hard.nes", kSizeLine, false},
                          Case{"SymbolicLink", "link.nes", kSizeLine, false},
                          Case{"DiskFull", "big.nes", kSizeLine, false, true}}) {
        SCOPED_TRACE(c.Name);
        RunFolder run;
        run.Original(Image(0x40));
        fs::create_directory(run.Folder.PathOf("sub"));
        fs::create_hard_link(run.Folder.PathOf("orig.nes"), run.Folder.PathOf("hard.nes"));
        fs::create_symlink("orig.nes", run.Folder.PathOf("link.nes"));
        run.Script({"NAME\torig.nes\t" + c.ExpandedName, c.SizeLine, kHeaderLine, kCopyLine});
        {
            std::optional<NoRoomOnTheDisk> full;
            if (c.DiskFull) {
                full.emplace();
            }
            RunWatched(run);
        }
        EXPECT_EQ(run.Window.LastStatus(), c.Succeeds ? "Expansion Done" : "Ended due to Error");
    }
}

} // namespace
} // namespace kelbrin::test
