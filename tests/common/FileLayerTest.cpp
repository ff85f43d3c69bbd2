#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "WideText.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "BinaryReader.h"
#include "BinaryWriter.h"
#include "FileLength.h"
#include "FolderPaths.h"
#include "NoRoomOnTheDisk.h"
#include "RaisedNumber.h"
#include "TempFolder.h"
#include "TextInputFile.h"

namespace kelbrin {
namespace {

using test::RaisedNumber;
using test::TempFolder;

constexpr std::size_t kWriterBuffer = 256 * 1024;

std::vector<std::string> ReadAllLines(TextInputFile& file) {
    std::vector<std::string> lines;
    while (!file.AtEnd()) {
        lines.push_back(file.ReadLine());
    }
    return lines;
}

TEST(TextInputFileTest, EachLineEndKindEndsOneLineAndTheLastEndAddsNone) {
    const std::string bufferFull(64 * 1024 - 1, 'x'); // its line end straddles the buffer
    const std::string longLine(70000, 'y');
    struct Row {
        std::string name, bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Row> table = {
        {"empty file", "", {}},
        {"CR LF", "a\r\nb\r\nc", {"a", "b", "c"}},
        {"lone LF", "a\nb\nc", {"a", "b", "c"}},
        {"lone CR", "a\rb\rc", {"a", "b", "c"}},
        {"mixed", "a\r\nb\nc\rd\n\re", {"a", "b", "c", "d", "", "e"}},
        {"final CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"final CR LF CR LF", "a\r\n\r\n", {"a", ""}},
        {"only a line end", "\r\n", {""}},
        {"no terminator on the last line", "NAME\ta\tb", {"NAME\ta\tb"}},
        {"NUL bytes kept", std::string("a\0b\r\n\0", 6), {std::string("a\0b", 3), {"\0", 1}}},
        {"CR last in the buffer, LF first in the next", bufferFull + "\r\nz", {bufferFull, "z"}},
        {"CR last in the buffer and in the file", bufferFull + "\r", {bufferFull}},
        {"CR last in the buffer, then a line", bufferFull + "\rz", {bufferFull, "z"}},
        {"line longer than the buffer", longLine + "\r\n" + longLine, {longLine, longLine}},
    };
    TempFolder folder;
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        folder.Write("Kelbrin.txt", row.bytes);
        TextInputFile file(folder.PathOf("Kelbrin.txt"));
        EXPECT_EQ(ReadAllLines(file), row.lines);
        EXPECT_EQ(RaisedNumber([&] { file.ReadLine(); }), ErrInputPastEndOfFile);
        EXPECT_TRUE(file.AtEnd());
    }
}

TEST(OpenTest, EachKindOfUnusablePathRaisesItsNumber) {
    TempFolder folder;
    folder.Write("file.bin", "abc");
    ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("dir")));
    ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("sub")));
    folder.Write("sub/x.bin", "x");
    struct Row {
        std::string name, path;
        int readError, writeError; // 0: opens
    };
    std::vector<Row> table = {
        {"existing file", folder.PathOf("file.bin"), 0, 0},
        {"missing file in an existing folder", folder.PathOf("missing.bin"), 53, 0},
        {"missing folder", folder.PathOf("nofolder/x.bin"), 76, 76},
        {"a file used as a folder", folder.PathOf("file.bin/x.bin"), 76, 76},
        {"a directory", folder.PathOf("dir"), 75, 75},
        {"NUL in the name", folder.PathOf(std::string("file.bin\0", 9)), 52, 52},
        {"name too long", folder.PathOf(std::string(300, 'n')), 52, 52},
    };
#ifdef _WIN32
    // A device is no file to read, and writing to it would make no file.
    table.push_back({"the NUL device", "NUL", 75, 52});
    table.push_back({"a name the system refuses", folder.PathOf("a?.bin"), 52, 52});
#else
    ASSERT_EQ(::mkfifo(folder.PathOf("fifo").c_str(), 0644), 0);
    table.push_back({"a FIFO without the other end", folder.PathOf("fifo"), 75, 75});
#endif
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(RaisedNumber([&] { TextInputFile file(row.path); }), row.readError);
        EXPECT_EQ(RaisedNumber([&] { BinaryReader file(row.path); }), row.readError);
        EXPECT_EQ(RaisedNumber([&] { BinaryWriter file(row.path, WriteMode::Truncate); }),
                  row.writeError);
    }
    EXPECT_EQ(folder.Read("missing.bin"), ""); // created by the writer, empty
}

