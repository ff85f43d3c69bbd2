#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelbrin {

// The CRC-32 of ROM databases and zip files, over bytes given piece by piece.
class Crc32 {
public:
    void Update(std::span<const std::uint8_t> bytes);
    std::uint32_t Value() const noexcept { return value_; }
    // The CRC of `first` followed by `secondLength` bytes whose CRC is `second`.
    static std::uint32_t Combine(std::uint32_t first, std::uint32_t second,
                                 std::int64_t secondLength);
    // Eight upper-case hex digits.
    static std::string Text(std::uint32_t value);

private:
    std::uint32_t value_ = 0;
};

} // namespace kelbrin
