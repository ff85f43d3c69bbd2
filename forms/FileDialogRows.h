#pragma once

#include <cstdint>
#include <string_view>

#include "FormDescription.h"

// The rows the two patch dialogs are made of, at the same places in both, so that they look
// alike: a caption, under it the box for a path, beside the box the button that chooses one,
// and the status line at the foot.
namespace kelbrin::form::rows {

inline constexpr std::int32_t kLeft = 120;
inline constexpr std::int32_t kBoxWidth = 6840;
inline constexpr std::int32_t kButtonLeft = 7080;

inline Control Caption(ControlId id, std::string_view name, std::int32_t top,
                       std::string_view caption) {
    return Control{.Id = id,
                   .Name = name,
                   .Kind = ControlKind::Label,
                   .At = {kLeft, top, kBoxWidth, 255},
                   .Caption = caption,
                   .Fore = kWhite,
                   .Align = TextAlign::Left};
}

// A box that is typed into, labelled by the caption above it; `path` when it holds a file's.
inline Control Box(ControlId id, std::string_view name, std::int32_t top, ControlId label,
                   bool path = true) {
    return Control{.Id = id,
                   .Name = name,
                   .Kind = ControlKind::TextBox,
                   .At = {kLeft, top, kBoxWidth, 315},
                   .Back = kWhite,
                   .Fore = kBlack,
                   .Editable = true,
                   .HoldsPath = path,
                   .LabelledBy = label};
}

// The button beside a box, a little higher so that their middles line up.
inline Control Choose(ControlId id, std::string_view name, std::int32_t boxTop,
                      std::string_view caption) {
    return Control{.Id = id,
                   .Name = name,
                   .Kind = ControlKind::PushButton,
                   .At = {kButtonLeft, boxTop - 30, 1200, 375},
                   .Caption = caption};
}

inline Control StatusLine(ControlId id, std::int32_t top) {
    return Control{.Id = id,
                   .Name = "lblStatus",
                   .Kind = ControlKind::Label,
                   .At = {kLeft, top, 8160, 480},
                   .Fore = kWhite,
                   .Align = TextAlign::Left,
                   .AccessibleDescription = "Status line",
                   .StatusLine = true};
}

} // namespace kelbrin::form::rows
