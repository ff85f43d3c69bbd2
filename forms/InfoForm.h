#pragma once

#include "FormDescription.h"

namespace kelbrin::form {

// The controls of the box that shows what can be told about the original, as frmInfo names them.
namespace frmInfo {

enum class ControlName { txtInfo, cmdCopy, cmdClose };
using enum ControlName;

} // namespace frmInfo

template <> inline constexpr bool kNamesControls<frmInfo::ControlName> = true;

// The box that shows what can be told about the original, frmInfo.
const Form& InfoForm();

} // namespace kelbrin::form
