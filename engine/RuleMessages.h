#pragma once

// The messages of the script rules, word for word. `field` is the offending field as
// written, `line` the whole text of the offending line, `lineNumber` its 1-based number.

#include <cstdint>
#include <string>

namespace kelbrin::RuleMessage {

std::string NameMissing();                                                        // L1
std::string SameRomNames(const std::string& expandedName);                        // L2
std::string SizeMissing();                                                        // L3
std::string OriginalSizeNotHex(const std::string& field);                         // L4
std::string FinalSizeNotHex(const std::string& field);                            // L5
std::string HeaderMissing();                                                      // L6
std::string HeaderSizeNotHex(const std::string& field);                           // L7
std::string HeaderTooLong(const std::string& field, std::int32_t headerSize);     // H1
std::string HeaderByteNotHex(const std::string& field);                           // H2
std::string HeaderByteTooBig(const std::string& field);                           // H3
std::string DirectiveMissing(std::int32_t lineNumber, const std::string& field);  // D1
std::string ReplaceFirst();                                                       // D2
std::string StartNotHex(const std::string& field, std::int32_t lineNumber);       // D3
std::string StartTooSmall(const std::string& field, std::int32_t lineNumber);     // D4
std::string FirstStartNotZero();                                                  // D5
std::string EndNotHex(const std::string& field, const std::string& line);         // D6
std::string CopyPastOriginal(const std::string& field, const std::string& line);  // D7
std::string FillByteTooBig(const std::string& field, const std::string& line);    // D8
std::string ReplaceByteNotHex(const std::string& field, std::int32_t lineNumber); // D9
std::string ReplaceByteTooBig(const std::string& field);                          // D10

// Header detection found neither the plain nor the headered length.
std::string OriginalWrongLength(std::int32_t originalSize, std::int32_t withHeader);
// A header was asked for, but the script declares none for this kind of ROM.
std::string NoHeaderDefined();
// The original's digest differs from the script's; the run goes on after this warning.
std::string MD5Mismatch();

} // namespace kelbrin::RuleMessage
