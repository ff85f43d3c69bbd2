// The block transform and the 32-bit arithmetic it rests on.

#include <bit>
#include <cmath>
#include <cstring>

#include "MD5.h"
#include "RuntimeError.h"

namespace kelbrin {

namespace {

inline std::uint32_t U(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}
inline std::int32_t S(std::uint32_t v) {
    return static_cast<std::int32_t>(v);
}

} // namespace

std::int32_t MD5::UnsignedToSigned(double v) {
    if (!(v >= 0.0 && v < 4294967296.0)) {
        throw RuntimeError(ErrOverflow);
    }
    const double rounded = std::nearbyint(v <= 2147483647.0 ? v : v - 4294967296.0);
    if (rounded > 2147483647.0 || rounded < -2147483648.0) {
        throw RuntimeError(ErrOverflow);
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t MD5::WrapAdd(std::int32_t p, std::int32_t q) {
    return S(U(p) + U(q));
}

std::int32_t MD5::WrapAdd4(std::int32_t p, std::int32_t q, std::int32_t r, std::int32_t s) {
    return S(U(p) + U(q) + U(r) + U(s));
}

std::int32_t MD5::LongLeftRotate(std::int32_t& value, std::int32_t& bits) {
    // C++'s remainder takes the sign of the dividend: -33 reduces to -1.
    bits %= 32;
    if (bits > 0) {
        value = S(std::rotl(U(value), bits));
    }
    return value;
}

void MD5::BytesToWords(std::int16_t length, std::span<std::int32_t> words,
                       std::span<const std::uint8_t> bytes) {
    std::size_t i = 0;
    for (std::int32_t j = 0; j <= length - 1; j += 4, ++i) {
        if (i >= words.size() || static_cast<std::size_t>(j) + 3 >= bytes.size()) {
            throw RuntimeError(ErrSubscriptOutOfRange);
        }
        const auto at = static_cast<std::size_t>(j);
        words[i] = S(U(bytes[at]) | U(bytes[at + 1]) << 8 | U(bytes[at + 2]) << 16 |
                     U(bytes[at + 3]) << 24);
    }
}

// One MD5 step: a = b + ((a + f(b, c, d) + x + t) <<< s).
inline void MD5::StepF(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                       std::int32_t x, std::int32_t s, std::int32_t t) {
    // (b AND c) OR ((NOT b) AND d), in a form with one operation less.
    const std::uint32_t f = U(d) ^ (U(b) & (U(c) ^ U(d)));
    a = S(std::rotl(U(a) + f + U(x) + U(t), s) + U(b));
}

inline void MD5::StepG(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                       std::int32_t x, std::int32_t s, std::int32_t t) {
    // (b AND d) OR (c AND (NOT d))
    const std::uint32_t g = U(c) ^ (U(d) & (U(b) ^ U(c)));
    a = S(std::rotl(U(a) + g + U(x) + U(t), s) + U(b));
}

inline void MD5::StepH(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                       std::int32_t x, std::int32_t s, std::int32_t t) {
    const std::uint32_t h = U(b) ^ U(c) ^ U(d);
    a = S(std::rotl(U(a) + h + U(x) + U(t), s) + U(b));
}

inline void MD5::StepI(std::int32_t& a, std::int32_t b, std::int32_t c, std::int32_t d,
                       std::int32_t x, std::int32_t s, std::int32_t t) {
    const std::uint32_t i = U(c) ^ (U(b) | ~U(d));
    a = S(std::rotl(U(a) + i + U(x) + U(t), s) + U(b));
}

void MD5::TransformBlock(const std::uint8_t* block) {
    std::int32_t x[16];
    if constexpr (std::endian::native == std::endian::little) {
        // The block already holds the little-endian words: one copy, no per-byte assembly.
        std::memcpy(x, block, sizeof x);
    } else {
        BytesToWords(64, x, std::span<const std::uint8_t>(block, 64));
    }
    std::int32_t a = A_;
    std::int32_t b = B_;
    std::int32_t c = C_;
    std::int32_t d = D_;

    // The 64 sine constants of RFC 1321, in step order.
    StepF(a, b, c, d, x[0], 7, S(0xd76aa478));
    StepF(d, a, b, c, x[1], 12, S(0xe8c7b756));
    StepF(c, d, a, b, x[2], 17, S(0x242070db));
    StepF(b, c, d, a, x[3], 22, S(0xc1bdceee));
    StepF(a, b, c, d, x[4], 7, S(0xf57c0faf));
    StepF(d, a, b, c, x[5], 12, S(0x4787c62a));
    StepF(c, d, a, b, x[6], 17, S(0xa8304613));
    StepF(b, c, d, a, x[7], 22, S(0xfd469501));
    StepF(a, b, c, d, x[8], 7, S(0x698098d8));
    StepF(d, a, b, c, x[9], 12, S(0x8b44f7af));
    StepF(c, d, a, b, x[10], 17, S(0xffff5bb1));
    StepF(b, c, d, a, x[11], 22, S(0x895cd7be));
    StepF(a, b, c, d, x[12], 7, S(0x6b901122));
    StepF(d, a, b, c, x[13], 12, S(0xfd987193));
    StepF(c, d, a, b, x[14], 17, S(0xa679438e));
    StepF(b, c, d, a, x[15], 22, S(0x49b40821));

    StepG(a, b, c, d, x[1], 5, S(0xf61e2562));
    StepG(d, a, b, c, x[6], 9, S(0xc040b340));
    StepG(c, d, a, b, x[11], 14, S(0x265e5a51));
    StepG(b, c, d, a, x[0], 20, S(0xe9b6c7aa));
    StepG(a, b, c, d, x[5], 5, S(0xd62f105d));
    StepG(d, a, b, c, x[10], 9, S(0x02441453));
    StepG(c, d, a, b, x[15], 14, S(0xd8a1e681));
    StepG(b, c, d, a, x[4], 20, S(0xe7d3fbc8));
    StepG(a, b, c, d, x[9], 5, S(0x21e1cde6));
    StepG(d, a, b, c, x[14], 9, S(0xc33707d6));
    StepG(c, d, a, b, x[3], 14, S(0xf4d50d87));
    StepG(b, c, d, a, x[8], 20, S(0x455a14ed));
    StepG(a, b, c, d, x[13], 5, S(0xa9e3e905));
    StepG(d, a, b, c, x[2], 9, S(0xfcefa3f8));
    StepG(c, d, a, b, x[7], 14, S(0x676f02d9));
    StepG(b, c, d, a, x[12], 20, S(0x8d2a4c8a));

    StepH(a, b, c, d, x[5], 4, S(0xfffa3942));
    StepH(d, a, b, c, x[8], 11, S(0x8771f681));
    StepH(c, d, a, b, x[11], 16, S(0x6d9d6122));
    StepH(b, c, d, a, x[14], 23, S(0xfde5380c));
    StepH(a, b, c, d, x[1], 4, S(0xa4beea44));
    StepH(d, a, b, c, x[4], 11, S(0x4bdecfa9));
    StepH(c, d, a, b, x[7], 16, S(0xf6bb4b60));
    StepH(b, c, d, a, x[10], 23, S(0xbebfbc70));
    StepH(a, b, c, d, x[13], 4, S(0x289b7ec6));
    StepH(d, a, b, c, x[0], 11, S(0xeaa127fa));
    StepH(c, d, a, b, x[3], 16, S(0xd4ef3085));
    StepH(b, c, d, a, x[6], 23, S(0x04881d05));
    StepH(a, b, c, d, x[9], 4, S(0xd9d4d039));
    StepH(d, a, b, c, x[12], 11, S(0xe6db99e5));
    StepH(c, d, a, b, x[15], 16, S(0x1fa27cf8));
    StepH(b, c, d, a, x[2], 23, S(0xc4ac5665));

    StepI(a, b, c, d, x[0], 6, S(0xf4292244));
    StepI(d, a, b, c, x[7], 10, S(0x432aff97));
    StepI(c, d, a, b, x[14], 15, S(0xab9423a7));
    StepI(b, c, d, a, x[5], 21, S(0xfc93a039));
    StepI(a, b, c, d, x[12], 6, S(0x655b59c3));
    StepI(d, a, b, c, x[3], 10, S(0x8f0ccc92));
    StepI(c, d, a, b, x[10], 15, S(0xffeff47d));
    StepI(b, c, d, a, x[1], 21, S(0x85845dd1));
    StepI(a, b, c, d, x[8], 6, S(0x6fa87e4f));
    StepI(d, a, b, c, x[15], 10, S(0xfe2ce6e0));
    StepI(c, d, a, b, x[6], 15, S(0xa3014314));
    StepI(b, c, d, a, x[13], 21, S(0x4e0811a1));
    StepI(a, b, c, d, x[4], 6, S(0xf7537e82));
    StepI(d, a, b, c, x[11], 10, S(0xbd3af235));
    StepI(c, d, a, b, x[2], 15, S(0x2ad7d2bb));
    StepI(b, c, d, a, x[9], 21, S(0xeb86d391));

    A_ = WrapAdd(A_, a);
    B_ = WrapAdd(B_, b);
    C_ = WrapAdd(C_, c);
    D_ = WrapAdd(D_, d);
}

} // namespace kelbrin
