#include "PatchWriting.h"

#include "ChecksummedStart.h"

namespace kelbrin {

namespace {

void AppendLittleEndian(PatchBytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

} // namespace

void AppendNumber(PatchBytes& out, std::uint64_t value) {
    for (;;) {
        const auto digit = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(0x80 | digit);
            return;
        }
        out.push_back(digit);
        --value;
    }
}

std::size_t NumberSize(std::uint64_t value) {
    std::size_t size = 1;
    while ((value >>= 7) != 0) {
        --value;
        ++size;
    }
    return size;
}

void AppendChecksums(PatchBytes& out, std::uint32_t sourceCrc, std::uint32_t targetCrc) {
    AppendLittleEndian(out, sourceCrc);
    AppendLittleEndian(out, targetCrc);
    AppendLittleEndian(out, Crc32Of(out));
}

} // namespace kelbrin
