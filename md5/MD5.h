#pragma once

// The RFC 1321 MD5 digest, as MD5 hex text: 32 upper-case hexadecimal digits.
//
// Words are kept as the bit patterns of signed 32-bit integers, and the arithmetic
// helpers (WrapAdd, LongLeftRotate, UnsignedToSigned ...) keep the exact results and
// limits that callers of this class rely on, including its run-time errors 6 and 9. Inside
// the block transform they compile down to plain 32-bit wrap-around arithmetic.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelbrin {

class MD5 {
public:
    // The registers as signed decimal text.
    std::string RegisterA() const;
    std::string RegisterB() const;
    std::string RegisterC() const;
    std::string RegisterD() const;

    // The digest of the file's bytes from offset lHeaderSize (when bOriginalHasHeader) or
    // from its start, to its end. The file is read in large chunks: memory stays constant.
    std::string DigestFileToHexStr(const std::string& FileName, bool bOriginalHasHeader,
                                   std::int32_t lHeaderSize);
    // The digest of the string's 8-bit character codes; error 6 past 32,767 characters.
    std::string DigestStrToHexStr(const std::string& SourceString);
    // The registers as MD5 hex text.
    std::string GetValues() const;

    void MD5Init();
    // Appends the padding and the length; error 6 for 2^28 bytes or more.
    void MD5Final();
    // Digests the first InputLen bytes of InputBuffer. Error 6 for InputLen of 32,768 or
    // more or a byte count past 2,147,483,647; error 9 when the buffer is shorter.
    void MD5Update(std::int32_t InputLen, std::span<const std::uint8_t> InputBuffer);

    // Rotates value left by bits mod 32 (the remainder keeps the sign of bits; a count of 0
    // or below leaves value as it is). Both arguments receive their new values.
    static std::int32_t LongLeftRotate(std::int32_t& value, std::int32_t& bits);

private:
    static std::vector<std::uint8_t> StrToBytes(const std::string& s);
    static std::string LongToHexStr(std::int32_t v);
    void TransformBlock(const std::uint8_t* block);
    static void BytesToWords(std::int16_t length, std::span<std::int32_t> words,
                             std::span<const std::uint8_t> bytes);
    static void StepF(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                      std::int32_t x, std::int32_t s, std::int32_t t);
    static void StepG(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                      std::int32_t x, std::int32_t s, std::int32_t t);
    static void StepH(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                      std::int32_t x, std::int32_t s, std::int32_t t);
    static void StepI(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                      std::int32_t x, std::int32_t s, std::int32_t t);
    static std::int32_t WrapAdd(std::int32_t p, std::int32_t q);
    static std::int32_t WrapAdd4(std::int32_t p, std::int32_t q, std::int32_t r, std::int32_t s);
    static std::int32_t UnsignedToSigned(double v);

    void AddToByteCount(std::int32_t count);

    std::int32_t A_ = 0;
    std::int32_t B_ = 0;
    std::int32_t C_ = 0;
    std::int32_t D_ = 0;
    std::int32_t ByteCount_ = 0;
    std::array<std::uint8_t, 64> BlockBuffer_{};
};

} // namespace kelbrin
