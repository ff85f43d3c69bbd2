#pragma once

#include <cstdint>

#include "RuntimeError.h"

namespace kelbrin {

// Steps a signed 16-bit counter by one. The counters that the script format limits
// (line numbers, characters of a number) stop at 32,767: one step further is an overflow.
inline void Increment16(std::int16_t& counter) {
    if (counter == INT16_MAX) {
        throw RuntimeError(ErrOverflow);
    }
    ++counter;
}

} // namespace kelbrin
