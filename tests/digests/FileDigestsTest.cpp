// The digests of a file read once: against published values everywhere, against coreutils'
// md5sum and sha1sum and gzip's CRC at the edges of blocks, chunks and the chunk ring, and the
// same when threads run short.

#include "FileDigests.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "PseudoRandom.h"
#include "RaisedNumber.h"
#include "RunProgram.h"
#include "TempFolder.h"

namespace kelbrin::test {
namespace {

const Digests kAbc{"352441C2", "900150983CD24FB0D6963F7D28E17F72",
                   "A9993E364706816ABA3E25717850C26C9CD0D89D"};
const Digests kEmpty{"00000000", "D41D8CD98F00B204E9800998ECF8427E",
                     "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"};

TEST(FileDigests, PublishedValuesWithAndWithoutAHeader) {
    struct Case {
        const char* Name;
        std::string Bytes;
        std::int32_t HeaderSize;
        Digests Image;
        std::optional<Digests> WholeFile;
    };
    const Case cases[] = {
        {"empty", "", 0, kEmpty, std::nullopt},
        {"abc", "abc", 0, kAbc, std::nullopt},
        {"abc behind a header", "HDRabc", 3, kAbc,
         Digests{"54DB88D2", "73A8BE88C766944EE7B764C82E5D7FE5",
                 "42E637A85A74E483BD282B413687276BA1797591"}},
        {"all header", "abc", 3, kEmpty, kAbc},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        folder.Write("rom", c.Bytes);
        const FileDigests digests = DigestFile(
            folder.PathOf("rom"), static_cast<std::int64_t>(c.Bytes.size()), c.HeaderSize);
        EXPECT_EQ(digests.Image, c.Image);
        EXPECT_EQ(digests.WholeFile, c.WholeFile);
    }
}

// The MD5 class counts at most FFFFFFF bytes, the largest image a script describes; a longer
// file, such as an original of a length that fits no script, is digested all the same.
TEST(FileDigests, FileLongerThanAnyImageIsDigestedWhole) {
    TempFolder folder;
    folder.Write("rom", "");
    constexpr std::int64_t kLength = std::int64_t{1} << 28;
    std::filesystem::resize_file(folder.PathOf("rom"), kLength);
    const FileDigests digests = DigestFile(folder.PathOf("rom"), kLength, 0);
    EXPECT_EQ(digests.Image, (Digests{"2A0E7DBB", "1F5039E50BD66B290C56684D8550C6C2",
                                      "7B91DBDC56C5781EDF6C8847B4AA6965566C5C75"}));
}

TEST(FileDigests, FileCutShortBeforeItIsReadIsError62) {
    TempFolder folder;
    folder.Write("rom", "abc");
    EXPECT_EQ(RaisedNumber([&] { DigestFile(folder.PathOf("rom"), 4, 0); }), 62);
}

// A process that may start no more threads (a user's process limit, `ulimit -u`) still gets its
// digests, made on the calling thread: never an abort.
TEST(FileDigests, SameDigestsWhenThreadsCannotBeStarted) {
    TempFolder folder;
    const std::string bytes = PseudoRandom(7 << 20); // past the ring of chunks
    folder.Write("rom", bytes);
    const auto length = static_cast<std::int64_t>(bytes.size());
    const FileDigests expected = DigestFile(folder.PathOf("rom"), length, 16);
    for (const int threadsStarted : {0, 1, 2}) {
        SCOPED_TRACE(threadsStarted);
        int started = 0;
        const ThreadStarter limited = [&](std::function<void()> work) {
            if (started == threadsStarted) {
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            ++started;
            return StartThread(std::move(work));
        };
        const FileDigests digests = DigestFile(folder.PathOf("rom"), length, 16, limited);
        EXPECT_EQ(digests.Image, expected.Image);
        EXPECT_EQ(digests.WholeFile, expected.WholeFile);
    }
}

TEST(FileDigests, AgreeWithCoreutilsAndGzipAtEveryEdge) {
#ifdef _WIN32
    GTEST_SKIP() << "the references come from md5sum, sha1sum and gzip, which Windows lacks";
#else
    constexpr std::size_t kMiB = 1 << 20;
    // Around a 64-byte block and a chunk of the read, and past the ring of chunks (6 MiB),
    // which wraps round twice.
    const std::size_t sizes[] = {1, 63, 64, 65, kMiB - 1, kMiB, kMiB + 1, 13 * kMiB + 17};
    const std::int32_t headers[] = {0, 16, 512};
    const std::string data = PseudoRandom(13 * kMiB + 17 + 512);
    TempFolder folder;
    std::vector<std::string> names;
    for (const std::size_t size : sizes) {
        for (const std::int32_t header : headers) {
            names.push_back(std::to_string(size) + "+" + std::to_string(header));
            folder.Write(names.back(), data.substr(0, size + static_cast<std::size_t>(header)));
            names.push_back(names.back() + ".image");
            folder.Write(names.back(), data.substr(static_cast<std::size_t>(header), size));
        }
    }
    std::map<std::string, Digests> reference;
    for (const auto& [tool, field] : {std::pair("/usr/bin/md5sum", &Digests::MD5),
                                      std::pair("/usr/bin/sha1sum", &Digests::SHA1)}) {
        const ProgramResult run = RunProgram(tool, names, folder.Path());
        ASSERT_EQ(run.ExitStatus, 0) << run.Err;
        std::istringstream lines(run.Out);
        for (std::string digest, name; lines >> digest >> name;) {
            std::transform(digest.begin(), digest.end(), digest.begin(), ::toupper);
            reference[name].*field = digest;
        }
    }
    // gzip ends its stream with the CRC-32 of what it packed, least significant byte first.
    for (const std::string& name : names) {
        const ProgramResult run = RunProgram("/bin/gzip", {"-1", "-c", name}, folder.Path());
        ASSERT_EQ(run.ExitStatus, 0) << run.Err;
        const auto byte = [&](std::size_t i) {
            return static_cast<unsigned>(
                static_cast<unsigned char>(run.Out[run.Out.size() - 8 + i]));
        };
        char crc[9];
        std::snprintf(crc, sizeof crc, "%02X%02X%02X%02X", byte(3), byte(2), byte(1), byte(0));
        reference[name].Crc32 = crc;
    }

    for (const std::size_t size : sizes) {
        for (const std::int32_t header : headers) {
            const std::string name = std::to_string(size) + "+" + std::to_string(header);
            SCOPED_TRACE(name);
            const FileDigests digests =
                DigestFile(folder.PathOf(name), static_cast<std::int64_t>(size) + header, header);
            EXPECT_EQ(digests.Image, reference[name + ".image"]);
            if (header == 0) {
                EXPECT_FALSE(digests.WholeFile.has_value());
            } else {
                EXPECT_EQ(digests.WholeFile, reference[name]);
            }
        }
    }
#endif
}

} // namespace
} // namespace kelbrin::test
