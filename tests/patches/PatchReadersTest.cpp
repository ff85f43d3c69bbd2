#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ChecksummedBytes.h"
#include "Patch.h"
#include "PatchErrors.h"
#include "PseudoRandom.h"
#include "RuntimeError.h"

namespace kelbrin {
namespace {

using test::Crc32Of;
using test::LittleEndian;
using test::Number;

using namespace std::string_literals;

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A small number of BPS and UPS in its one byte.
std::string N(int value) {
    return std::string(1, static_cast<char>(0x80 | value));
}

// A BPS or UPS patch: its magic and `body`, closed by the checksums of `source`, `target` and
// itself. A patch that lies about a ROM is made with the wrong ROM.
std::string Closed(const std::string& magic, const std::string& body, const std::string& source,
                   const std::string& target) {
    std::string patch =
        magic + body + LittleEndian(Crc32Of(source)) + LittleEndian(Crc32Of(target));
    return patch + LittleEndian(Crc32Of(patch));
}

std::string Bps(const std::string& body, const std::string& source, const std::string& target) {
    return Closed("BPS1", body, source, target);
}

std::string Ups(const std::string& body, const std::string& source, const std::string& target) {
    return Closed("UPS1", body, source, target);
}

std::string Flipped(std::string patch, std::size_t at) {
    patch[at] = static_cast<char>(patch[at] ^ 0x01);
    return patch;
}

const std::string kSource = "ABCDEFGH";

// Every kind of action: SourceRead 2, TargetRead 3, SourceCopy 2 from 6, SourceCopy 1 going
// back to 0, and TargetCopy 4 from the last byte written, which runs on into its own bytes.
const std::string kBpsBody = N(8) + N(12) + N(1) + "m" + N(1 << 2 | 0) + N(2 << 2 | 1) + "xyz" +
                             N(1 << 2 | 2) + N(6 << 1) + N(0 << 2 | 2) + N(8 << 1 | 1) +
                             N(3 << 2 | 3) + N(7 << 1);
const std::string kBpsTarget = "ABxyzGHAAAAA";

// Changes one byte in place, then adds two past the original's end.
const std::string kUpsBody = N(8) + N(10) + N(2) + "\x20"s + '\0' + N(4) + "ij" + '\0';
const std::string kUpsTarget = "ABcDEFGHij";

struct GoodPatch {
    const char* name;
    std::string patch;
    std::string source;
    std::string target;
};

// TargetCopy actions of hundreds of KiB, written a piece at a time: one whose period is three
// bytes, one whose period is longer than a piece.
GoodPatch LongTargetCopies() {
    const std::size_t kLong = 600 * 1024;
    const std::string block = test::PseudoRandom(300 * 1024);
    std::string target = "xyz";
    while (target.size() < 3 + kLong) {
        target += target.substr(0, 3);
    }
    target += block;
    for (std::size_t i = 0; i < kLong; ++i) {
        target += block[i % block.size()];
    }
    const std::string body = Number(0) + Number(target.size()) + Number(0) + Number(2 << 2 | 1) +
                             "xyz" + Number((kLong - 1) << 2 | 3) + Number(0) +
                             Number((block.size() - 1) << 2 | 1) + block +
                             Number((kLong - 1) << 2 | 3) + Number(3 << 1);
    return {"BPS target copies longer than a piece", Bps(body, "", target), "", target};
}

TEST(PatchApplyTest, GivesTheAuthorsBytes) {
    const std::vector<GoodPatch> table = {
        {"IPS record", "PATCH\0\0\x01\0\x02xyEOF"s, "ABCD", "AxyD"},
        {"IPS run", "PATCH\0\0\0\0\0\0\x03zEOF"s, "ABCD", "zzzD"},
        {"IPS overlapping records in file order", "PATCH\0\0\0\0\x03xyz\0\0\x01\0\x01QEOF"s, "ABCD",
         "xQzD"},
        {"IPS record past the end, the gap 0", "PATCH\0\0\x06\0\x01kEOF"s, "AB", "AB\0\0\0\0k"s},
        {"IPS record ending at the furthest reach",
         "PATCH\xFF\xFF\xFF\0\0\xFF\xFF\x01"
         "EOF"s,
         "", std::string(0xFFFFFF, '\0') + std::string(0xFFFF, '\x01')},
        {"IPS truncation", "PATCH\0\0\0\0\x01xEOF\0\0\x02"s, "ABCD", "xB"},
        {"IPS without records", "PATCHEOF", "ABCD", "ABCD"},
        {"IPS32", "IPS32\0\0\0\x01\0\x01xEEOF"s, "ABCD", "AxCD"},
        {"BPS with every action", Bps(kBpsBody, kSource, kBpsTarget), kSource, kBpsTarget},
        {"UPS growing", Ups(kUpsBody, kSource, kUpsTarget), kSource, kUpsTarget},
        // The hunk undoing the cut runs to the original's end, its closing 0 one past it.
        {"UPS shrinking", Ups(N(8) + N(3) + N(3) + "DEFGH" + '\0', kSource, "ABC"), kSource, "ABC"},
        LongTargetCopies(),
    };
    for (const GoodPatch& row : table) {
        SCOPED_TRACE(row.name);
        const PageBuffer target = ApplyPatch("hack", Bytes(row.patch), Bytes(row.source));
        EXPECT_EQ(std::string(target.Bytes().begin(), target.Bytes().end()), row.target);
    }
}

struct BadPatch {
    const char* name;
    std::string patch;
    std::int32_t number;
};

TEST(PatchApplyTest, RefusesADamagedOrHostilePatchWithItsNumber) {
    const std::string bps = Bps(kBpsBody, kSource, kBpsTarget);
    const std::string ups = Ups(kUpsBody, kSource, kUpsTarget);
    // An action list on the original of 8 bytes, making 4.
    const auto bpsActions = [](const std::string& actions) {
        return Bps(N(8) + N(4) + N(0) + actions, kSource, "AAAA");
    };
    const std::vector<BadPatch> table = {
        {"no format", "MZ\x90", ErrPatchUnknownFormat},
        {"empty", "", ErrPatchUnknownFormat},
        {"xdelta", "\xD6\xC3\xC4\0"s, ErrPatchFormatNotApplied},
        {"zip", "PK\x03\x04", ErrPatchFormatNotApplied},
        {"IPS without its end mark", "PATCH\0\0\x01\0\x02xy"s, ErrPatchCutShort},
        {"IPS record cut short", "PATCH\0\0\x01\0\x06xyEOF"s, ErrPatchCutShort},
        {"IPS run of 0 bytes", "PATCH\0\0\x01\0\0\0\0zEOF"s, ErrPatchEmptyRun},
        {"IPS byte after its end mark", "PATCHEOF\0"s, ErrPatchBytesAfterEnd},
        {"IPS 4 bytes after its end mark", "PATCHEOF\0\0\0\x01"s, ErrPatchBytesAfterEnd},
        {"IPS cut longer than the ROM", "PATCHEOF\0\0\x09"s, ErrPatchWrongSource},
        {"IPS32 truncation", "IPS32EEOF\0\0\x02"s, ErrPatchBytesAfterEnd},
        {"IPS32 past the largest ROM", "IPS32\xFF\xFF\xFF\0\0\x01xEEOF"s, ErrPatchTargetTooLarge},
        {"BPS flipped byte", Flipped(bps, 9), ErrPatchChecksum},
        {"BPS cut short", bps.substr(0, bps.size() - 1), ErrPatchChecksum},
        {"BPS shorter than its checksums", "BPS1\x80\x80"s, ErrPatchCutShort},
        {"BPS lying about the original", Bps(kBpsBody, "ABCDEFGX", kBpsTarget),
         ErrPatchWrongSource},
        {"BPS lying about the result", Bps(kBpsBody, kSource, "ABxyzGHAAAAB"), ErrPatchWrongResult},
        {"BPS metadata past its end", Bps(N(8) + N(0) + N(20) + "m", kSource, ""),
         ErrPatchCutShort},
        {"BPS number past 64 bits", Bps(std::string(10, '\x7F') + N(0) + N(0) + N(0), kSource, ""),
         ErrPatchNumberTooLarge},
        {"BPS patched ROM past 512 MiB", Bps(N(8) + "\0\0\0\0"s + N(1) + N(0), kSource, ""),
         ErrPatchTargetTooLarge},
        {"BPS reading past the original", Bps(N(2) + N(4) + N(0) + N(3 << 2 | 0), "AB", "ABCD"),
         ErrPatchReadOutsideSource},
        {"BPS copy before the original", bpsActions(N(3 << 2 | 2) + N(1 << 1 | 1)),
         ErrPatchReadOutsideSource},
        {"BPS copy past the original", bpsActions(N(3 << 2 | 2) + N(5 << 1)),
         ErrPatchReadOutsideSource},
        {"BPS copy from the unwritten ROM", bpsActions(N(0 << 2 | 0) + N(2 << 2 | 3) + N(1 << 1)),
         ErrPatchReadUnwrittenTarget},
        {"BPS copy from before the ROM", bpsActions(N(0 << 2 | 0) + N(2 << 2 | 3) + N(1 << 1 | 1)),
         ErrPatchReadUnwrittenTarget},
        {"BPS writing past the ROM's end", bpsActions(N(4 << 2 | 0)), ErrPatchTargetSize},
        {"BPS leaving the ROM short", bpsActions(N(2 << 2 | 0)), ErrPatchTargetSize},
        {"UPS flipped byte", Flipped(ups, 7), ErrPatchChecksum},
        {"UPS lying about the original", Ups(kUpsBody, "ABCDEFG", kUpsTarget), ErrPatchWrongSource},
        {"UPS lying about the result", Ups(kUpsBody, kSource, "ABcDEFGHik"), ErrPatchWrongResult},
        {"UPS hunk past both ends", Ups(N(8) + N(8) + N(9) + "x" + '\0', kSource, kSource),
         ErrPatchTargetSize},
        {"UPS hunk without its closing 0", Ups(N(8) + N(8) + N(1) + "x", kSource, kSource),
         ErrPatchCutShort},
    };
    for (const BadPatch& row : table) {
        SCOPED_TRACE(row.name);
        std::int32_t described = 0;
        try {
            DescribePatch("bad", Bytes(row.patch));
        } catch (const RuntimeError& error) {
            described = error.Number();
        }
        try {
            ApplyPatch("bad", Bytes(row.patch), Bytes(kSource));
            ADD_FAILURE() << "applied";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), row.number) << error.Description();
            // What the patch alone shows is refused without the ROM.
            EXPECT_TRUE(described == 0 || described == row.number) << described;
        }
    }
}

