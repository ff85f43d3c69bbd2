#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "FileIdentity.h"
#include "FileLength.h"
#include "FolderPaths.h"
#include "General_Routines.h"
#include "RaisedNumber.h"
#include "TempFolder.h"
#include "TerminalText.h"

namespace kelbrin {
namespace {

using test::RaisedNumber;
using test::TempFolder;

struct FieldWalk {
    std::string line;
    std::vector<std::pair<std::string, std::int32_t>> steps; // field, position after the call
};

TEST(NextFieldTest, PositionRestsOnTheEndingTabAndStaysAtTheEndOfTheLine) {
    const std::vector<FieldWalk> table = {
        {"NAME\ta.nes\tb.nes", {{"NAME", 5}, {"a.nes", 11}, {"b.nes", 16}, {"", 16}}},
        {"A\t\tB", {{"A", 2}, {"", 3}, {"B", 4}, {"", 4}}},
        {"\tA", {{"", 1}, {"A", 2}, {"", 2}}},
        {"A\t", {{"A", 2}, {"", 2}, {"", 2}}},
        {"", {{"", 0}, {"", 0}}},
        {" a b \t  ", {{" a b ", 6}, {"  ", 8}, {"", 8}}},
    };
    for (const auto& walk : table) {
        SCOPED_TRACE(walk.line);
        std::int32_t position = 0;
        for (const auto& [field, after] : walk.steps) {
            EXPECT_EQ(NextField(walk.line, position), field);
            EXPECT_EQ(position, after);
        }
    }
}

TEST(HexTest, ConvertsOneToSevenDigitsAndCodesEverythingElse) {
    const std::vector<std::pair<std::int32_t, std::vector<std::string>>> table = {
        {40960, {"A000", "a000", "0A000"}},
        {32768, {"8000"}},
        {65535, {"FFFF", "ffff", "fFfF"}},
        {0, {"0", "0000000", "-0"}},
        {160, {"00000A0"}},
        {268435455, {"FFFFFFF"}},
        {-268435455, {"-FFFFFFF"}},
        {-16, {"-10"}},
        {-2, {"0000A000", "FFFFFFFF", "123456789ABCDEF0"}},
        {-1, {"1234567G", "", " 10", "10 ", "&H10", "0x10", "1-0", "+10"}},
    };
    for (const auto& [value, texts] : table) {
        for (const auto& text : texts) {
            SCOPED_TRACE("text '" + text + "'");
            EXPECT_EQ(HexToLong(text), value);
            // The sign belongs to HexToLong; IsHex refuses it like any other non-digit.
            EXPECT_EQ(IsHex(text), value != -1 && text.front() != '-');
        }
    }
    EXPECT_TRUE(IsHex("0123456789abcdefABCDEF"));
    EXPECT_FALSE(IsHex("-"));
}

TEST(HexTest, SixteenBitCharacterCounterOverflowsAtItsLimit) {
    const std::string hex32766(32766, 'a');
    const std::string hex32767(32767, 'a');
    std::string nonHex32767 = hex32767;
    nonHex32767.back() = 'g';
    EXPECT_TRUE(IsHex(hex32766));
    EXPECT_EQ(HexToLong(hex32766), -2);
    EXPECT_FALSE(IsHex(nonHex32767));
    EXPECT_EQ(HexToLong(nonHex32767), -1);

    const std::vector<std::pair<std::string, std::string>> raising = {
        {"32,767 hex digits", hex32767},
        {"32,768 hex digits", hex32767 + "a"},
        {"32,768 characters, the first not hex", "g" + hex32767},
        {"32,768 blanks", std::string(32768, ' ')},
        {"a sign and 32,767 hex digits", "-" + hex32767},
    };
    for (const auto& row : raising) {
        SCOPED_TRACE(row.first);
        const std::string& text = row.second;
        if (text.front() != '-') {
            EXPECT_EQ(RaisedNumber([&] { IsHex(text); }), ErrOverflow);
        }
        EXPECT_EQ(RaisedNumber([&] { HexToLong(text); }), ErrOverflow);
    }
}

TEST(PathSplitTest, OnlyTheLastBackslashSeparates) {
    struct Row {
        std::string path, pathPart, fileName;
    };
    const std::vector<Row> table = {
        {"C:\\roms\\game.nes", "C:\\roms\\", "game.nes"},
        {"game.nes", "", "game.nes"},
        {"C:\\roms\\", "C:\\roms\\", ""},
        {"C:game.nes", "", "C:game.nes"},
        {"roms/game.nes", "", "roms/game.nes"},
        {"", "", ""},
        {"\\", "\\", ""},
        {"a\\b/c\\d", "a\\b/c\\", "d"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(PathPart(row.path), row.pathPart);
        EXPECT_EQ(FileNamePart(row.path), row.fileName);
    }
}

TEST(PathInFolderTest, OnlyBackslashesOfTheScriptsNameSeparate) {
    struct Row {
        std::string folder, name, posix, windows;
    };
    const std::vector<Row> table = {
        {"/roms", "game.nes", "/roms/game.nes", "/roms\\game.nes"},
        {"x\\y", "sub\\game.nes", "x\\y/sub/game.nes", "x\\y\\sub\\game.nes"},
        {"C:\\roms", "", "C:\\roms/", "C:\\roms\\"},
        // On Windows the folder is UTF-8 and the script's name ANSI text (code page 1252 here).
        {"C:\\\xCE\xA9mega", "caf\xE9.nes", "C:\\\xCE\xA9mega/caf\xE9.nes",
         "C:\\\xCE\xA9mega\\caf\xC3\xA9.nes"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.folder + " + " + row.name);
#ifdef _WIN32
        EXPECT_EQ(PathInFolder(row.folder, row.name), row.windows);
#else
        EXPECT_EQ(PathInFolder(row.folder, row.name), row.posix);
#endif
    }
}

TEST(PathInFolderTest, WindowsDeviceNamesInAnyPartAnyCaseAnyExtension) {
    for (const std::string device :
         {"aux.bin", "NUL", "sub\\con", "nul/x.bin", "Com9.a.b", "lpt1", "prn .txt", "CONOUT$",
          "com0", "LPT0.nes", "COM\xC2\xB9", "lpt\xC2\xB2.bin", "C:\\roms\\Com\xC2\xB3"}) {
        EXPECT_TRUE(NamesWindowsDevice(device)) << device;
    }
    for (const std::string file : {"aux1.bin", "com10", "console.nes", "lpt", "nul_.bin", "x.con",
                                   "my aux.bin", "", "COM\xC2\xB4", "COM\xB9"}) {
        EXPECT_FALSE(NamesWindowsDevice(file)) << file;
    }
}

TEST(PathInFolderTest, AColonAfterTheDriveNamesAStream) {
    for (const std::string stream :
         {"orig.nes:x", "C:\\roms\\orig.nes:x", "\\\\?\\C:\\roms\\a:b", "sub\\a:"}) {
        EXPECT_TRUE(NamesAlternateStream(stream)) << stream;
    }
    for (const std::string file : {"orig.nes", "C:\\roms\\orig.nes", "\\\\?\\C:\\roms", "c:big.nes",
                                   "\\\\server\\share\\a.nes"}) {
        EXPECT_FALSE(NamesAlternateStream(file)) << file;
    }
}

TEST(FileLengthTest, PlainFilesAndFilesThatCannotBeOpened) {
    TempFolder folder;
    folder.Write("empty.bin", "");
    folder.Write("three.bin", "abc");
    // Past MAX_PATH (260) characters, where Windows' ANSI calls give up.
    const std::string deep = std::string(200, 'd') + TempFolder::kSeparator + std::string(80, 'f');
    folder.MakeFolder(std::string(200, 'd'));
    folder.Write(deep, "abcd");
    std::vector<std::pair<std::string, std::int32_t>> table = {
        {folder.PathOf("empty.bin"), 0},
        {folder.PathOf("three.bin"), 3},
        {folder.PathOf(deep), 4},
        {folder.PathOf("missing.bin"), -1},
        {folder.Path(), -1},
        {folder.PathOf(std::string("three.bin\0x", 11)), -1},
    };
#ifdef _WIN32
    table.push_back({folder.PathOf("THREE.BIN"), 3}); // names ignore letter case there
#endif
    for (const auto& [path, length] : table) {
        SCOPED_TRACE(path);
        EXPECT_EQ(FileLength(path), length);
        EXPECT_EQ(FileLength64(path), length);
    }
}

TEST(FileLengthTest, HugeFilesKeepOnlyTheLow32BitsButTheFullLengthIsKnown) {
    TempFolder folder;
    const std::vector<std::tuple<std::int64_t, std::int32_t>> table = {
        {2147483647LL, 2147483647}, {2147483648LL, -2147483647 - 1},
        {4294967295LL, -1},         {4294967296LL, 0},
        {4294967301LL, 5},
    };
    for (const auto& [size, low] : table) {
        SCOPED_TRACE(size);
        const std::string path = folder.PathOf("sparse.bin");
        folder.Write("sparse.bin", "");
        std::error_code refused;
        std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size), refused);
        if (refused) {
            GTEST_SKIP() << "the file system refuses a sparse file of " << size << " bytes";
        }
        EXPECT_EQ(FileLength(path), low);
        EXPECT_EQ(FileLength64(path), size);
    }
}

TEST(ErrorBoxTest, MessageNamesTheErrorThenTheContextThenTheFile) {
    struct Row {
        std::string name;
        RuntimeError error;
        std::string context, fileName, message;
    };
    const std::vector<Row> table = {
        {"no error being handled", RuntimeError(0), "'NAME' not found in script", "",
         "Error #0 -> \r\n\r\n'NAME' not found in script"},
        {"a numbered error", RuntimeError(53), "Can't open 'a.nes'", "",
         "Error #53 -> File not found\r\n\r\nCan't open 'a.nes'"},
        {"empty context and file name", RuntimeError(0), "", "", "Error #0 -> \r\n\r\n"},
        {"a file name", RuntimeError(0), "ctx", "a.nes",
         "Error #0 -> \r\n\r\nctx\r\n\r\nFilename accessed -> a.nes"},
        {"a negative number", RuntimeError(-2147483647 - 1, "odd"), "c", "",
         "Error #-2147483648 -> odd\r\n\r\nc"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ErrorBoxMessage(row.context, row.fileName, row.error), row.message);
    }
}

TEST(SameExistingFileTest, OneFileUnderAnySpellingOrLinkIsTheSame) {
    TempFolder folder;
    folder.Write("a.nes", "same bytes");
    folder.Write("b.nes", "same bytes"); // equal content is not the same file
    std::filesystem::create_hard_link(folder.PathOf("a.nes"), folder.PathOf("hard.nes"));
    const std::string& dir = folder.Path();
    struct Row {
        std::string first, second;
        bool same;
    };
    std::vector<Row> table = {
        {dir + "/a.nes", dir + "/./a.nes", true},
        {dir + "/a.nes", dir + "/hard.nes", true},
        {dir + "/a.nes", dir + "/b.nes", false},
        {dir + "/a.nes", dir + "/missing.nes", false},
        {dir + "/missing.nes", dir + "/missing.nes", false},
        {dir + "/a.nes", dir + "/a.nes" + std::string(1, '\0'), false},
    };
#ifdef _WIN32
    table.push_back({dir + "\\A.NES", dir + "\\a.nes", true});
#else
    std::filesystem::create_symlink("a.nes", folder.PathOf("soft.nes"));
    table.push_back({dir + "/soft.nes", dir + "/a.nes", true});
#endif
    for (const auto& row : table) {
        SCOPED_TRACE(row.first + " / " + row.second);
        EXPECT_EQ(SameExistingFile(row.first, row.second), row.same);
        EXPECT_EQ(SameExistingFile(row.second, row.first), row.same);
    }
}

TEST(DisplayTextTest, ValidUtf8IsKeptAndAnythingElseIsReadAsWindows1252) {
    struct Row {
        std::string name, bytes, shown;
    };
    const std::vector<Row> table = {
        {"ASCII", "game.nes\tCOPY", "game.nes\tCOPY"},
        {"valid two-byte UTF-8", "caf\xC3\xA9", "caf\xC3\xA9"},
        {"valid four-byte UTF-8", "\xF0\x9F\x98\x80.nes", "\xF0\x9F\x98\x80.nes"},
        {"Latin-1 byte", "caf\xE9", "caf\xC3\xA9"},
        {"euro sign at 80", "\x80", "\xE2\x82\xAC"},
        {"one bad byte turns the whole text", "\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
        {"overlong slash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
        {"overlong three-byte", "\xE0\x80\xAF", "\xC3\xA0\xE2\x82\xAC\xC2\xAF"},
        {"surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        {"past U+10FFFF", "\xF4\xA0\x80\x80", "\xC3\xB4\xC2\xA0\xE2\x82\xAC\xE2\x82\xAC"},
        {"sequence cut short at the end", "a\xE2\x82", "a\xC3\xA2\xE2\x80\x9A"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DisplayText(row.bytes), row.shown);
    }
}

TEST(TerminalTextTest, ControlCharactersAreEscapedAndLayoutAndTextStay) {
    struct Row {
        std::string name, text, shown;
    };
    const std::vector<Row> table = {
        {"a title set by the script", "SIZE\t\x1B]0;pwned\x07", "SIZE\t\\033]0;pwned\\007"},
        {"line feed and tab stay", "a\tb\nc", "a\tb\nc"},
        {"NUL, backspace, lone CR", std::string("a\0\b\r", 4), "a\\000\\010\\015"},
        {"DEL", "\x7F", "\\177"},
        {"C1 control CSI as UTF-8",
         "\xC2\x9B"
         "2J",
         "\\302\\2332J"},
        {"the last C1 control", "\xC2\x9F", "\\302\\237"},
        {"letters beside the C1 range stay", "\xC2\xA0\xC3\xA9", "\xC2\xA0\xC3\xA9"},
        {"a backslash stays", "sub\\game.nes", "sub\\game.nes"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TerminalText(row.text), row.shown);
    }
}

} // namespace
} // namespace kelbrin
