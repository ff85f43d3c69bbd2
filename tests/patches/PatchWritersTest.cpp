#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "BpsWriter.h"
#include "Crc32.h"
#include "IpsWriter.h"
#include "Patch.h"
#include "PatchErrors.h"
#include "PatchedRomComparison.h"
#include "RuntimeError.h"
#include "UpsWriter.h"

namespace kelbrin {
namespace {

using namespace std::string_literals;

using Bytes = std::vector<std::uint8_t>;

std::span<const std::uint8_t> Span(const Bytes& bytes) {
    return bytes;
}

Bytes Of(const std::string& text) {
    return {text.begin(), text.end()};
}

// Bytes that repeat nothing, as compiled code nearly does.
Bytes Random(std::size_t size, std::uint64_t seed) {
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes) {
        seed = seed * 6364136223846793005u + 1442695040888963407u;
        byte = static_cast<std::uint8_t>(seed >> 56);
    }
    return bytes;
}

// A ROM image: code, a tile repeated 64 times, and padding.
Bytes RomLike(std::size_t size) {
    Bytes rom = Random(size, 7);
    const Bytes tile = Random(64, 9);
    for (std::size_t i = 0; i < 64; ++i) {
        std::copy(tile.begin(), tile.end(),
                  rom.begin() + static_cast<std::ptrdiff_t>(size / 4 + i * 64));
    }
    std::fill(rom.end() - static_cast<std::ptrdiff_t>(size / 8), rom.end(), 0xFF);
    return rom;
}

Bytes Changed(Bytes bytes, std::initializer_list<std::size_t> offsets) {
    for (const std::size_t at : offsets) {
        bytes[at] ^= 0x5A;
    }
    return bytes;
}

Bytes Spliced(const Bytes& bytes, std::size_t at, const Bytes& inserted) {
    Bytes spliced(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    spliced.insert(spliced.end(), inserted.begin(), inserted.end());
    spliced.insert(spliced.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    return spliced;
}

// `count` bytes from `from` copied over those at `to`.
Bytes Moved(Bytes bytes, std::size_t from, std::size_t to, std::size_t count) {
    const Bytes block(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                      bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
    std::copy(block.begin(), block.end(), bytes.begin() + static_cast<std::ptrdiff_t>(to));
    return bytes;
}

struct Pair {
    const char* name;
    Bytes source;
    Bytes target;
    // A BPS patch larger than this finds too little of the target in what it has.
    std::size_t largestBps;
};

std::vector<Pair> Pairs() {
    const Bytes rom = RomLike(0x40000);
    const Bytes fresh = Random(0x1000, 11);
    const Bytes newTile = Random(0x200, 13);
    Bytes grown = rom;
    grown.insert(grown.end(), fresh.begin(), fresh.end());
    return {
        {"equal", rom, rom, 40},
        {"one byte changed", rom, Changed(rom, {0x1234}), 40},
        {"scattered edits", rom, Changed(rom, {0x10, 0x5000, 0x5001, 0x20000, 0x3FFFF}), 80},
        {"grown", rom, grown, 0x1000 + 40},
        {"grown by zeros", rom, Spliced(rom, rom.size(), Bytes(0x8000, 0)), 50},
        {"shrunk", rom, Bytes(rom.begin(), rom.begin() + 0x30000), 40},
        {"moved block", rom, Moved(rom, 0x1000, 0x21000, 0x800), 60},
        {"block repeated in new bytes", rom, Spliced(Spliced(rom, 0x100, newTile), 0x300, newTile),
         0x200 + 60},
        {"inserted 64 KiB", rom, Spliced(rom, 0x20000, Random(0x10000, 17)), 0x10000 + 60},
        {"unrelated", rom, Random(0x40000, 19), 0x40000 + 0x40000 / 64},
        {"empty target", rom, {}, 30},
        {"empty source", {}, fresh, 0x1000 + 30},
        {"both empty", {}, {}, 30},
        {"tiny", Of("ABCD"), Of("ABxD"), 40},
    };
}

TEST(PatchWriterTest, EveryPatchMakesTheTargetThroughTheReaders) {
    for (const Pair& pair : Pairs()) {
        SCOPED_TRACE(pair.name);
        const PatchBytes bps = MakeBpsPatch(Span(pair.source), Span(pair.target));
        EXPECT_LE(bps.size(), pair.largestBps);
        for (const PatchBytes& patch :
             {bps, MakeIpsPatch(Span(pair.source), Span(pair.target), "t"),
              MakeUpsPatch(Span(pair.source), Span(pair.target))}) {
            SCOPED_TRACE(
                std::string(patch.begin(), patch.begin() + std::min<std::size_t>(patch.size(), 4)));
            const PageBuffer made = ApplyPatch("made", patch, Span(pair.source));
            EXPECT_TRUE(std::ranges::equal(made.Bytes(), pair.target));
        }
    }
}

// The IPS format's own limits: offsets of 3 bytes, a length to cut to of 3 bytes, and an offset
// that reads as the end mark.
TEST(PatchWriterTest, IpsStaysWithinItsFormat) {
    constexpr std::size_t kMost = 0x1000000;
    struct Row {
        const char* name;
        std::size_t sourceSize;
        std::size_t targetSize;
        bool made;
    };
    const std::vector<Row> table = {
        {"16 MiB, same length", kMost, kMost, true},
        {"past 16 MiB", kMost, kMost + 1, false},
        {"grown to 16 MiB", kMost - 1, kMost, false},
        {"shrunk from 16 MiB", kMost, kMost - 1, true},
        {"grown from nothing", 0, kMost - 1, true},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        const Bytes source(row.sourceSize, 0);
        Bytes target(row.targetSize, 0);
        target.back() = 1;
        try {
            const PatchBytes patch = MakeIpsPatch(Span(source), Span(target), "big.sfc");
            EXPECT_TRUE(row.made);
            EXPECT_TRUE(
                std::ranges::equal(ApplyPatch("made", patch, Span(source)).Bytes(), target));
        } catch (const RuntimeError& error) {
            EXPECT_FALSE(row.made) << error.Description();
            EXPECT_EQ(error.Number(), ErrPatchTargetTooLargeForIps);
            EXPECT_NE(error.Description().find("'big.sfc'"), std::string::npos);
        }
    }
}

// Bytes that appear again are copied, each from where it is cheapest to say.
TEST(PatchWriterTest, BpsCopiesMovedAndRepeatedBytes) {
    const Bytes rom = RomLike(0x40000);
    const Bytes tile = Random(0x200, 13);
    struct Row {
        const char* name;
        Bytes target;
        BpsAction action;
    };
    const std::vector<Row> table = {
        {"moved block", Moved(rom, 0x1000, 0x21000, 0x800), BpsAction::SourceCopy},
        {"repeated new block", Spliced(Spliced(rom, 0x100, tile), 0x300, tile),
         BpsAction::TargetCopy},
        {"run of a new byte", Spliced(rom, 0x100, Bytes(0x100, 0x42)), BpsAction::TargetCopy},
        {"inserted block", Spliced(rom, 0x20000, tile), BpsAction::SourceCopy},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        const PatchDescription made =
            DescribePatch("made.bps", MakeBpsPatch(Span(rom), Span(row.target)));
        EXPECT_GE(made.BpsActions[static_cast<std::size_t>(row.action)], 1u);
    }
}

// The proof of a made patch compares what it makes with the target as it comes, with no copy
// kept: it must find the first byte that differs, however far in, and a length that differs.
TEST(PatchWriterTest, ProofFindsWherePatchedAndExpectedFirstDiffer) {
    const Bytes expected = RomLike(0xA0000); // two and a half pieces of the patched ROM
    const std::size_t last = expected.size() - 1;
    Bytes longer = expected;
    longer.push_back(0);
    struct Row {
        const char* name;
        Bytes patched;
        std::optional<std::uint64_t> difference;
    };
    const std::vector<Row> table = {
        {"the same", expected, std::nullopt},
        {"only the last byte differs", Changed(expected, {last}), last},
        {"a byte in the first piece and one in the last", Changed(expected, {5, last}), 5},
        {"one byte short", Bytes(expected.begin(), expected.end() - 1), last},
        {"one byte longer", longer, expected.size()},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        PatchedRomComparison comparison(Span(expected));
        ApplyPatch("made", MakeBpsPatch(Span(expected), Span(row.patched)), Span(expected),
                   comparison);
        EXPECT_EQ(comparison.Difference(), row.difference);
    }
}

std::string Crc(const std::string& bytes) {
    Crc32 crc;
    crc.Update({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    const std::uint32_t value = crc.Value();
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

std::string Closed(std::string patch, const std::string& source, const std::string& target) {
    patch += Crc(source) + Crc(target);
    return patch + Crc(patch);
}

struct Exact {
    const char* name;
    std::string source;
    std::string target;
    std::string metadata;
    std::string body; // after the magic, before the checksums
};

// The bytes of the smallest patches, one kind of action or record at a time.
TEST(PatchWriterTest, BpsWritesEachActionAsTheFormatSays) {
    const std::string code = "0123456789abcdef";
    const std::string other = "ghijklmnopqrstuv";
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    const std::vector<Exact> table = {
        {"nothing", "", "", "", "\x80\x80\x80"s},
        {"metadata", "", "", "by me",
         "\x80\x80\x85"
         "by me"s},
        {"same bytes: one SourceRead", code, code, "", "\x90\x90\x80\xBC"s},
        {"new bytes: one TargetRead", "", "xyz", "", "\x80\x83\x80\x89xyz"s},
        // SourceRead 2, TargetRead 1, SourceRead 13.
        {"one byte changed", code, "01x3456789abcdef", "", "\x90\x90\x80\x84\x81x\xB0"s},
        // TargetRead 1, TargetCopy 15 from the byte before: a run.
        {"run", "", "zzzzzzzzzzzzzzzz", "", "\x80\x90\x80\x81z\xBB\x80"s},
        // A number of two bytes: TargetRead 40.
        {"long TargetRead", "", letters, "", "\x80\xA8\x80\x1D\x80"s + letters},
        // SourceCopy 16 from 16 (32 on from the start), SourceCopy 16 from 0 (32 back).
        {"blocks swapped", code + other, other + code, "", "\xA0\xA0\x80\xBE\xA0\xBE\xC1"s},
        // TargetRead 16, TargetCopy 16 from 0.
        {"block repeated", "", code + code, "", "\x80\xA0\x80\xBD"s + code + "\xBF\x80"s},
    };
    for (const Exact& row : table) {
        SCOPED_TRACE(row.name);
        const PatchBytes made =
            MakeBpsPatch(Span(Of(row.source)), Span(Of(row.target)), row.metadata);
        EXPECT_EQ(std::string(made.begin(), made.end()),
                  Closed("BPS1" + row.body, row.source, row.target));
    }
}

TEST(PatchWriterTest, IpsWritesEachRecordAsTheFormatSays) {
    const std::string eight = "ABCDEFGH";
    const std::vector<Exact> table = {
        {"nothing changed", eight, eight, "", "EOF"},
        {"one byte", "ABCD", "AxCD", "", "\0\0\x01\0\x01xEOF"s},
        {"a run", eight, "zzzzEFGH", "", "\0\0\0\0\0\0\x04zEOF"s},
        {"changes 4 apart in one record", eight, "xBCDEyGH", "", "\0\0\0\0\x06xBCDEyEOF"s},
        {"changes 5 apart in two", eight + "IJ", "xBCDEFyHIJ", "",
         "\0\0\0\0\x01x\0\0\x06\0\x01yEOF"s},
        {"zeros past the end written", "AB", "AB\0\0"s, "", "\0\0\x02\0\x02\0\0EOF"s},
        {"shrunk", "ABCD", "AB", "", "EOF\0\0\x02"s},
        {"run amid bytes", "", "ab" + std::string(14, 'z') + "cd", "",
         "\0\0\0\0\x02"
         "ab\0\0\x02\0\0\0\x0Ez\0\0\x10\0\x02"
         "cdEOF"s},
        {"short run amid bytes", "", "abzzzzzzzzzzzzzcd", "",
         "\0\0\0\0\x11"
         "abzzzzzzzzzzzzzcdEOF"s},
    };
    for (const Exact& row : table) {
        SCOPED_TRACE(row.name);
        const PatchBytes made = MakeIpsPatch(Span(Of(row.source)), Span(Of(row.target)), "t");
        EXPECT_EQ(std::string(made.begin(), made.end()), "PATCH" + row.body);
    }
}

// A record at 0x454F46 would read as the end mark "EOF": it starts a byte early.
TEST(PatchWriterTest, IpsStartsNoRecordWhereItWouldReadAsTheEnd) {
    const Bytes source(0x454F60, 0);
    struct Row {
        const char* name;
        std::size_t length;
        std::string records;
    };
    const std::vector<Row> table = {
        {"one byte", 1, "\x45\x4F\x45\0\x02\0\x33"s},
        {"a run", 20, "\x45\x4F\x45\0\x02\0\x33\x45\x4F\x47\0\0\0\x13\x33"s},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        Bytes target = source;
        std::fill_n(target.begin() + 0x454F46, row.length, 0x33);
        const PatchBytes made = MakeIpsPatch(Span(source), Span(target), "t");
        EXPECT_EQ(std::string(made.begin(), made.end()), "PATCH" + row.records + "EOF");
        EXPECT_TRUE(std::ranges::equal(ApplyPatch("made", made, Span(source)).Bytes(), target));
    }
}

TEST(PatchWriterTest, UpsWritesEachHunkAsTheFormatSays) {
    const std::vector<Exact> table = {
        {"nothing changed", "ABCD", "ABCD", "", "\x84\x84"s},
        {"one byte", "ABCD", "ABxD", "", "\x84\x84\x82\x3B\0"s},
        {"two hunks", "ABCDEF", "xBCDEy", "", "\x86\x86\x80\x39\0\x83\x3F\0"s},
        {"grown", "AB", "ABcd", "",
         "\x82\x84\x82"
         "cd\0"s},
        {"shrunk", "ABCD", "AB", "",
         "\x84\x82\x82"
         "CD\0"s},
    };
    for (const Exact& row : table) {
        SCOPED_TRACE(row.name);
        const PatchBytes made = MakeUpsPatch(Span(Of(row.source)), Span(Of(row.target)));
        EXPECT_EQ(std::string(made.begin(), made.end()),
                  Closed("UPS1" + row.body, row.source, row.target));
    }
}

} // namespace
} // namespace kelbrin
