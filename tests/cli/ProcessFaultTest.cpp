// The real kelbrin-cli started the ways a shell, a pipeline or a tight limit can start it: a
// reader that has gone away, closed standard descriptors, a file-size limit, little memory.
// Whatever happens to its report, a run ends in one of its two endings, the expanded ROM is the
// run's whole image or, after a failure, as it was, and the exit status says which ending it
// was.

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "CliHarness.h"
#include "PseudoRandom.h"
#include "UnderSanitizer.h"

namespace kelbrin::test {
namespace {

const std::string kOriginal = [] {
    std::string bytes(256, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i);
    }
    return bytes;
}();

// 5,000 COPY lines of 16 bytes each: far more status text than standard output buffers, so
// the report is written while the run is still going.
const std::string kManyCopies = [] {
    std::string script = ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t13880", "HEADER\t0"});
    for (int line = 0; line < 5000; ++line) {
        char copy[32];
        std::snprintf(copy, sizeof copy, "COPY\t%X\t0\r\n", line * 16);
        script += copy;
    }
    return script;
}();
const std::string kManyCopiesImage = [] {
    std::string image;
    for (int line = 0; line < 5000; ++line) {
        image += kOriginal.substr(0, 16);
    }
    return image;
}();

const std::string kChecksumMismatch =
    ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t100\tWRONG", "HEADER\t0", "COPY\t0\t0"});
const std::string kLostReport = "kelbrin-cli: standard output could not be written";
const std::string kNoFile = "<no file>";

struct ProcessCase {
    const char* What;
    std::string Script;
    ProgramSetup Setup;
    int ExitStatus;
    std::string ErrHolds; // a text that standard error must hold, if any
    std::string Expanded;
};

TEST(CliProcess, RunEndsInItsOwnEndingWhateverHappensToItsReport) {
    const ProcessCase cases[] = {
        {"standard output's reader goes away",
         kManyCopies,
         {.Out = Stream::BrokenPipe},
         0,
         kLostReport,
         kManyCopiesImage},
        {"standard error's reader is gone when the checksum box comes",
         kChecksumMismatch,
         {.Err = Stream::BrokenPipe},
         0,
         "",
         kOriginal},
        {"standard input and output are closed",
         kManyCopies,
         {.InClosed = true, .Out = Stream::Closed},
         0,
         kLostReport,
         kManyCopiesImage},
        {"standard error is closed", kChecksumMismatch, {.Err = Stream::Closed}, 0, "", kOriginal},
        {"standard output is full",
         kManyCopies,
         {.Out = Stream::Full},
         0,
         kLostReport,
         kManyCopiesImage},
        {"a file-size limit below the image",
         ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t200000", "HEADER\t0", "FILL\t0\tAA"}),
         {.FileSizeLimit = 100 * 1024},
         1,
         "Error #61 -> Disk full\n\nIssue with line # 5\n\n",
         kNoFile},
    };
    for (const ProcessCase& c : cases) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt", c.Script);
        folder.WriteInGame("orig.bin", kOriginal);

        const ProgramResult r =
            RunProgram(KELBRIN_CLI_PATH, {"--remove-header", "--dir", folder.Game}, "", c.Setup);

        EXPECT_EQ(r.Signal, 0);
        EXPECT_EQ(r.ExitStatus, c.ExitStatus);
        EXPECT_NE(r.Err.find(c.ErrHolds), std::string::npos) << r.Err;
        const std::string expanded = folder.Root.Read("game/out.bin").value_or(kNoFile);
        EXPECT_EQ(expanded.size(), c.Expanded.size());
        EXPECT_TRUE(expanded == c.Expanded);
        EXPECT_FALSE(folder.Root.Exists("game/out.bin.kelbrin-unfinished"));
        EXPECT_EQ(folder.Root.Read("game/orig.bin"), kOriginal);
    }
}

TEST(CliProcess, StatusLinesAndBoxesShareOneFileInTheOrderTheyHappened) {
    GameFolder folder;
    folder.WriteInGame("Kelbrin.txt", ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t100\tWRONG",
                                                "HEADER\t0", "COPY\t0\t0", "FILL\t10\tZZ"}));
    folder.WriteInGame("orig.bin", kOriginal);

    const ProgramResult r = RunProgram(KELBRIN_CLI_PATH, {"--remove-header", "--dir", folder.Game},
                                       "", {.Err = Stream::IntoOut});

    EXPECT_EQ(r.ExitStatus, 1);
    EXPECT_EQ(r.Out, "MD5: E2C865DB4162BED963BFAA9EF6AC18F0\n"
                     "Error #0 -> \n\nOriginal ROM's MD5 checksum does not match the checksum in "
                     "the patch.\nYour patched ROM will not match the ROM of the maker of the "
                     "patch.\nClick OK to expand the ROM anyway.\n\n"
                     "No Header\nCopy, Fill, Replace line #4\nCopy, Fill, Replace line #5\n"
                     "Error #0 -> \n\nEnd address ZZ on line FILL\t10\tZZ is not hex\n\n"
                     "Ended due to Error\n");
}

