#include "RuleMessages.h"

#include <initializer_list>
#include <string_view>

namespace kelbrin::RuleMessage {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// The pieces in one string of exactly their length. Messages quote whole script lines, which
// may be hundreds of megabytes long: a chain of "+" would hold a few copies of such a line at
// once, this one holds none.
std::string Joined(std::initializer_list<std::string_view> pieces) {
    std::size_t length = 0;
    for (const std::string_view piece : pieces) {
        length += piece.size();
    }
    std::string joined;
    joined.reserve(length);
    for (const std::string_view piece : pieces) {
        joined.append(piece);
    }
    return joined;
}

// The form of the start address and replace byte messages: the field in quotes, the line
// number, then the field again on a line of its own.
std::string FieldOnLine(std::string_view what, const std::string& field, std::int32_t lineNumber,
                        std::string_view verdict) {
    return Joined({what, " '", field, "' on ", std::to_string(lineNumber), ": ", kCrLf, field,
                   kCrLf, verdict});
}

} // namespace

std::string NameMissing() {
    return "'NAME' not found in script";
}

std::string SameRomNames(const std::string& expandedName) {
    return Joined({"Original and Expanded rom names are the same:", expandedName});
}

std::string SizeMissing() {
    return "'SIZE' not found in script";
}

std::string OriginalSizeNotHex(const std::string& field) {
    return Joined({"Original file size of '", field, "' is not a valid hex value"});
}

std::string FinalSizeNotHex(const std::string& field) {
    return Joined({"Final file size of '", field, "' is not a valid hex value"});
}

std::string HeaderMissing() {
    return "'HEADER' not found in script";
}

std::string HeaderSizeNotHex(const std::string& field) {
    return Joined({"Header size of '", field, "' is not a valid hex value"});
}

std::string HeaderTooLong(const std::string& field, std::int32_t headerSize) {
    return Joined({"Header byte entry ", field, " makes the header longer than ",
                   std::to_string(headerSize), " bytes"});
}

std::string HeaderByteNotHex(const std::string& field) {
    return Joined({"Header byte entry ", field, " is not hex"});
}

std::string HeaderByteTooBig(const std::string& field) {
    return Joined({"Header byte entry ", field, " is too big"});
}

std::string DirectiveMissing(std::int32_t lineNumber, const std::string& field) {
    return Joined({"Copy, Fill, or Replace missing on start of line ", std::to_string(lineNumber),
                   ": ", kCrLf, field});
}

std::string ReplaceFirst() {
    return "Must be COPY or FILL before the first REPLACE.";
}

std::string StartNotHex(const std::string& field, std::int32_t lineNumber) {
    return FieldOnLine("Start Write address", field, lineNumber, " is not hex.");
}

std::string StartTooSmall(const std::string& field, std::int32_t lineNumber) {
    return FieldOnLine("Start Write address", field, lineNumber, " is too small.");
}

std::string FirstStartNotZero() {
    return "First COPY or FILL line MUST start writing at 0.";
}

std::string EndNotHex(const std::string& field, const std::string& line) {
    return Joined({"End address ", field, " on line ", line, " is not hex"});
}

std::string CopyPastOriginal(const std::string& field, const std::string& line) {
    return Joined(
        {"Copy byte ", field, " on line ", line, " is comes after end of original file."});
}

std::string FillByteTooBig(const std::string& field, const std::string& line) {
    return Joined({"Fill byte ", field, " on line ", line, " is too big"});
}

std::string ReplaceByteNotHex(const std::string& field, std::int32_t lineNumber) {
    return FieldOnLine("Replace byte", field, lineNumber, " is not hex.");
}

std::string ReplaceByteTooBig(const std::string& field) {
    return Joined({"Fill byte '", field, "' on first line is too big."});
}

std::string OriginalWrongLength(std::int32_t originalSize, std::int32_t withHeader) {
    return Joined({"Original ROM is not ", std::to_string(originalSize), " bytes or ",
                   std::to_string(withHeader), " bytes"});
}

std::string NoHeaderDefined() {
    return Joined({"Expansion file has no header defined for this type of ROM,", kCrLf,
                   "so you can't add a header.", kCrLf,
                   "Press the 'Expand and Ignore/Remove Header' button instead."});
}

std::string MD5Mismatch() {
    return Joined({"Original ROM's MD5 checksum does not match the checksum in the patch.", kCrLf,
                   "Your patched ROM will not match the ROM of the maker of the patch.", kCrLf,
                   "Click OK to expand the ROM anyway."});
}

} // namespace kelbrin::RuleMessage
