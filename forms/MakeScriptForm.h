#pragma once

#include "FormDescription.h"

namespace kelbrin::form {

// The controls of the box in which an author makes a script, as frmMakeScript names them.
namespace frmMakeScript {

enum class ControlName {
    lblOriginal,
    txtOriginal,
    cmdOriginal,
    lblExpanded,
    txtExpanded,
    cmdExpanded,
    lblOriginalHeader,
    txtOriginalHeader,
    lblExpandedHeader,
    txtExpandedHeader,
    lblScriptPlace,
    cmdMake,
    cmdCancel,
};
using enum ControlName;

} // namespace frmMakeScript

template <> inline constexpr bool kNamesControls<frmMakeScript::ControlName> = true;

// The box in which an author makes a script from two files, frmMakeScript.
const Form& MakeScriptForm();

} // namespace kelbrin::form
