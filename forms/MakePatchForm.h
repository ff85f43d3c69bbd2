#pragma once

#include "FormDescription.h"

namespace kelbrin::form {

// The controls of the box in which an author makes a patch from two ROMs, as frmMakePatch
// names them.
namespace frmMakePatch {

enum class ControlName {
    lblSource,
    txtSource,
    cmdSource,
    lblTarget,
    txtTarget,
    cmdTarget,
    fraFormat,
    optBps,
    optIps,
    optUps,
    lblMetadata,
    txtMetadata,
    lblOutput,
    txtOutput,
    cmdOutput,
    lblStatus,
    cmdMake,
    cmdClose,
};
using enum ControlName;

} // namespace frmMakePatch

template <> inline constexpr bool kNamesControls<frmMakePatch::ControlName> = true;

// The box of File, Make Patch, frmMakePatch.
const Form& MakePatchForm();

} // namespace kelbrin::form