TEST(OpenTest, MissingPermissionIsError70) {
    TempFolder folder;
    folder.Write("locked.bin", "abc");
    folder.Write("readonly.bin", "abc");
#ifdef _WIN32
    // Windows locks a file by holding it open without sharing, and its read-only attribute
    // holds for every user.
    const HANDLE lock =
        ::CreateFileW(WideFromUtf8(folder.PathOf("locked.bin")).c_str(), GENERIC_READ, 0, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::filesystem::permissions(folder.PathOf("readonly.bin"), std::filesystem::perms::all,
                                 std::filesystem::perm_options::remove);
#else
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may read and write any file";
    }
    ASSERT_EQ(::chmod(folder.PathOf("locked.bin").c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.PathOf("readonly.bin").c_str(), 0444), 0);
#endif
    const std::string locked = folder.PathOf("locked.bin");
    EXPECT_EQ(RaisedNumber([&] { TextInputFile file(locked); }), ErrPermissionDenied);
    EXPECT_EQ(RaisedNumber([&] { BinaryReader file(locked); }), ErrPermissionDenied);
    const std::string readOnly = folder.PathOf("readonly.bin");
    EXPECT_EQ(RaisedNumber([&] { BinaryWriter file(readOnly, WriteMode::Truncate); }),
              ErrPermissionDenied);
    EXPECT_EQ(folder.Read("readonly.bin"), "abc");
#ifdef _WIN32
    ::CloseHandle(lock);
#endif
}

#ifdef _WIN32
// Script names are 8-bit text that Windows reads in its ANSI code page: byte C4 is "\u00C4" in
// Windows-1252, both for the file layer and for FileLength, in a folder of any name.
TEST(OpenTest, EightBitNamesGoThroughTheAnsiCodePage) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "the ANSI code page here is " << ::GetACP() << ", not Windows-1252";
    }
    TempFolder root;
    const std::string folderName = "ROM \xE6\x97\xA5\xE6\x9C\xAC"; // no ANSI code page spells it
    const std::string folder = root.MakeFolder(folderName);
    const std::string name = PathInFolder(folder, "\xC4rger.nes");
    BinaryWriter writer(name, WriteMode::Truncate);
    writer.Write(std::vector<std::uint8_t>{1, 2, 3});
    writer.Close();
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(WideFromUtf8(folder)) / L"\u00C4rger.nes"));
    EXPECT_EQ(FileLength(name), 3);
    EXPECT_EQ(FileLength(PathInFolder(root.Path(), "\xC4rger.nes")), -1);
    root.Write("\xC3\x84rger.nes", "ab"); // the same name, where the ANSI code page spells the path
    EXPECT_EQ(FileLength(PathInFolder(root.Path(), "\xC4rger.nes")), 2);
}
#endif

std::uint8_t Pattern(std::int64_t at) {
    return static_cast<std::uint8_t>(at * 13 + at / 251);
}

TEST(BinaryReaderTest, SmallAndLargeReadsFromAnyPositionAgreeWithTheFile) {
    constexpr std::int64_t kSize = 150000;
    std::string bytes(kSize, '\0');
    for (std::int64_t i = 0; i < kSize; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(Pattern(i));
    }
    TempFolder folder;
    folder.Write("original.nes", bytes);
    constexpr std::int64_t kGoOn = -1;
    struct Step {
        std::int64_t seek; // kGoOn: read on from where the last read ended
        std::size_t count;
    };
    const std::vector<Step> steps = {
        {kGoOn, 10},     {kGoOn, 100000}, {5, 20},        {65530, 20},
        {kGoOn, 1},      {0, 65535},      {kGoOn, 65536}, {kSize - 10, 30},
        {kSize - 5, 10}, {140000, 70000}, {200000, 16},   {kGoOn, 64},
        {1, 1},          {kSize - 1, 1},  {kSize, 1},     {70000, 64},
    };
    BinaryReader reader(folder.PathOf("original.nes"));
    std::int64_t position = 0;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        SCOPED_TRACE("step " + std::to_string(k));
        if (steps[k].seek != kGoOn) {
            position = steps[k].seek;
            reader.Seek(position);
        }
        std::vector<std::uint8_t> got(steps[k].count, 0xEE);
        reader.Read(got);
        std::vector<std::uint8_t> expected(steps[k].count);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const auto at = position + static_cast<std::int64_t>(i);
            expected[i] = at < kSize ? Pattern(at) : 0; // past the end reads as 00
        }
        EXPECT_TRUE(got == expected);
        position += static_cast<std::int64_t>(steps[k].count);
        EXPECT_EQ(reader.Position(), position);
    }
}

struct WriteOp {
    enum Kind { Byte, Block, Repeat } kind;
    std::size_t count; // Byte: how many single bytes
};

