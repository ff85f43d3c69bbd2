#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelbrin {

// What an author probably meant by a field where the script wants a number: the words the notes
// on a script use for numbers.

// The text without the blanks at its ends; a run trims nothing.
std::string_view WithoutBlanks(std::string_view text);
// Decimal digits alone, at most nine: a number an author may have typed in decimal.
bool IsDecimal(std::string_view field);
// The value of a field of decimal digits.
std::int64_t DecimalValue(std::string_view field);
// A number of decimal digits that is round as decimal (a multiple of 1 KiB, as ROM sizes and
// bank addresses are) but not as hex: probably typed in decimal.
bool LooksDecimal(std::string_view field);
bool IsHexDigit(char c);
// The field's value as a run reads it, or nothing; never raises, also for a field of any length.
std::optional<std::int32_t> NumberOf(std::string_view field);
// Why `field`, where a number belongs, is none: "is empty: ...", "has blanks around 10: ...",
// "is written with a prefix or suffix: ...", and so on, to follow the field's name.
std::string WhyNoNumber(std::string_view field);

} // namespace kelbrin
