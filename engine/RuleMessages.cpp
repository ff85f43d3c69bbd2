#include "engine/RuleMessages.h"

namespace kelbrin::RuleMessage {

namespace {

const std::string kCrLf = "\r\n";

// The D3, D4 and D9 form: the field in quotes, the line number, then the field again on a
// line of its own.
std::string FieldOnLine(const std::string& what, const std::string& field, std::int32_t lineNumber,
                        const std::string& verdict) {
    return what + " '" + field + "' on " + std::to_string(lineNumber) + ": " + kCrLf + field +
           kCrLf + verdict;
}

} // namespace

std::string NameMissing() {
    return "'NAME' not found in script";
}

std::string SameRomNames(const std::string& expandedName) {
    return "Original and Expanded rom names are the same:" + expandedName;
}

std::string SizeMissing() {
    return "'SIZE' not found in script";
}

std::string OriginalSizeNotHex(const std::string& field) {
    return "Original file size of '" + field + "' is not a valid hex value";
}

std::string FinalSizeNotHex(const std::string& field) {
    return "Final file size of '" + field + "' is not a valid hex value";
}

std::string HeaderMissing() {
    return "'HEADER' not found in script";
}

std::string HeaderSizeNotHex(const std::string& field) {
    return "Header size of '" + field + "' is not a valid hex value";
}

std::string HeaderTooLong(const std::string& field, std::int32_t headerSize) {
    return "Header byte entry " + field + " makes the header longer than " +
           std::to_string(headerSize) + " bytes";
}

std::string HeaderByteNotHex(const std::string& field) {
    return "Header byte entry " + field + " is not hex";
}

std::string HeaderByteTooBig(const std::string& field) {
    return "Header byte entry " + field + " is too big";
}

std::string DirectiveMissing(std::int32_t lineNumber, const std::string& field) {
    return "Copy, Fill, or Replace missing on start of line " + std::to_string(lineNumber) + ": " +
           kCrLf + field;
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
    return "End address " + field + " on line " + line + " is not hex";
}

std::string CopyPastOriginal(const std::string& field, const std::string& line) {
    return "Copy byte " + field + " on line " + line + " is comes after end of original file.";
}

std::string FillByteTooBig(const std::string& field, const std::string& line) {
    return "Fill byte " + field + " on line " + line + " is too big";
}

std::string ReplaceByteNotHex(const std::string& field, std::int32_t lineNumber) {
    return FieldOnLine("Replace byte", field, lineNumber, " is not hex.");
}

std::string ReplaceByteTooBig(const std::string& field) {
    return "Fill byte '" + field + "' on first line is too big.";
}

std::string OriginalWrongLength(std::int32_t originalSize, std::int32_t withHeader) {
    return "Original ROM is not " + std::to_string(originalSize) + " bytes or " +
           std::to_string(withHeader) + " bytes";
}

std::string NoHeaderDefined() {
    return "Expansion file has no header defined for this type of ROM," + kCrLf +
           "so you can't add a header." + kCrLf +
           "Press the 'Expand and Ignore/Remove Header' button instead.";
}

std::string MD5Mismatch() {
    return "Original ROM's MD5 checksum does not match the checksum in the patch." + kCrLf +
           "Your patched ROM will not match the ROM of the maker of the patch." + kCrLf +
           "Click OK to expand the ROM anyway.";
}

} // namespace kelbrin::RuleMessage