TEST(PatchMessageTest, NamesThePatchWhatIsWrongAndWhere) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"PATCH\0\0\x01\0\x02xyEOF\0\0\0\0"s,
         "The IPS patch 'hack.ips' is damaged: 0x4 bytes follow its end mark at offset 0xC, "
         "where nothing or a 3-byte length may stand."},
        {"PATCH\0\0\x01\0\0\0\0zEOF"s,
         "The IPS patch 'hack.ips' is damaged: the run at offset 0xA repeats its byte 0 times."},
        {"\xD6\xC3\xC4\0"s, "'hack.ips' is an xdelta (VCDIFF) patch. Kelbrin does not apply "
                            "xdelta (VCDIFF) patches: apply it with a patcher made for them."},
        {Bps(kBpsBody, "ABCDEFGX", kBpsTarget),
         "The BPS patch 'hack.ips' was made for another ROM: it expects 0x8 bytes with the CRC32 " +
             Crc32::Text(Crc32Of("ABCDEFGX")) + ", and this ROM has 0x8 bytes with the CRC32 " +
             Crc32::Text(Crc32Of(kSource)) + "."},
    };
    for (const auto& [patch, message] : table) {
        try {
            ApplyPatch("hack.ips", Bytes(patch), Bytes(kSource));
            ADD_FAILURE() << "applied: " << message;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Description(), message);
        }
    }
}

