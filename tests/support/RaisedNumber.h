#pragma once

#include <functional>

#include "RuntimeError.h"

namespace kelbrin::test {

// The number of the error `action` raises, or 0 when it raises none.
inline int RaisedNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

} // namespace kelbrin::test