TEST(CliProcess, HelpOrVersionThatCannotBeWrittenIsAFailure) {
    const struct {
        const char* What;
        const char* Option;
        Stream Out;
    } cases[] = {
        {"help into a full device", "--help", Stream::Full},
        {"version into a closed descriptor", "--version", Stream::Closed},
        {"version into a pipe nobody reads", "--version", Stream::BrokenPipe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const ProgramResult r = RunProgram(KELBRIN_CLI_PATH, {c.Option}, "", {.Out = c.Out});
        EXPECT_EQ(r.ExitStatus, 1);
        EXPECT_EQ(r.Err, "kelbrin-cli: cannot write to standard output\n");
    }
}

// Inputs of megabytes under an address-space limit: a run's failure exit quotes a line or a
// name whole, holding no more than a few copies of it; a check holds no more than a run of the
// script; --make-script no more than both files and 64 MiB.
TEST(CliProcess, LargeInputsAreHandledUnderTightMemory) {
    if (kUnderAddressSanitizer) {
        GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
    }
    const std::string hugeLine = "FILL\t100\tZZ\t" + std::string(30'000'000, 'A');
    const std::string hugeName(10'000'000, 'a');
    std::string bytes;
    for (int i = 0; i < 3'000'000; ++i) {
        bytes += "\t1F";
    }
    const std::string newBytes = PseudoRandom(8 << 20);
    struct Case {
        const char* What;
        std::vector<std::pair<std::string, std::string>> Files; // in the game folder
        std::vector<std::string> Args;                          // after the game folder's path
        std::uint64_t LimitMiB;
        int Exit;
        std::string Err; // exactly, when not empty
        std::string Out; // what standard output starts with
    };
    const Case cases[] = {
        {"a run quotes a 30 MB line that breaks a rule",
         {{"Kelbrin.txt", ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t200", "HEADER\t0",
                                    "COPY\t0\t0", hugeLine})}},
         {"--remove-header", "--dir"},
         150,
         1,
         "Error #0 -> \n\nEnd address ZZ on line " + hugeLine + " is not hex\n\n",
         ""},
        {"a run quotes an expanded name of 10 MB",
         {{"Kelbrin.txt",
           ScriptOf({"NAME\torig.bin\t" + hugeName, "SIZE\t100\t100", "HEADER\t0", "COPY\t0\t0"})}},
         {"--remove-header", "--dir"},
         80,
         1,
         "Error #52 -> Bad file name or number\n\nCan't save to Expanded ROM file: '" + hugeName +
             "'\n\n",
         ""},
        {"--check of a REPLACE line of 3 million bytes",
         {{"Kelbrin.txt", ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t2DC6C0",
                                    "HEADER\t10\t4E", "COPY\t0\t0", "REPLACE\t0" + bytes})}},
         {"--check", "--dir"},
         80,
         0,
         "",
         "Fit to ship: both buttons expand the ROM.\n"},
        {"--check of a HEADER line of 3 million bytes",
         {{"Kelbrin.txt", ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t100",
                                    "HEADER\t10" + bytes, "COPY\t0\t0"})}},
         {"--check", "--dir"},
         80,
         1,
         "",
         "Not fit to ship: Expand and Add/Replace Header ends in an error.\n"},
        {"--make-script of 8 MiB that nothing copies: both files and 64 MiB",
         {{"big.bin", newBytes}},
         {"--make-script", "orig.bin", "big.bin", "--output", "s.txt"},
         (8 + 64),
         0,
         "",
         "Script written: s.txt\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        GameFolder folder;
        folder.WriteInGame("orig.bin", kOriginal);
        for (const auto& [name, bytes] : c.Files) {
            folder.WriteInGame(name, bytes);
        }
        std::vector<std::string> args = c.Args;
        if (args.back() == "--dir") {
            args.push_back(folder.Game);
        }

        const ProgramResult r = RunProgram(KELBRIN_CLI_PATH, args, folder.Game,
                                           {.AddressSpaceLimit = c.LimitMiB << 20});

        EXPECT_EQ(r.Signal, 0);
        EXPECT_EQ(r.ExitStatus, c.Exit) << r.Err.substr(0, 200);
        if (!c.Err.empty()) {
            EXPECT_EQ(r.Err.size(), c.Err.size());
            EXPECT_TRUE(r.Err == c.Err) << r.Err.substr(0, 200);
        }
        EXPECT_TRUE(r.Out.starts_with(c.Out)) << r.Out.substr(0, 200);
        EXPECT_FALSE(folder.Root.Exists("game/out.bin"));
    }
}

