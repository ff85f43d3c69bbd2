// What the forms' descriptions promise every toolkit: a name for every control that a screen
// reader can give, from its own words or its label's; decoration goes unnamed and unseen.

#include <algorithm>
#include <gtest/gtest.h>

#include "FormDescription.h"

namespace kelbrin::test {
namespace {

using form::ControlKind;

TEST(Descriptions, EveryControlOfEveryFormHasANameForScreenReaders) {
    for (const form::Form* design : form::AllForms()) {
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(design->Name) + " " + std::string(c.Name));
            if (form::IsDecoration(c.Kind)) {
                EXPECT_TRUE(form::SpokenName(c).empty() && c.AccessibleDescription.empty());
                continue;
            }
            // A label whose text changes (the status line) is named by that text; its
            // description says what it is.
            const bool changingText = c.Kind == ControlKind::Label && c.Caption.empty();
            EXPECT_TRUE(!form::SpokenName(c).empty() || !c.Caption.empty() ||
                        (changingText && !c.AccessibleDescription.empty()));
            if (c.LabelledBy != form::ControlId::None) {
                const auto& labels = design->Controls;
                EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&c](const auto& l) {
                    return l.Id == c.LabelledBy && l.Id != c.Id;
                })) << "labelled by a control of another form";
            }
        }
    }
    // Named by its label's caption, as a person reads it.
    EXPECT_EQ(form::SpokenName(form::ControlOf(form::ControlId::txtMD5)), "MD5");
}

// Tab goes through a box as a person reads it: row by row from the top, left to right in a row
// (controls side by side share their middle).
TEST(Descriptions, TabFollowsTheOrderOnScreen) {
    for (const form::Form* design : {&form::MakeScriptForm()}) {
        SCOPED_TRACE(std::string(design->Name));
        std::vector<form::ControlId> onScreen = design->TabOrder;
        const auto place = [](form::ControlId id) {
            const form::Twips& at = form::ControlOf(id).At;
            return std::pair{2 * at.Top + at.Height, at.Left};
        };
        std::stable_sort(onScreen.begin(), onScreen.end(),
                         [&](form::ControlId a, form::ControlId b) { return place(a) < place(b); });
        EXPECT_EQ(design->TabOrder, onScreen);
    }
}

} // namespace
} // namespace kelbrin::test
