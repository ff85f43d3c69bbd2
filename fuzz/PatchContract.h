#pragma once

// What every patch reader promises, whatever bytes it is given: it returns, or refuses with one
// of the patch errors, and a patch it refuses without the ROM is refused with the ROM too.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <vector>

#include "PatchDescription.h"
#include "PatchErrors.h"
#include "RuntimeError.h"

namespace kelbrin::fuzz {

inline void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The number `step` refuses with, 0 when it does not. Any other way out is a broken contract.
inline std::int32_t Refusal(const std::function<void()>& step) {
    try {
        step();
    } catch (const RuntimeError& error) {
        Check(error.Number() >= ErrPatchUnknownFormat && error.Number() <= ErrPatchTargetTooLarge,
              "a reader refuses only with a patch error");
        return error.Number();
    }
    return 0;
}

// Patched ROMs larger than this are not made: the reader's checks come before the memory.
inline constexpr std::uint64_t kLargestFuzzedRom = 1 << 20;

} // namespace kelbrin::fuzz
