#include "MD5.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <span>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "PseudoRandom.h"
#include "RaisedNumber.h"
#include "RunProgram.h"
#include "TempFolder.h"

namespace kelbrin {

namespace {

using test::PseudoRandom;
using test::RaisedNumber;
using test::TempFolder;

const std::string kEmptyDigest = "D41D8CD98F00B204E9800998ECF8427E";
const std::string kInitValues = "0123456789ABCDEFFEDCBA9876543210";

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(MD5DigestTest, RfcSuiteGivesUpperCaseDigestsForStringsAndFiles) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"", kEmptyDigest},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    TempFolder tmp;
    MD5 md5; // one object for every digest: the drivers start afresh each time
    for (const auto& [text, digest] : table) {
        SCOPED_TRACE(text);
        tmp.Write("rfc", text);
        EXPECT_EQ(md5.DigestStrToHexStr(text), digest);
        EXPECT_EQ(md5.DigestFileToHexStr(tmp.PathOf("rfc"), false, 0), digest);
    }
}

TEST(MD5DigestTest, FileStringAndPiecewiseDigestsAgreeWithCoreutilsAtEveryBoundary) {
#ifdef _WIN32
    GTEST_SKIP() << "the reference digests come from md5sum, which Windows lacks";
#else
    // Around the reader's 256 KiB chunk and far past it, then every short length.
    std::vector<std::size_t> lengths = {255,   256,    4095,   4096,   65535,
                                        65536, 262143, 262144, 262145, 1000003};
    for (std::size_t n = 0; n <= 200; ++n) {
        lengths.push_back(n);
    }
    const std::string data = PseudoRandom(1000003);
    TempFolder tmp;
    std::vector<std::string> names;
    for (std::size_t n : lengths) {
        names.push_back("len" + std::to_string(n));
        tmp.Write(names.back(), data.substr(0, n));
    }
    const test::ProgramResult run = test::RunProgram("/usr/bin/md5sum", names, tmp.Path());
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    std::map<std::string, std::string> reference;
    std::istringstream lines(run.Out);
    for (std::string digest, name; lines >> digest >> name;) {
        std::transform(digest.begin(), digest.end(), digest.begin(), ::toupper);
        reference[name] = digest;
    }

    const std::size_t pieces[] = {1, 63, 64, 65, 32767};
    MD5 md5;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const std::size_t n = lengths[i];
        const std::string& expected = reference[names[i]];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(md5.DigestFileToHexStr(tmp.PathOf(names[i]), false, 0), expected);
        if (n <= 32767) {
            EXPECT_EQ(md5.DigestStrToHexStr(data.substr(0, n)), expected);
        }
        // The buffer always runs to the data's end: only the first InputLen bytes may count.
        MD5 pieced;
        pieced.MD5Init();
        for (std::size_t at = 0, k = 0; at < n; ++k) {
            const std::size_t len = std::min(pieces[k % std::size(pieces)], n - at);
            pieced.MD5Update(static_cast<std::int32_t>(len), Bytes(data).subspan(at));
            at += len;
        }
        pieced.MD5Final();
        EXPECT_EQ(pieced.GetValues(), expected);
    }
#endif
}

TEST(MD5DigestTest, HeaderIsSkippedOnlyWhenTheOriginalHasOne) {
    const std::string whole = PseudoRandom(512 + 262145); // the payload crosses a chunk
    const auto length = static_cast<std::int32_t>(whole.size());
    // A header as long as the file, or longer, leaves the empty message.
    const struct {
        bool hasHeader;
        std::int32_t headerSize, digestedFrom;
    } table[] = {{true, 512, 512},       {true, 100, 100},
                 {true, 0, 0},           {false, 512, 0},
                 {false, -7, 0},         {false, length + 9, 0},
                 {true, length, length}, {true, length + 9, length}};
    TempFolder tmp;
    tmp.Write("whole", whole);
    MD5 md5;
    for (const auto& row : table) {
        SCOPED_TRACE(std::to_string(row.hasHeader) + " " + std::to_string(row.headerSize));
        tmp.Write("tail", whole.substr(static_cast<std::size_t>(row.digestedFrom)));
        const std::string expected = md5.DigestFileToHexStr(tmp.PathOf("tail"), false, 0);
        EXPECT_EQ(md5.DigestFileToHexStr(tmp.PathOf("whole"), row.hasHeader, row.headerSize),
                  expected);
    }
}