TEST(PatchDescribeTest, TellsWhatThePatchHoldsWithoutTheRom) {
    const PatchDescription bps = DescribePatch("hack", Bytes(Bps(kBpsBody, kSource, kBpsTarget)));
    EXPECT_EQ(bps.Format, PatchFormat::Bps);
    EXPECT_EQ(bps.SourceSize, 8u);
    EXPECT_EQ(bps.TargetSize, 12u);
    EXPECT_EQ(bps.SourceCrc32, Crc32Of(kSource));
    EXPECT_EQ(bps.TargetCrc32, Crc32Of(kBpsTarget));
    EXPECT_EQ(bps.Metadata, "m");
    EXPECT_EQ(bps.Records, 5u);
    EXPECT_EQ(bps.BpsActions, (std::array<std::uint64_t, 4>{1, 1, 2, 1}));

    const PatchDescription ips =
        DescribePatch("hack", Bytes("PATCH\0\0\x06\0\x01k\0\0\0\0\0\0\x03zEOF\0\0\x02"s));
    EXPECT_EQ(ips.Format, PatchFormat::Ips);
    EXPECT_EQ(ips.Records, 2u);
    EXPECT_EQ(ips.Runs, 1u);
    EXPECT_EQ(ips.Reach, 7u);
    EXPECT_EQ(ips.Truncation, 2u);
    EXPECT_FALSE(ips.SourceCrc32);

    const PatchDescription ups = DescribePatch("hack", Bytes(Ups(kUpsBody, kSource, kUpsTarget)));
    EXPECT_EQ(ups.Records, 2u);
    EXPECT_EQ(ups.TargetSize, 10u);
}

} // namespace
} // namespace kelbrin
