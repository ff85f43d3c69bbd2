#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FormDescription.h"

namespace kelbrin::form {

// The main window's controls and menus, as frmKelbrin names them.
namespace frmKelbrin {

enum class ControlName {
    fraDownloader,
    txtMD5,
    cmdExpand1,
    cmdExpand0,
    lblMD5,
    lblStatus,
    lblTitle1,
    lblTitle2,
    lblTitle0,
    lblPatch,
    cmdPatch,
    cmdNoPatch,
    lblFits,
};
using enum ControlName;

enum class MenuName {
    mnuFile,
    mnuFile_Expand0,
    mnuFile_Expand1,
    mnuFile_bar2,
    mnuFile_Folder,
    mnuFile_Info,
    mnuFile_ApplyPatch,
    mnuFile_bar3,
    mnuFile_Check,
    mnuFile_MakeScript,
    mnuFile_MakePatch,
    mnuFile_bar0,
    mnuFile_Exit,
    mnuHelp,
    mnuHelp_HowTo,
    mnuFile_bar1,
    mnuHelp_About,
};
using enum MenuName;

// The button and the File menu item that start a run with `Index`.
constexpr ControlName cmdExpand(std::int16_t Index) {
    return Index == 0 ? cmdExpand0 : cmdExpand1;
}
constexpr MenuName mnuFile_Expand(std::int16_t Index) {
    return Index == 0 ? mnuFile_Expand0 : mnuFile_Expand1;
}

} // namespace frmKelbrin

template <> inline constexpr bool kNamesControls<frmKelbrin::ControlName> = true;
template <> inline constexpr bool kNamesMenuItems<frmKelbrin::MenuName> = true;

// The main window, frmKelbrin.
const Form& KelbrinForm();

// The text of the About box, from the window's two title captions as they are now.
std::string AboutText(std::string_view title, std::string_view version);
inline constexpr std::string_view kAboutTitle = "About Kelbrin";

} // namespace kelbrin::form
