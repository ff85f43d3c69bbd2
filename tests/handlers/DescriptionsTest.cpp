// What the forms' descriptions promise every toolkit: each control and menu item where its name
// says, a name for every control that a screen reader can give, from its own words or its
// label's; decoration goes unnamed and unseen.

#include <gtest/gtest.h>

#include "AllForms.h"
#include "ApplyPatchForm.h"
#include "KelbrinForm.h"
#include "MakeScriptForm.h"

namespace kelbrin::test {
namespace {

using form::ControlKind;

TEST(Descriptions, EveryControlOfEveryFormLiesWhereItsNameSaysAndHasANameForScreenReaders) {
    for (const form::Form* design : form::AllForms()) {
        int place = 0;
        for (const form::Menu& menu : design->Menus) {
            EXPECT_EQ(menu.Id.Index(), place++) << menu.Name;
            for (const form::MenuItem& item : menu.Items) {
                EXPECT_EQ(item.Id.Index(), place++) << item.Name;
                EXPECT_EQ(&form::MenuItemOf(*design, item.Id), &item);
            }
        }
        for (const form::Control& c : design->Controls) {
            SCOPED_TRACE(std::string(design->Name) + " " + std::string(c.Name));
            EXPECT_EQ(&form::ControlOf(*design, c.Id), &c);
            const std::string spoken = form::SpokenName(*design, c);
            if (form::IsDecoration(c.Kind)) {
                EXPECT_TRUE(spoken.empty() && c.AccessibleDescription.empty());
                continue;
            }
            // A label whose text changes (the status line) is named by that text; its
            // description says what it is.
            const bool changingText = c.Kind == ControlKind::Label && c.Caption.empty();
            EXPECT_TRUE(!spoken.empty() || !c.Caption.empty() ||
                        (changingText && !c.AccessibleDescription.empty()));
            // Labelled by another control of its own form.
            if (c.LabelledBy) {
                EXPECT_NE(*c.LabelledBy, c.Id);
                EXPECT_LT(c.LabelledBy->Index(), static_cast<int>(design->Controls.size()));
            }
        }
    }
    // Named by its label's caption, as a person reads it.
    const form::Form& main = form::KelbrinForm();
    EXPECT_EQ(form::SpokenName(main, form::ControlOf(main, form::frmKelbrin::txtMD5)), "MD5");
}

// Tab goes through a box as a person reads it: row by row from the top, left to right in a row
// (controls side by side share their middle).
TEST(Descriptions, TabFollowsTheOrderOnScreen) {
    for (const form::Form* design : {&form::MakeScriptForm(), &form::ApplyPatchForm()}) {
        SCOPED_TRACE(std::string(design->Name));
        std::vector<form::ControlId> onScreen = design->TabOrder;
        const auto place = [design](form::ControlId id) {
            const form::Twips& at = form::ControlOf(*design, id).At;
            return std::pair{2 * at.Top + at.Height, at.Left};
        };
        std::stable_sort(onScreen.begin(), onScreen.end(),
                         [&](form::ControlId a, form::ControlId b) { return place(a) < place(b); });
        EXPECT_EQ(design->TabOrder, onScreen);
    }
}

} // namespace
} // namespace kelbrin::test
