#include "NumberAdvice.h"

#include <algorithm>

#include "RuntimeError.h"
#include "ScriptFields.h"

namespace kelbrin {

namespace {

// The hex digits of a number written with a prefix or suffix of another notation.
std::optional<std::string_view> WithoutNotation(std::string_view field) {
    for (const std::string_view prefix : {"0x", "0X", "$", "&H", "&h"}) {
        if (field.starts_with(prefix)) {
            return field.substr(prefix.size());
        }
    }
    if (field.ends_with('h') || field.ends_with('H')) {
        return field.substr(0, field.size() - 1);
    }
    return std::nullopt;
}

} // namespace

std::string_view WithoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsDecimal(std::string_view field) {
    return !field.empty() && field.size() <= 9 &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int64_t DecimalValue(std::string_view field) {
    std::int64_t value = 0;
    for (const char c : field) {
        value = value * 10 + (c - '0');
    }
    return value;
}

bool LooksDecimal(std::string_view field) {
    if (!IsDecimal(field) || field.size() > 7) {
        return false;
    }
    const std::int64_t meant = DecimalValue(field);
    const std::int64_t read = std::stoll(std::string(field), nullptr, 16);
    return meant != 0 && meant % 0x400 == 0 && read % 0x400 != 0;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::optional<std::int32_t> NumberOf(std::string_view field) {
    try {
        return ScriptNumber(field);
    } catch (const RuntimeError&) {
        // A field too long for the digit check is no number either.
        return std::nullopt;
    }
}

std::string WhyNoNumber(std::string_view field) {
    if (field.empty()) {
        return "is empty: two tabs stand together, or the field is missing";
    }
    const std::string_view trimmed = WithoutBlanks(field);
    if (trimmed.size() != field.size() && NumberOf(trimmed)) {
        return "has blanks around " + std::string(trimmed) + ": nothing is trimmed, remove them";
    }
    if (field.find(' ') != std::string_view::npos) {
        return "holds blanks: fields are separated by tab characters, not spaces";
    }
    if (const auto digits = WithoutNotation(field); digits && NumberOf(*digits)) {
        return "is written with a prefix or suffix: write the hex digits alone, " +
               std::string(*digits);
    }
    if (std::all_of(field.begin(), field.end(), IsHexDigit)) {
        return "has " + std::to_string(field.size()) +
               " digits: a number has 1 to 7 hex digits, up to FFFFFFF";
    }
    if (field.starts_with('-')) {
        return "has a sign: numbers are never negative";
    }
    return "holds characters other than the hex digits 0-9 and A-F";
}

} // namespace kelbrin
