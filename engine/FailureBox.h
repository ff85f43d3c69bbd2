#pragma once

#include <string>

#include "RunFailure.h"
#include "RunWindow.h"

namespace kelbrin {

// Shows a failure in the error box. The whole message may quote a script line of hundreds of
// megabytes; when the memory left cannot hold its box, the box shows the error line and the
// start of the message, made in room set aside while memory was plentiful.
class FailureBox {
public:
    FailureBox();

    // Returns the text it showed; nothing escapes it.
    std::string Show(const RunFailure& failure, RunWindow& window) noexcept;

private:
    std::string ShowShortened(const RunFailure& failure, RunWindow& window);

    std::string room_;
};

} // namespace kelbrin
