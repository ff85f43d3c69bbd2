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

} // namespace
} // namespace kelbrin::test
