#pragma once

#include <cstdint>

#include "Drawing.h"
#include "ImageLayout.h"

namespace kelbrin::form {

// The colours of the strip: copies of the original in one hue, a lighter shade for every other
// COPY line so that two copies side by side stay apart; fills in grey; replaced bytes in red.
inline constexpr Colour kCopiedColours[2] = {{60, 110, 210}, {130, 170, 240}};
inline constexpr Colour kFilledColour{170, 170, 170};
inline constexpr Colour kReplacedColour{220, 30, 30};

// The expanded image that `layout` describes, drawn for a control `width` by `height` twips in
// `ink`: a strip from the image's first address at the top to its end at the bottom, each row a
// band in proportion to its bytes (replaced bytes as marks that stay visible however few),
// with the start addresses on its left and where the bytes come from on its right, as far as
// the labels have room; and a legend below it.
Drawing DrawLayout(const ImageLayout& layout, std::int32_t width, std::int32_t height, Colour ink);

} // namespace kelbrin::form
