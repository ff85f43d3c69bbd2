#pragma once

#include <vector>

#include "FormDescription.h"

namespace kelbrin::form {

// Every form of the program, for what holds of each: each toolkit draws any of them the same
// way.
const std::vector<const Form*>& AllForms();

} // namespace kelbrin::form
