#pragma once

// Whether this test program runs under AddressSanitizer, which reserves terabytes of address
// space and checks for leaks from a thread of its own: limits on a child's memory or threads
// mean something else there. GCC says so with a macro, clang with a feature test.
namespace kelbrin::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
inline constexpr bool kUnderAddressSanitizer = __has_feature(address_sanitizer);
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

} // namespace kelbrin::test