TEST(BinaryWriterTest, BytesReachTheFileInTheOrderWrittenAcrossTheBuffer) {
    constexpr std::size_t B = kWriterBuffer;
    const std::vector<std::pair<std::string, std::vector<WriteOp>>> table = {
        {"single bytes past one buffer", {{WriteOp::Byte, B + 3}}},
        {"a block of exactly one buffer",
         {{WriteOp::Byte, 1}, {WriteOp::Block, B}, {WriteOp::Byte, 1}}},
        {"blocks one short and one over",
         {{WriteOp::Block, B - 1}, {WriteOp::Block, 2}, {WriteOp::Block, B + 1}}},
        {"a full buffer then a large block", {{WriteOp::Repeat, B}, {WriteOp::Block, 2 * B + 5}}},
        {"repeats around the buffer",
         {{WriteOp::Byte, 1},
          {WriteOp::Repeat, B - 1},
          {WriteOp::Repeat, 1},
          {WriteOp::Repeat, B + 7},
          {WriteOp::Block, 3}}},
    };
    TempFolder folder;
    for (const auto& [name, ops] : table) {
        SCOPED_TRACE(name);
        folder.Write("expanded.nes", std::string(1000, 'z')); // must be truncated
        BinaryWriter writer(folder.PathOf("expanded.nes"), WriteMode::Truncate);
        EXPECT_EQ(folder.Read("expanded.nes"), "");
        std::string expected;
        std::uint8_t next = 1;
        for (const auto& op : ops) {
            if (op.kind == WriteOp::Byte) {
                for (std::size_t i = 0; i < op.count; ++i, ++next) {
                    writer.WriteByte(next);
                    expected += static_cast<char>(next);
                }
            } else if (op.kind == WriteOp::Block) {
                std::vector<std::uint8_t> block(op.count);
                for (auto& b : block) {
                    b = next++;
                }
                writer.Write(block);
                expected.append(block.begin(), block.end());
            } else {
                writer.WriteRepeated(next, static_cast<std::int64_t>(op.count));
                expected.append(op.count, static_cast<char>(next++));
            }
        }
        writer.Flush(); // everything handed over so far must be in the file, in order
        EXPECT_TRUE(folder.Read("expanded.nes") == expected);
        writer.WriteByte(0x5A);
        writer.Close();
        EXPECT_TRUE(folder.Read("expanded.nes") == expected + "\x5A");
    }
}

TEST(BinaryFileTest, EmptyReadsAndWritesChangeNothing) {
    TempFolder folder;
    folder.Write("original.nes", "abc");
    BinaryReader reader(folder.PathOf("original.nes"));
    reader.Seek(1);
    reader.Read(std::span<std::uint8_t>{});
    EXPECT_EQ(reader.Position(), 1);
    BinaryWriter writer(folder.PathOf("original.nes"), WriteMode::Truncate);
    writer.Write(std::span<const std::uint8_t>{});
    writer.WriteRepeated(0x41, 0);
    writer.WriteByte(0x42);
    writer.Close();
    EXPECT_EQ(folder.Read("original.nes"), "B");
}

TEST(BinaryWriterTest, KeepModeWritesOverFromTheFirstByte) {
    TempFolder folder;
    folder.Write("expanded.nes", "abcdef");
    BinaryWriter writer(folder.PathOf("expanded.nes"), WriteMode::Keep);
    writer.Write(std::vector<std::uint8_t>{'X', 'Y'});
    writer.Close();
    EXPECT_EQ(folder.Read("expanded.nes"), "XYcdef");
}

// Long copies go file to file through the kernel, short ones through the buffer; either way
// the bytes land in write order, and a source that ends early gives 00 bytes.
TEST(BinaryWriterTest, CopyFromKeepsOrderAcrossBufferedAndKernelCopies) {
    TempFolder folder;
    std::string original(300 * 1024, '\0');
    for (std::size_t i = 0; i < original.size(); ++i) {
        original[i] = static_cast<char>(i * 7 + i / 251);
    }
    folder.Write("original.nes", original);
    for (const std::size_t count : {std::size_t{100}, kWriterBuffer, 2 * kWriterBuffer}) {
        SCOPED_TRACE(count);
        BinaryReader reader(folder.PathOf("original.nes"));
        BinaryWriter writer(folder.PathOf("expanded.nes"), WriteMode::Truncate);
        writer.WriteByte('H');
        reader.Seek(10);
        writer.CopyFrom(reader, static_cast<std::int64_t>(count));
        writer.WriteByte('Z');
        writer.Close();

        // Appended rather than "H" + ...: GCC 12 at -O3 takes the insert that operator+ makes for
        // an overlapping copy (a false -Wrestrict).
        std::string expected = "H";
        expected += original.substr(10, count);
        expected.resize(1 + count, '\0');
        EXPECT_EQ(reader.Position(), static_cast<std::int64_t>(10 + count));
        EXPECT_TRUE(folder.Read("expanded.nes") == expected + "Z");
    }
}

TEST(BinaryWriterTest, FullDiskRaisesDiskFull) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit to fill";
#else
    TempFolder folder;
    const std::vector<std::uint8_t> small(10, 1);
    const std::vector<std::uint8_t> large(kWriterBuffer + 1, 1);
    const std::vector<std::pair<std::string, std::function<void(BinaryWriter&)>>> table = {
        {"small write, then Flush", [&](BinaryWriter& w) { w.Write(small), w.Flush(); }},
        {"small write, then Close", [&](BinaryWriter& w) { w.Write(small), w.Close(); }},
        {"a block larger than the buffer", [&](BinaryWriter& w) { w.Write(large); }},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.first);
        BinaryWriter writer(folder.PathOf("full.bin"), WriteMode::Truncate);
        const test::NoRoomOnTheDisk full;
        EXPECT_EQ(RaisedNumber([&] { row.second(writer); }), ErrDiskFull);
    }
#endif
}

} // namespace
} // namespace kelbrin
