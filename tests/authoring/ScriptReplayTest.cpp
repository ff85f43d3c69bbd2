// The check a script passes before it is written: a run of its text in memory must say what a
// real run says about the same script, files and button.

#include "ScriptReplay.h"

#include <gtest/gtest.h>
#include <string>

#include "AuthoringHarness.h"
#include "ImageDigest.h"

namespace kelbrin::test {
namespace {

const std::string kOriginal = Image(0x40);
const std::string kDigest = ImageDigest(BytesOf(kOriginal));
const std::string kHead = "NAME\torig.nes\tbig.nes\r\nSIZE\t40\t";

std::string Copied(std::size_t from, std::size_t count) {
    return kOriginal.substr(from, count);
}

struct Case {
    const char* What;
    std::string Script;
    std::string Expanded;
    bool AddsHeader;
};

const Case kCases[] = {
    {"a REPLACE line in a copy drops the source bytes under it",
     kHead + "10\r\nHEADER\t0\r\nCOPY\t0\t20\r\nREPLACE\t4\t11\t22\r\n",
     Copied(0x20, 4) + "\x11\x22" + Copied(0x26, 10), false},
    {"a wrong byte is found", kHead + "10\r\nHEADER\t0\r\nCOPY\t0\t20\r\nREPLACE\t4\t11\t22\r\n",
     Copied(0x20, 4) + "\x11\x23" + Copied(0x26, 10), false},
    {"a copy past the original's end reads 00", kHead + "48\r\nHEADER\t0\r\nCOPY\t0\t0\r\n",
     kOriginal + std::string(8, '\0'), false},
    {"the last REPLACE line's bytes outlast a smaller final size",
     kHead + "4\r\nHEADER\t0\r\nFILL\t0\tAA\r\nREPLACE\t6\t1\r\n", "\xAA\xAA\xAA\xAA\xAA\xAA\x01",
     false},
    {"an image one byte short", kHead + "10\r\nHEADER\t0\r\nCOPY\t0\t0\r\n", Copied(0, 0x11),
     false},
    {"two ranges at one address: the first writes nothing",
     kHead + "8\r\nHEADER\t0\r\nFILL\t0\t1\r\nCOPY\t0\t8\r\n", Copied(8, 8), false},
    {"the first line not at 0", kHead + "8\r\nHEADER\t0\r\nCOPY\t1\t0\r\n", Copied(0, 8), false},
    {"a REPLACE line first", kHead + "1\r\nHEADER\t0\r\nREPLACE\t0\t0\r\n", std::string(1, '\0'),
     false},
    {"an added header padded with 00", kHead + "8\r\nHEADER\t4\t4E\r\nCOPY\t0\t0\r\n",
     std::string("N\0\0\0", 4) + Copied(0, 8), true},
    {"an added header the script does not hold", kHead + "8\r\nHEADER\t4\t4E\r\nCOPY\t0\t0\r\n",
     std::string("NES\0", 4) + Copied(0, 8), true},
    {"no header to add", kHead + "8\r\nHEADER\t0\r\nCOPY\t0\t0\r\n", Copied(0, 8), true},
    {"the original's checksum", kHead + "8\t" + kDigest + "\r\nHEADER\t0\r\nCOPY\t0\t0\r\n",
     Copied(0, 8), false},
    {"a checksum that warns", kHead + "8\t" + std::string(32, '0') + "\r\nHEADER\t0\r\nCOPY\t0\t0",
     Copied(0, 8), false},
    {"a blank line at the end", kHead + "8\r\nHEADER\t0\r\nCOPY\t0\t0\r\n\r\n", Copied(0, 8),
     false},
};

TEST(ScriptReplay, SaysWhatARealRunSays) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.What);
        const bool real = RealRun(c.Script, kOriginal, c.AddsHeader) == c.Expanded;
        EXPECT_EQ(RebuildsExactly(c.Script, BytesOf(kOriginal), BytesOf(c.Expanded), c.AddsHeader),
                  real);
    }
}

TEST(ScriptReplay, StopsAtTheRunsLineLimit) {
    // 32,763 directive lines are the most a run counts; one more overflows its counter.
    for (const int lines : {32763, 32764}) {
        std::string script = kHead + "1\r\nHEADER\t0\r\n";
        for (int i = 0; i < lines; ++i) {
            script += "FILL\t0\t0\r\n";
        }
        EXPECT_EQ(RebuildsExactly(script, BytesOf(kOriginal), BytesOf(std::string(1, '\0')), false),
                  lines == 32763)
            << lines;
    }
}

} // namespace
} // namespace kelbrin::test
