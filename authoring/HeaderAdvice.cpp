#include "HeaderAdvice.h"

#include <array>

#include "BinaryReader.h"
#include "FileLength.h"
#include "NumberAdvice.h"
#include "NumberText.h"
#include "RuntimeError.h"

namespace kelbrin {

namespace {

constexpr std::array<std::uint8_t, 4> kNesMark{'N', 'E', 'S', 0x1A};
constexpr std::uint32_t kNesHeader = 0x10;
constexpr std::uint32_t kCopierHeader = 0x200;

// An image is a whole number of KiB.
bool LeavesWholeImage(std::int64_t length, std::int64_t header) {
    return header < length && (length - header) % 0x400 == 0;
}

std::string Bytes(std::int64_t count) {
    return GroupedDecimal(count) + (count == 1 ? " byte" : " bytes");
}

} // namespace

std::optional<HeaderAdvice> AdviseHeader(const std::string& path,
                                         std::optional<std::uint32_t> given) {
    const std::int64_t length = FileLength64(path);
    if (length < 0 || given == 0u) {
        return std::nullopt;
    }
    const std::string name = "'" + path + "'";
    if (given) {
        const std::string digits = ScriptHex(*given);
        if (!IsDecimal(digits)) {
            return std::nullopt;
        }
        const std::int64_t decimal = DecimalValue(digits);
        if (LeavesWholeImage(length, decimal) && !LeavesWholeImage(length, *given)) {
            return HeaderAdvice{static_cast<std::uint32_t>(decimal),
                                "the header size " + digits + " of " + name + " is hex for " +
                                    Bytes(*given) + " and leaves no whole number of KiB " +
                                    "behind it, where " + Bytes(decimal) +
                                    ", its decimal reading, would: it was probably meant as "
                                    "decimal"};
        }
        return std::nullopt;
    }
    std::array<std::uint8_t, kNesMark.size()> start{};
    try {
        BinaryReader reader(path, length);
        reader.Read(start);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    if (length > static_cast<std::int64_t>(kNesHeader) && start == kNesMark) {
        return HeaderAdvice{kNesHeader, name + " starts with 4E 45 53 1A, the mark of a 16-byte "
                                               "NES header, so it very likely carries one"};
    }
    if (length > 0x8000 && length % 0x8000 == kCopierHeader) {
        return HeaderAdvice{kCopierHeader,
                            name + " is 512 bytes over a multiple of 32 KiB, as a file with a "
                                   "512-byte copier header is, so it very likely carries one"};
    }
    return std::nullopt;
}

} // namespace kelbrin
