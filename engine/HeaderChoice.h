#pragma once

namespace kelbrin {

// What the expanded ROM gets in front of its image, whether or not the original has a header:
// which of the two buttons a run answers.
enum class HeaderChoice {
    AddOrReplace,   // the header the script's HEADER line describes
    IgnoreOrRemove, // none
};

} // namespace kelbrin