TEST(MD5ArithmeticTest, LongLeftRotateReducesTheCountAndHandsBothBack) {
    const struct {
        std::int32_t value, bits, rotated, reducedBits;
    } table[] = {
        {0x12345678, 4, 0x23456781, 4},    {0x12345678, 32, 0x12345678, 0},
        {0x12345678, 33, 0x2468ACF0, 1},   {0x12345678, -1, 0x12345678, -1},
        {0x12345678, -33, 0x12345678, -1}, {INT32_MIN, 1, 1, 1},
        {0x40000000, 1, INT32_MIN, 1},     {1, 31, INT32_MIN, 31},
        {-1073741824, 1, -2147483647, 1}, // C0000000: both top bits move at once
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::to_string(row.value) + " by " + std::to_string(row.bits));
        std::int32_t value = row.value;
        std::int32_t bits = row.bits;
        EXPECT_EQ(MD5::LongLeftRotate(value, bits), row.rotated);
        EXPECT_EQ(value, row.rotated);
        EXPECT_EQ(bits, row.reducedBits);
    }
}

TEST(MD5StateTest, FreshObjectIsAllZeroAndInitLoadsTheRfcRegisters) {
    using Texts = std::vector<std::string>;
    MD5 md5;
    EXPECT_EQ(md5.GetValues(), std::string(32, '0'));
    EXPECT_EQ((Texts{md5.RegisterA(), md5.RegisterB(), md5.RegisterC(), md5.RegisterD()}),
              (Texts{"0", "0", "0", "0"}));
    md5.MD5Init();
    EXPECT_EQ(md5.GetValues(), kInitValues);
    EXPECT_EQ((Texts{md5.RegisterA(), md5.RegisterB(), md5.RegisterC(), md5.RegisterD()}),
              (Texts{"1732584193", "-271733879", "-1732584194", "271733878"}));
}

TEST(MD5LimitTest, OverlongInputsRaiseTheirErrorsBeforeTouchingTheState) {
    const std::string buffer(32768, 'k');
    const auto bytes = Bytes(buffer);
    TempFolder tmp;
    const std::vector<std::tuple<std::string, std::function<void(MD5&)>, int>> table = {
        {"update 32768", [&](MD5& m) { m.MD5Update(32768, bytes); }, 6},
        {"update 32767", [&](MD5& m) { m.MD5Update(32767, bytes); }, 0},
        {"buffer short", [&](MD5& m) { m.MD5Update(100, bytes.first(99)); }, 9},
        {"negative length", [&](MD5& m) { m.MD5Update(-1, bytes); }, 9},
        {"string 32768", [&](MD5& m) { m.DigestStrToHexStr(buffer); }, 6},
        {"string 32767", [&](MD5& m) { m.DigestStrToHexStr(buffer.substr(1)); }, 0},
        {"missing file", [&](MD5& m) { m.DigestFileToHexStr(tmp.PathOf("none"), false, 0); }, 53},
    };
    for (const auto& [name, action, error] : table) {
        SCOPED_TRACE(name);
        MD5 md5;
        md5.MD5Init();
        // Clang 14 cannot capture a structured binding in a lambda yet.
        const auto& act = action;
        EXPECT_EQ(RaisedNumber([&] { act(md5); }), error);
        EXPECT_TRUE(error == 0 || md5.GetValues() == kInitValues);
    }
}

TEST(MD5LimitTest, FinalRaisesOverflowFromTwoTo28Bytes) {
    const std::string buffer(32767, 'k');
    MD5 md5;
    md5.MD5Init();
    for (int i = 0; i < 8192; ++i) {
        md5.MD5Update(32767, Bytes(buffer));
    }
    md5.MD5Update(8191, Bytes(buffer)); // 2^28 - 1 bytes so far
    MD5 justBelow = md5;
    EXPECT_EQ(RaisedNumber([&] { justBelow.MD5Final(); }), 0);
    md5.MD5Update(1, Bytes(buffer));
    EXPECT_EQ(RaisedNumber([&] { md5.MD5Final(); }), 6);
}

} // namespace
} // namespace kelbrin
