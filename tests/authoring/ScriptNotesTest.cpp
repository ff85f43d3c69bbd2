// The notes an author gets on the mistakes authors make: each names the line and the cause.
// The folder holds a 1 MiB original (100000 hex) that the scripts mirror into 2 MiB.

#include "ScriptNotes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "NumberText.h"
#include "RunFolder.h"

namespace kelbrin::test {
namespace {

const std::string kName = "NAME\torig.nes\tbig.nes";
const std::string kSize = "SIZE\t100000\t200000";
const std::string kHeader = "HEADER\t10\t4E\t45\t53\t1A";
const std::string kCopy = "COPY\t0\t0";
const std::string kMirror = "COPY\t100000\t0";

// A note expected on a line: its words must hold `Says`.
struct Expected {
    std::int32_t Line;
    std::string Says;
};

struct NotesCase {
    const char* Name;
    std::vector<std::string> Lines;
    std::vector<Expected> Notes;
    // The original's length; 1 MiB when 0.
    std::size_t OriginalLength = 0;
};

// A script of `count` lines that builds the 1 MiB original's image again, a few bytes a line.
std::vector<std::string> LinesOfAScriptOf(std::size_t count) {
    std::vector<std::string> lines{kName, "SIZE\t100000\t100000", kHeader};
    for (std::size_t address = 0; lines.size() < count; address += 0x10) {
        const std::string at = ScriptHex(address);
        lines.push_back("COPY\t" + at + "\t" + at);
    }
    return lines;
}

void PrintTo(const NotesCase& c, std::ostream* os) {
    *os << c.Name;
}

class Notes : public ::testing::TestWithParam<NotesCase> {};

TEST_P(Notes, NameTheLineAndTheCause) {
    const NotesCase& c = GetParam();
    RunFolder folder;
    folder.Original(Image(c.OriginalLength != 0 ? c.OriginalLength : 0x100000));
    folder.Script(c.Lines);
    const std::vector<ScriptNote> notes = NotesOnScript(folder.Folder.Path());
    ASSERT_EQ(notes.size(), c.Notes.size()) << (notes.empty() ? "" : NoteLine(notes.front()));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].Line, c.Notes[i].Line) << NoteLine(notes[i]);
        EXPECT_NE(notes[i].Text.find(c.Notes[i].Says), std::string::npos) << NoteLine(notes[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Script, Notes,
    ::testing::Values(
        NotesCase{
            "SoundScriptHasNone",
            {kName, kSize, kHeader, kCopy, kMirror, "FILL\t180000\tFF", "REPLACE\t180010\t12\t34"},
            {}},
        NotesCase{"OneLineTypedWithSpaces",
                  {kName, kSize, kHeader, kCopy, kMirror, "FILL\t180000\tFF", "COPY 1C0000 0"},
                  {{7, "separated by spaces"}}},
        NotesCase{"WholeScriptTypedWithSpaces",
                  {"NAME orig.nes big.nes", "SIZE 100000 200000", "HEADER 10 4E", "COPY 0 0",
                   "COPY 100000 0"},
                  {{1, "separated by spaces"},
                   {2, "separated by spaces"},
                   {3, "separated by spaces"},
                   {4, "separated by spaces"},
                   {5, "separated by spaces"}}},
        NotesCase{"BlankAfterRowName",
                  {kName, kSize, kHeader, "COPY \t0\t0", kMirror},
                  {{4, "blanks around it"}}},
        NotesCase{"ByteOrderMarkBeforeName",
                  {"\xEF\xBB\xBF" + kName, kSize, kHeader, kCopy, kMirror},
                  {{1, "byte-order mark"}}},
        NotesCase{"OtherBytesBeforeName",
                  {"xx" + kName, kSize, kHeader, kCopy, kMirror},
                  {{1, "2 bytes stand before NAME"}}},
        NotesCase{"DecimalSizes",
                  {kName, "SIZE\t1048576\t2097152", kHeader, kCopy, "COPY\t100000\t0"},
                  {{2, "probably meant as decimal, which is 100000"},
                   {2, "if it was meant as decimal, write 200000"},
                   {5, "become 00"}}},
        NotesCase{"DecimalHeaderSize",
                  {kName, kSize, "HEADER\t512\t0", kCopy, kMirror},
                  {{3, "probably meant as decimal, which is 200"}},
                  0x100000 + 512},
        NotesCase{"UndeclaredHeader",
                  {kName, kSize, "HEADER\t0", kCopy, kMirror},
                  {{3, "header size is 0"}, {3, "200 hex) longer"}},
                  0x100000 + 512},
        NotesCase{
            "DecimalReplaceAddressMakesTheNextLineTooSmall",
            {kName, kSize, kHeader, kCopy, "REPLACE\t65494\t12", "REPLACE\tFFD7\t34", kMirror},
            {{5, "probably meant as decimal: in hex it is FFD6"},
             {6, "must be at least 65495, where the REPLACE on line 5 ended"}}},
        NotesCase{"StartGoesBack",
                  {kName, kSize, kHeader, kCopy, kMirror, "COPY\t80000\t0"},
                  {{6, "must be at least 100000, the start of the COPY on line 5"}}},
        NotesCase{"LinePastTheExpandedSize",
                  {kName, kSize, kHeader, kCopy, "FILL\t250000\t0"},
                  {{4, "become 00"}, {5, "past the expanded size 200000"}}},
        NotesCase{"TwoLinesAtOneAddress",
                  {kName, kSize, kHeader, kCopy, kMirror, "FILL\t100000\t0"},
                  {{5, "same address as line 6"}}},
        NotesCase{"LowerCaseChecksum",
                  {kName, kSize + "\t5fbcdd0a2a0bc33d61bbf8ad1a107523", kHeader, kCopy, kMirror},
                  {{2, "lower case"}}},
        NotesCase{"ChecksumOfWrongLength",
                  {kName, kSize + "\tABC", kHeader, kCopy, kMirror},
                  {{2, "not 32 hex digits"}}},
        NotesCase{
            "ReplaceWithTheBytesAlreadyThere",
            {kName, kSize, kHeader, kCopy, "REPLACE\t10\t10\t11", kMirror, "FILL\t1FFF00\t0",
             "REPLACE\t1FFF10\t0"},
            {{5, "COPY on line 4 puts there anyway"}, {8, "FILL on line 7 puts there anyway"}}},
        NotesCase{"NumbersInOtherNotations",
                  {kName, kSize, kHeader, kCopy, kMirror, "COPY\t0x180000\t0", "FILL\t1F0000\t 0",
                   "REPLACE\t1F0001\t12345678"},
                  {{6, "write the hex digits alone, 180000"},
                   {7, "blanks around 0"},
                   {8, "has 8 digits"}}},
        NotesCase{"EmptyLineAtTheEnd",
                  {kName, kSize, kHeader, kCopy, kMirror, "", ""},
                  {{6, "an empty line"}}},
        NotesCase{"ReplaceFirst",
                  {kName, kSize, kHeader, "REPLACE\t0\t1", kCopy, kMirror},
                  {{4, "cannot come first"}}},
        NotesCase{"SizesCountingTheHeader",
                  {kName, "SIZE\t100010\t200010", kHeader, kCopy, "FILL\t100010\tFF"},
                  {{2, "counts the header of 16 bytes"}},
                  0x100000 + 0x10},
        NotesCase{"ExpandedSizeCutsTheLastCopyShort",
                  {kName, "SIZE\t100000\t1F0000", kHeader, kCopy, kMirror},
                  {{2, "ends the COPY on line 5 65,536 bytes before the original's image ends"}}},
        NotesCase{
            "OverlappingReplaceLinesAreNoDecimal",
            {kName, kSize, kHeader, kCopy, "REPLACE\t10\tAA\tBB\tCC", "REPLACE\t11\tDD", kMirror},
            {{6, "must be at least 13, where the REPLACE on line 5 ended"}}},
        NotesCase{"HeaderLineMissing",
                  {kName, kSize, kCopy, kMirror},
                  {{3, "the HEADER line is missing"}}},
        NotesCase{"TabBeforeTheRowNameAndAnEmptyField",
                  {kName, kSize, kHeader, kCopy, kMirror, "\tFILL\t1F0000\tFF", "REPLACE\t1F0001"},
                  {{6, "a tab character stands before the row name"}, {7, "the byte is empty"}}},
        NotesCase{"HeaderListingAllItsBytes",
                  {kName, kSize, "HEADER\t4\t4E\t45\t53\t1A", kCopy, kMirror},
                  {}},
        NotesCase{"NamesARunOnWindowsRefuses",
                  {"NAME\ta:b.nes\tCON.nes", kSize, kHeader, kCopy, kMirror},
                  {{1, "the original's name 'a:b.nes' holds a ':'"},
                   {1, "the expanded name 'CON.nes' is a name Windows keeps for a device"}}},
        NotesCase{"NameBeyondAscii",
                  {"NAME\torig.nes\tb\xC3\xA9.nes", kSize, kHeader, kCopy, kMirror},
                  {{1, "beyond ASCII"}}},
        NotesCase{"ScriptOfOneLineTooMany",
                  LinesOfAScriptOf(32767),
                  {{32767, "a run counts at most 32,766 lines"}}}));

} // namespace
} // namespace kelbrin::test
