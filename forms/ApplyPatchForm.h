#pragma once

#include <string_view>

#include "FormDescription.h"

namespace kelbrin::form {

// The controls of the box in which a player applies a patch to any ROM, as frmApplyPatch names
// them.
namespace frmApplyPatch {

enum class ControlName {
    lblPatch,
    txtPatch,
    cmdPatch,
    lblRom,
    txtRom,
    cmdRom,
    lblOutput,
    txtOutput,
    cmdOutput,
    optKeep,
    optReplace,
    lblStatus,
    cmdApply,
    cmdClose,
};
using enum ControlName;

} // namespace frmApplyPatch

template <> inline constexpr bool kNamesControls<frmApplyPatch::ControlName> = true;

// The box of File, Apply Patch, frmApplyPatch.
const Form& ApplyPatchForm();

// The overwrite choice's caption, which a refusal to replace a file names.
inline constexpr std::string_view kReplaceCaption = "&Replace a file that is there already";

} // namespace kelbrin::form
