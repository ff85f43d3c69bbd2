// How a button's caption breaks into lines, the same for every toolkit's painter: measured here
// in characters, one unit each.

#include "CaptionLines.h"

#include <gtest/gtest.h>

namespace kelbrin::test {
namespace {

TEST(CaptionLines, WrapAtRunsOfBlanksFirstThenAtBlanksAndNeverShowAGap) {
    struct WrapCase {
        const char* Name;
        std::string_view Caption;
        int Width;
        std::string Lines;
    };
    const std::vector<WrapCase> cases{
        {"fits, its blanks as written", "Expand and   Add/Replace Header", 31,
         "Expand and   Add/Replace Header"},
        // Where the words before the run would still fit, the run must not show as a gap.
        {"too wide: at the run of blanks", "Expand and   Add/Replace Header", 24,
         "Expand and\nAdd/Replace Header"},
        {"a piece still too wide: also at a blank", "Expand and   Add/Replace Header", 12,
         "Expand and\nAdd/Replace\nHeader"},
        {"single blanks: as many words as fit", "Expand and Ignore/Remove Header", 24,
         "Expand and Ignore/Remove\nHeader"},
        {"never after a slash", "Expand and Ignore/Remove Header", 20,
         "Expand and\nIgnore/Remove Header"},
        {"a word wider than the button keeps its line", "Expand Ignore/Remove", 5,
         "Expand\nIgnore/Remove"},
        {"blanks at either end are no line", "  Expand  and  ", 8, "Expand\nand"},
    };
    const auto widthOf = [](std::string_view text) { return static_cast<int>(text.size()); };
    for (const WrapCase& c : cases) {
        EXPECT_EQ(form::CaptionLines(c.Caption, widthOf, c.Width), c.Lines) << c.Name;
    }
}

} // namespace
} // namespace kelbrin::test
