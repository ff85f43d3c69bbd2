#include "MD5.h"

#include <algorithm>

#include "BinaryReader.h"
#include "RuntimeError.h"

namespace kelbrin {

namespace {

constexpr std::int32_t kLongestUpdate = 32767;
constexpr std::size_t kLongestString = 32767;
// Chunks are whole blocks, so every block but the file's last lies inside one chunk. 64 KiB
// stays in the processor's cache between the kernel's copy and the transform.
constexpr std::size_t kFileChunk = 64 * 1024;

} // namespace

std::string MD5::RegisterA() const {
    return std::to_string(A_);
}
std::string MD5::RegisterB() const {
    return std::to_string(B_);
}
std::string MD5::RegisterC() const {
    return std::to_string(C_);
}
std::string MD5::RegisterD() const {
    return std::to_string(D_);
}

std::string MD5::LongToHexStr(std::int32_t v) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(v);
    std::string text;
    for (int shift = 0; shift < 32; shift += 8) {
        const auto byte = (bits >> shift) & 0xFF;
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string MD5::GetValues() const {
    return LongToHexStr(A_) + LongToHexStr(B_) + LongToHexStr(C_) + LongToHexStr(D_);
}

void MD5::MD5Init() {
    ByteCount_ = 0;
    A_ = UnsignedToSigned(1732584193.0);
    B_ = UnsignedToSigned(4023233417.0);
    C_ = UnsignedToSigned(2562383102.0);
    D_ = UnsignedToSigned(271733878.0);
}

void MD5::AddToByteCount(std::int32_t count) {
    if (ByteCount_ > INT32_MAX - count) {
        throw RuntimeError(ErrOverflow);
    }
    ByteCount_ += count;
}

void MD5::MD5Update(std::int32_t InputLen, std::span<const std::uint8_t> InputBuffer) {
    if (InputLen < 0 || InputBuffer.size() < static_cast<std::size_t>(InputLen)) {
        throw RuntimeError(ErrSubscriptOutOfRange);
    }
    if (InputLen > kLongestUpdate) {
        throw RuntimeError(ErrOverflow);
    }
    auto index = static_cast<std::size_t>(ByteCount_ % 64);
    const std::size_t free = 64 - index;
    AddToByteCount(InputLen);

    const auto length = static_cast<std::size_t>(InputLen);
    std::size_t consumed = 0;
    if (length >= free) {
        std::copy_n(InputBuffer.begin(), free, BlockBuffer_.begin() + index);
        TransformBlock(BlockBuffer_.data());
        // Whole blocks are transformed where they lie: copying each into the block buffer first
        // would leave the same registers at a tenth more of the time.
        for (consumed = free; consumed + 64 <= length; consumed += 64) {
            TransformBlock(InputBuffer.data() + consumed);
        }
        index = 0;
    }
    std::ranges::copy(InputBuffer.subspan(consumed, length - consumed),
                      BlockBuffer_.begin() + index);
}

void MD5::MD5Final() {
    // The bit count must fit in 32 signed bits.
    if (ByteCount_ >= (1 << 28)) {
        throw RuntimeError(ErrOverflow);
    }
    const auto bitCount = static_cast<std::uint32_t>(ByteCount_) * 8;
    std::array<std::uint8_t, 64> padding{};
    padding[0] = 0x80;
    const std::int32_t index = ByteCount_ % 64;
    MD5Update(index < 56 ? 56 - index : 120 - index, padding);

    padding.fill(0);
    for (int i = 0; i < 4; ++i) {
        padding[i] = static_cast<std::uint8_t>(bitCount >> (8 * i));
    }
    MD5Update(8, padding);
}

std::vector<std::uint8_t> MD5::StrToBytes(const std::string& s) {
    // Script text is already 8-bit, so every character has its code page byte.
    if (s.size() > kLongestString) {
        throw RuntimeError(ErrOverflow);
    }
    std::vector<std::uint8_t> bytes(s.begin(), s.end());
    bytes.push_back(0);
    return bytes;
}

std::string MD5::DigestStrToHexStr(const std::string& SourceString) {
    MD5Init();
    const std::vector<std::uint8_t> bytes = StrToBytes(SourceString);
    MD5Update(static_cast<std::int32_t>(SourceString.size()), bytes);
    MD5Final();
    return GetValues();
}

std::string MD5::DigestFileToHexStr(const std::string& FileName, bool bOriginalHasHeader,
                                    std::int32_t lHeaderSize) {
    BinaryReader file(FileName);
    if (bOriginalHasHeader) {
        file.Seek(lHeaderSize);
    }
    MD5Init();
    std::vector<std::uint8_t> chunk(kFileChunk);
    for (;;) {
        const std::size_t got = file.ReadUpTo(chunk);
        std::size_t at = 0;
        for (; at + 64 <= got; at += 64) {
            AddToByteCount(64);
            TransformBlock(chunk.data() + at);
        }
        if (got < chunk.size()) {
            // The file's last bytes wait in the block buffer for the padding.
            const std::size_t remainder = got - at;
            std::copy_n(chunk.begin() + static_cast<std::ptrdiff_t>(at), remainder,
                        BlockBuffer_.begin());
            AddToByteCount(static_cast<std::int32_t>(remainder));
            break;
        }
    }
    file.Close();
    MD5Final();
    return GetValues();
}

} // namespace kelbrin