// --info digests on threads; a process that may start no more (`ulimit -u`) gets its digests
// all the same, never an abort.
TEST(CliProcess, InfoWithoutRoomForThreadsStillTellsTheIdentity) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can run the program as a user of its own with a process limit";
    }
    GameFolder folder;
    folder.WriteInGame("Kelbrin.txt",
                       ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t100", "HEADER\t0"}));
    folder.WriteInGame("orig.bin", kOriginal);
    const ProgramResult usual = RunProgram(KELBRIN_CLI_PATH, {"--info", "--dir", folder.Game});
    ASSERT_EQ(usual.ExitStatus, 0) << usual.Err;
    // Room for the program alone, or for one thread more: a digest thread cannot start.
    // LeakSanitizer checks at the exit from a thread of its own: it needs room for one.
    for (const std::uint64_t limit : {std::uint64_t{1}, std::uint64_t{2}}) {
        if (kUnderAddressSanitizer && limit == 1) {
            continue;
        }
        SCOPED_TRACE(limit);
        const ProgramResult limited = RunProgram(KELBRIN_CLI_PATH, {"--info", "--dir", folder.Game},
                                                 "", {.User = 54321, .ProcessLimit = limit});
        EXPECT_EQ(limited.Signal, 0);
        EXPECT_EQ(limited.ExitStatus, 0) << limited.Err;
        EXPECT_EQ(limited.Out, usual.Out);
    }
}

// kelbrin-cli started as a terminal's shell starts it, with its standard output into a pipe that
// nobody reads: once the pipe is full the run waits where it stands, holding its new file.
class StalledRun {
public:
    explicit StalledRun(const std::string& folder) {
        int ends[2];
        if (::pipe(ends) != 0) {
            throw std::runtime_error("pipe failed");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
                std::signal(signal, SIG_DFL);
            }
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 0);
            ::dup2(ends[1], 1);
            ::dup2(null, 2);
            ::closefrom(3);
            ::execl(KELBRIN_CLI_PATH, KELBRIN_CLI_PATH, "--remove-header", "--dir", folder.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(ends[1]);
        reader_ = ends[0];
    }
    ~StalledRun() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            EndedBy();
        }
        ::close(reader_);
    }

    void Send(int signal) const { ::kill(pid_, signal); }
    // The signal that ended it; 0 when it exited.
    int EndedBy() {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }

private:
    pid_t pid_ = -1;
    int reader_ = -1;
};

// While a run writes, a second one is refused and the folder keeps its expanded file. An
// interrupt removes the run's new file; a run killed outright leaves that one file, which the
// next run takes over.
TEST(CliProcess, InterruptedOrKilledRunLeavesTheExpandedFileAsItWas) {
    // Far more status text than a pipe and the output buffer hold.
    std::string script = ScriptOf({"NAME\torig.bin\tout.bin", "SIZE\t100\t3E80", "HEADER\t0"});
    for (int line = 0; line < 16000; ++line) {
        char fill[32];
        std::snprintf(fill, sizeof fill, "FILL\t%X\t%X\r\n", line, line & 0xFF);
        script += fill;
    }
    std::string image;
    for (int line = 0; line < 16000; ++line) {
        image += static_cast<char>(line & 0xFF);
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(::strsignal(signal));
        GameFolder folder;
        folder.WriteInGame("Kelbrin.txt", script);
        folder.WriteInGame("orig.bin", kOriginal);
        folder.WriteInGame("out.bin", "OLD");
        StalledRun first(folder.Game);
        for (int wait = 0; wait < 1000 && !folder.Root.Exists("game/out.bin.kelbrin-unfinished");
             ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(folder.Root.Exists("game/out.bin.kelbrin-unfinished"));

        const ProgramResult second =
            RunProgram(KELBRIN_CLI_PATH, {"--remove-header", "--dir", folder.Game});
        EXPECT_EQ(second.ExitStatus, 1);
        EXPECT_EQ(second.Err, "Error #70 -> Permission denied\n\n"
                              "Can't save to Expanded ROM file: 'out.bin'\n\n");

        first.Send(signal);
        EXPECT_EQ(first.EndedBy(), signal);
        EXPECT_EQ(folder.Root.Read("game/out.bin"), "OLD");
        EXPECT_EQ(folder.Root.Exists("game/out.bin.kelbrin-unfinished"), signal == SIGKILL);

        const ProgramResult next =
            RunProgram(KELBRIN_CLI_PATH, {"--remove-header", "--dir", folder.Game});
        EXPECT_EQ(next.ExitStatus, 0);
        EXPECT_TRUE(folder.Root.Read("game/out.bin") == image);
        EXPECT_FALSE(folder.Root.Exists("game/out.bin.kelbrin-unfinished"));
    }
}

} // namespace
} // namespace kelbrin::test
