#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FormDescription.h"

namespace kelbrin::form {

// A rectangle of a drawing: filled, outlined by a line one pixel wide inside it, or both.
struct DrawnBox {
    Twips At;
    std::optional<Colour> Fill{};
    std::optional<Colour> Edge{};
    bool operator==(const DrawnBox&) const = default;
};

// One line of text, in the drawing control's font, aligned across its box and centred down
// it; what does not fit the box is cut off.
struct DrawnLabel {
    Twips At;
    std::string Text;
    Colour Fore;
    TextAlign Align = TextAlign::Left;
    bool operator==(const DrawnLabel&) const = default;
};

// What a drawing control shows over its back colour, in twips from its top-left corner: the
// boxes in order, each over the ones before, then the labels over them. A handler computes it
// for the control's size; each toolkit only scales it to its screen.
struct Drawing {
    std::vector<DrawnBox> Boxes;
    std::vector<DrawnLabel> Labels;
    bool operator==(const Drawing&) const = default;
};

} // namespace kelbrin::form
