#pragma once

#include <string>

#include "RunWindow.h"
#include "RuntimeError.h"

namespace kelbrin {

// Shows ErrorBoxMessage in a box titled "Error" with the stop icon and waits for it to close.
// Returns the text it showed.
std::string ShowErrorBox(const std::string& context, const std::string& fileName,
                         const RuntimeError& current, RunWindow& window);

} // namespace kelbrin
