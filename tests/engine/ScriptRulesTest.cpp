// Every script rule, run end to end: the exact box text, and the folder as it was whatever the
// rule and wherever the run stopped: the expanded file starts as "OLD" and stays so.

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "RunFolder.h"

namespace kelbrin::test {
namespace {

using namespace std::string_literals;

const std::string kNoHeaderDefined =
    "Expansion file has no header defined for this type of ROM,\r\n"
    "so you can't add a header.\r\n"
    "Press the 'Expand and Ignore/Remove Header' button instead.";

struct BrokenRuleCase {
    const char* Name;
    std::int16_t Index;
    std::vector<std::string> Lines;
    std::string Message;
};

void PrintTo(const BrokenRuleCase& c, std::ostream* os) {
    *os << c.Name;
}

class BrokenRule : public ::testing::TestWithParam<BrokenRuleCase> {};

TEST_P(BrokenRule, ShowsItsMessageAndLeavesTheFolderAsItWas) {
    const BrokenRuleCase& c = GetParam();
    RunFolder run;
    run.OriginalAndOldExpanded();
    run.Script(c.Lines);
    run.Run(c.Index);
    run.ExpectFailure(RuleBox(c.Message));
    run.ExpectFolderAsItWas();
}

const std::string kH = kHeaderLine;
const std::string kS = kSizeLine;
const std::string kN = kNameLine;
const std::string kC = kCopyLine;

// Which texts are hex is the hex reader's own table; here each field shows what it does with
// text that is not hex, a sign and eight digits, under its own message.
INSTANTIATE_TEST_SUITE_P(
    Script, BrokenRule,
    ::testing::Values(
        BrokenRuleCase{"NameRowWithTrailingBlank",
                       1,
                       {"NAME \torig.nes\tbig.nes", kS, kH, kC},
                       "'NAME' not found in script"},
        BrokenRuleCase{"NameRowAfterByteOrderMark",
                       1,
                       {"\xEF\xBB\xBF" + kN, kS, kH, kC},
                       "'NAME' not found in script"},
        BrokenRuleCase{"SameNameForBothRoms",
                       1,
                       {"NAME\torig.nes\torig.nes", kS, kH, kC},
                       "Original and Expanded rom names are the same:orig.nes"},
        BrokenRuleCase{
            "SizeRowMisspelt", 1, {kN, "SIZES\t40\t8", kH, kC}, "'SIZE' not found in script"},
        BrokenRuleCase{"OriginalSizeWithHexSuffix",
                       1,
                       {kN, "SIZE\t40h\t8", kH, kC},
                       "Original file size of '40h' is not a valid hex value"},
        BrokenRuleCase{"OriginalSizeWithSign",
                       1,
                       {kN, "SIZE\t-40\t8", kH, kC},
                       "Original file size of '-40' is not a valid hex value"},
        BrokenRuleCase{"OriginalSizeOfEightDigits",
                       1,
                       {kN, "SIZE\t00000040\t8", kH, kC},
                       "Original file size of '00000040' is not a valid hex value"},
        BrokenRuleCase{"FinalSizeOfEightDigits",
                       1,
                       {kN, "SIZE\t40\t00000008", kH, kC},
                       "Final file size of '00000008' is not a valid hex value"},
        BrokenRuleCase{"FinalSizeMissing",
                       1,
                       {kN, "SIZE\t40", kH, kC},
                       "Final file size of '' is not a valid hex value"},
        BrokenRuleCase{
            "HeaderRowMisspelt", 1, {kN, kS, "HEADERS\t10", kC}, "'HEADER' not found in script"},
        BrokenRuleCase{"HeaderSizeWithTrailingBlank",
                       1,
                       {kN, kS, "HEADER\t10 ", kC},
                       "Header size of '10 ' is not a valid hex value"},
        BrokenRuleCase{"HeaderSizeOfEightDigits",
                       1,
                       {kN, kS, "HEADER\t00000010", kC},
                       "Header size of '00000010' is not a valid hex value"},
        BrokenRuleCase{"OriginalOfNeitherLength",
                       1,
                       {kN, "SIZE\t41\t8", kH, kC},
                       "Original ROM is not 65 bytes or 81 bytes"},
        BrokenRuleCase{"OriginalLongerThanWithItsHeader",
                       1,
                       {kN, "SIZE\t20\t8", kH, kC},
                       "Original ROM is not 32 bytes or 48 bytes"},
        BrokenRuleCase{
            "HeaderWantedButNoneDefined", 0, {kN, kS, "HEADER\t0", kC}, kNoHeaderDefined},
        BrokenRuleCase{"HeaderByteBeyondHeaderSize",
                       0,
                       {kN, kS, "HEADER\t2\t1\t2\t3", kC},
                       "Header byte entry 3 makes the header longer than 2 bytes"},
        BrokenRuleCase{"HeaderTooLongBeforeByteNotHex",
                       0,
                       {kN, kS, "HEADER\t1\t4E\tZZ", kC},
                       "Header byte entry ZZ makes the header longer than 1 bytes"},
        BrokenRuleCase{"HeaderWantedWithNoBytesListed",
                       0,
                       {kN, kS, "HEADER\t10", kC},
                       "Header byte entry  is not hex"},
        BrokenRuleCase{"HeaderByteOfEightDigits",
                       0,
                       {kN, kS, "HEADER\t10\t4E\t0000001A", kC},
                       "Header byte entry 0000001A is not hex"},
        BrokenRuleCase{"HeaderByteAboveFF",
                       0,
                       {kN, kS, "HEADER\t10\t4E\t100", kC},
                       "Header byte entry 100 is too big"},
        BrokenRuleCase{"DirectiveRowMisspelt",
                       1,
                       {kN, kS, kH, kC, "FIL\t4\t0"},
                       "Copy, Fill, or Replace missing on start of line 5: \r\nFIL"},
        BrokenRuleCase{"EmptyLineAfterLastDirective",
                       1,
                       {kN, kS, kH, kC, "", ""},
                       "Copy, Fill, or Replace missing on start of line 5: \r\n"},
        BrokenRuleCase{"ReplaceAsFirstDirective",
                       1,
                       {kN, kS, kH, "REPLACE\t0\t11"},
                       "Must be COPY or FILL before the first REPLACE."},
        BrokenRuleCase{"StartAddressWithHexPrefix",
                       1,
                       {kN, kS, kH, "COPY\t0x0\t0"},
                       "Start Write address '0x0' on 4: \r\n0x0\r\n is not hex."},
        BrokenRuleCase{"StartAddressOfEightDigits",
                       1,
                       {kN, kS, kH, kC, "FILL\t00000004\t0"},
                       "Start Write address '00000004' on 5: \r\n00000004\r\n is not hex."},
        BrokenRuleCase{"StartBelowPreviousStart",
                       1,
                       {kN, kS, kH, kC, "COPY\t6\t0", "FILL\t4\t0"},
                       "Start Write address '4' on 6: \r\n4\r\n is too small."},
        BrokenRuleCase{"StartInsidePreviousReplace",
                       1,
                       {kN, kS, kH, kC, "REPLACE\t2\t11\t22\t33", "REPLACE\t4\t44"},
                       "Start Write address '4' on 6: \r\n4\r\n is too small."},
        BrokenRuleCase{"FirstStartNotZero",
                       1,
                       {kN, kS, kH, "COPY\t1\t0"},
                       "First COPY or FILL line MUST start writing at 0."},
        BrokenRuleCase{"NoDirectivesButAFinalSize",
                       1,
                       {kN, kS, kH},
                       "First COPY or FILL line MUST start writing at 0."},
        BrokenRuleCase{"CopySourceNotHex",
                       1,
                       {kN, kS, kH, "COPY\t0\tzz"},
                       "End address zz on line COPY\t0\tzz is not hex"},
        BrokenRuleCase{"FillByteOfEightDigitsAfterARange",
                       1,
                       {kN, kS, kH, kC, "FILL\t4\t00000000"},
                       "End address 00000000 on line FILL\t4\t00000000 is not hex"},
        BrokenRuleCase{"CopySourceAboveOriginalSize",
                       1,
                       {kN, kS, kH, "COPY\t0\t41"},
                       "Copy byte 41 on line COPY\t0\t41 is comes after end of original file."},
        BrokenRuleCase{"FillByteAboveFF",
                       1,
                       {kN, kS, kH, "FILL\t0\t100"},
                       "Fill byte 100 on line FILL\t0\t100 is too big"},
        BrokenRuleCase{"ReplaceByteNotHexMidList",
                       1,
                       {kN, kS, kH, kC, "REPLACE\t2\t11\t22\tg"},
                       "Replace byte 'g' on 5: \r\ng\r\n is not hex."},
        BrokenRuleCase{"ReplaceWithNoBytesListed",
                       1,
                       {kN, kS, kH, kC, "REPLACE\t2"},
                       "Replace byte '' on 5: \r\n\r\n is not hex."},
        BrokenRuleCase{"ReplaceByteOfEightDigits",
                       1,
                       {kN, kS, kH, kC, "REPLACE\t2\t000000FF"},
                       "Replace byte '000000FF' on 5: \r\n000000FF\r\n is not hex."},
        BrokenRuleCase{"ReplaceByteAboveFF",
                       1,
                       {kN, kS, kH, "FILL\t0\tAA", "REPLACE\t2\t11\t100"},
                       "Fill byte '100' on first line is too big."}),
    [](const auto& info) { return std::string(info.param.Name); });

struct AcceptedCase {
    const char* Name;
    std::int16_t Index;
    std::vector<std::string> Lines;
    std::string Expanded;
};

void PrintTo(const AcceptedCase& c, std::ostream* os) {
    *os << c.Name;
}

class AcceptedScript : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedScript, ExpandsToTheseBytes) {
    const AcceptedCase& c = GetParam();
    RunFolder run;
    run.Original(Image(0x40));
    run.Script(c.Lines);
    run.Run(c.Index);
    run.ExpectSuccess();
    EXPECT_EQ(run.File(), c.Expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Script, AcceptedScript,
    ::testing::Values(
        AcceptedCase{"RowNamesInAnyCase",
                     1,
                     {"name\torig.nes\tbig.nes", "Size\t40\t8", "header\t10", "copy\t0\t0",
                      "fill\t4\tAA", "Replace\t6\t11"},
                     "\x00\x01\x02\x03\xAA\xAA\x11\xAA"s},
        AcceptedCase{"LeadingZeros",
                     1,
                     {kN, "SIZE\t0000040\t0008", "HEADER\t0010", "COPY\t0000\t0004"},
                     "\x04\x05\x06\x07\x08\x09\x0A\x0B"},
        AcceptedCase{"HeaderBytesEndAtFirstEmptyField",
                     0,
                     {kN, kS, "HEADER\t10\t4E\t\t45", "FILL\t0\t0"},
                     "N" + std::string(15 + 8, '\0')},
        AcceptedCase{"HeaderByteFF", 0, {kN, kS, "HEADER\t2\tFF\tff", kC}, "\xFF\xFF"s + Image(8)},
        AcceptedCase{"HeaderBytesUncheckedWhenNoHeaderWanted",
                     1,
                     {kN, kS, "HEADER\t2\tZZ\t1\t2\t3", kC},
                     Image(8)},
        AcceptedCase{"HeaderSizeZeroWithExactLength", 1, {kN, kS, "HEADER\t0", kC}, Image(8)},
        AcceptedCase{"NoDirectivesAndFinalSizeZero", 1, {kN, "SIZE\t40\t0", kH}, ""},
        AcceptedCase{
            "NoDirectivesFinalSizeZeroWithHeader", 0, {kN, "SIZE\t40\t0", kH}, ScriptHeader()},
        AcceptedCase{"FinalLineEndAddsNoLine", 1, {kN, kS, kH, kC, ""}, Image(8)},
        AcceptedCase{"ReplaceRightAfterReplace",
                     1,
                     {kN, kS, kH, kC, "REPLACE\t2\t11", "REPLACE\t3\t22"},
                     "\x00\x01\x11\x22\x04\x05\x06\x07"s},
        AcceptedCase{"CopySourceEqualToOriginalSizeReadsZeros",
                     1,
                     {kN, kS, kH, "COPY\t0\t40"},
                     std::string(8, '\0')},
        AcceptedCase{"CopyPastOriginalEndWritesZeros",
                     1,
                     {kN, kS, kH, "COPY\t0\t3C"},
                     "\x3C\x3D\x3E\x3F\x00\x00\x00\x00"s}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace kelbrin::test
