// Under a dark desktop theme, the text on the forms' own backgrounds as the Qt host renders it,
// shot into PNG files for a person to look at. The colours every host shows are checked in
// HostConformanceTest.cpp.

#include <QImage>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "WindowHarness.h"

namespace kelbrin::test {
namespace {

// A dark desktop theme: light text on dark surfaces, as a dark Qt palette gives every widget
// that has no colour of its own.
QPalette DarkPalette() {
    QPalette dark;
    const QColor light(230, 230, 230);
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(45, 45, 45)},
                                       {QPalette::WindowText, light},
                                       {QPalette::Base, QColor(30, 30, 30)},
                                       {QPalette::Text, light},
                                       {QPalette::Button, QColor(60, 60, 60)},
                                       {QPalette::ButtonText, light},
                                       {QPalette::Highlight, QColor(42, 130, 218)}}) {
        dark.setColor(role, colour);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, QColor(200, 200, 200));
    }
    return dark;
}

// The darkest and the lightest pixel of `area` in `shot`, each as the sum of its channels.
std::pair<int, int> Extremes(const QImage& shot, const QRect& area) {
    std::pair<int, int> extremes{3 * 255, 0};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            const int sum = pixel.red() + pixel.green() + pixel.blue();
            extremes = {std::min(extremes.first, sum), std::max(extremes.second, sum)};
        }
    }
    return extremes;
}

// A fixed background needs a fixed text colour: under a dark theme the captions, the status and
// the digest stay black on the forms' white, grey and green, and a locked button's grey.
TEST(Screenshots, TextOnTheFormsOwnBackgroundsStaysReadableUnderADarkPalette) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    {
        FormOn on(form::KelbrinForm());
        QWidget& w = on.Window();
        on.Port->SetText(form::frmKelbrin::txtMD5, "B2D3F56BC197FD985D5965079B5E7148");
        on.Port->SetVisible(form::frmKelbrin::txtMD5, true);
        on.Port->SetVisible(form::frmKelbrin::lblMD5, true);
        on.Port->SetCaption(form::frmKelbrin::lblStatus, "Expansion Done");
        on.Shoot("main-dark.png");
        struct TextCase {
            form::ControlId Control;
            bool Enabled;
            int Darkest; // at most, summed over the channels
        };
        const std::vector<TextCase> cases{
            {form::frmKelbrin::cmdExpand0, true, 3 * 40},
            {form::frmKelbrin::cmdExpand1, true, 3 * 40},
            {form::frmKelbrin::lblStatus, true, 3 * 40},
            {form::frmKelbrin::txtMD5, true, 3 * 40},
            {form::frmKelbrin::cmdExpand0, false, 3 * 140},
        };
        for (const TextCase& c : cases) {
            SCOPED_TRACE(form::ControlOf(form::KelbrinForm(), c.Control).Name.data() +
                         std::string(c.Enabled ? "" : ", locked"));
            QWidget& control = on.Control(c.Control);
            control.setEnabled(c.Enabled);
            // Inside its border and focus mark: its text's, on the forms' light backgrounds.
            const QRect inside =
                QRect(control.mapTo(&w, QPoint(0, 0)), control.size()).adjusted(6, 4, -6, -4);
            EXPECT_LE(Extremes(w.grab().toImage(), inside).first, c.Darkest);
            control.setEnabled(true);
        }
        FormOn helpOn(form::HowToForm());
        helpOn.Shoot("help-dark.png");
        // The option circles stand out light on the dark blue, chosen or not, not in the
        // theme's dark fill.
        for (const form::ControlId id : {form::frmHowTo::optPart0, form::frmHowTo::optPart1}) {
            SCOPED_TRACE(form::ControlOf(form::HowToForm(), id).Name.data());
            auto& option = helpOn.Control<QRadioButton>(id);
            QStyleOptionButton style;
            style.initFrom(&option);
            const QRect circle =
                option.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, &option);
            EXPECT_GE(Extremes(option.grab().toImage(), circle).second, 3 * 220);
        }
    }
    QApplication::setPalette(before);
}

} // namespace
} // namespace kelbrin::test
