#pragma once

#include "FormDescription.h"

namespace kelbrin::form {

// The controls of the box that shows a script's check, as frmCheck names them.
namespace frmCheck {

enum class ControlName { txtCheck, picLayout, txtLayout, cmdCheckAgain, cmdCheckClose };
using enum ControlName;

} // namespace frmCheck

template <> inline constexpr bool kNamesControls<frmCheck::ControlName> = true;

// The box that shows a script's check for its author, frmCheck.
const Form& CheckForm();

} // namespace kelbrin::form
