// Under a dark desktop theme, what the Qt host's option buttons show on the forms' own colours.
// The colours of every host's windows and of their text are checked in HostConformanceTest.cpp.

#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

// The option circles stand out light on the help window's dark blue, chosen or not, not in the
// theme's dark fill.
TEST(Screenshots, UnderADarkPaletteTheOptionCirclesStayLightOnDarkBlue) {
    const DarkTheme dark;
    FormOn on(form::HowToForm());
    for (const form::ControlId id : {form::frmHowTo::optPart0, form::frmHowTo::optPart1}) {
        SCOPED_TRACE(form::ControlOf(form::HowToForm(), id).Name.data());
        auto& option = on.Control<QRadioButton>(id);
        QStyleOptionButton style;
        style.initFrom(&option);
        const QRect circle =
            option.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, &option);
        const QImage shot = option.grab().toImage();
        int lightest = 0;
        for (int y = circle.top(); y <= circle.bottom(); ++y) {
            for (int x = circle.left(); x <= circle.right(); ++x) {
                const QColor pixel = shot.pixelColor(x, y);
                lightest = std::max(lightest, pixel.red() + pixel.green() + pixel.blue());
            }
        }
        EXPECT_GE(lightest, 3 * 220);
    }
}

} // namespace
} // namespace kelbrin::test
