#pragma once

// The messages of the script rules, word for word. `field` is the offending field as
// written, `line` the whole text of the offending line, `lineNumber` its 1-based number.

#include <cstdint>
#include <string>

namespace kelbrin::RuleMessage {

// The three fixed lines.
std::string NameMissing();
// Both names lead to one file.
std::string SameRomNames(const std::string& expandedName);
std::string SizeMissing();
std::string OriginalSizeNotHex(const std::string& field);
std::string FinalSizeNotHex(const std::string& field);
std::string HeaderMissing();
std::string HeaderSizeNotHex(const std::string& field);

// The header bytes of a run that adds a header: one more than the header size, not a number,
// above FF.
std::string HeaderTooLong(const std::string& field, std::int32_t headerSize);
std::string HeaderByteNotHex(const std::string& field);
std::string HeaderByteTooBig(const std::string& field);

// The directive lines.
// The row name is not COPY, FILL or REPLACE.
std::string DirectiveMissing(std::int32_t lineNumber, const std::string& field);
// The first directive line is a REPLACE line.
std::string ReplaceFirst();
std::string StartNotHex(const std::string& field, std::int32_t lineNumber);
// The start address lies below the current write position.
std::string StartTooSmall(const std::string& field, std::int32_t lineNumber);
// The first directive line does not start at 0, or there is none and the final size is not 0.
std::string FirstStartNotZero();
// A COPY source or FILL byte that is not a number; the message calls it the end address.
std::string EndNotHex(const std::string& field, const std::string& line);
// A COPY source above the original's size.
std::string CopyPastOriginal(const std::string& field, const std::string& line);
std::string FillByteTooBig(const std::string& field, const std::string& line);
std::string ReplaceByteNotHex(const std::string& field, std::int32_t lineNumber);
// A REPLACE byte above FF; the message calls it a fill byte on the first line.
std::string ReplaceByteTooBig(const std::string& field);

// Header detection found neither the plain nor the headered length.
std::string OriginalWrongLength(std::int32_t originalSize, std::int32_t withHeader);
// A header was asked for, but the script declares none for this kind of ROM.
std::string NoHeaderDefined();
// The original's digest differs from the script's; the run goes on after this warning.
std::string MD5Mismatch();

} // namespace kelbrin::RuleMessage
