// Renders the windows (the main window idle and with the MD5 row, the help window on both
// pages, the authors' boxes) to PNG files for a person to look at, and checks the colours of
// the rendered pixels: a palette the style ignores would pass every palette test and still look
// wrong, and a drawing that paints nothing every drawing test.

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>

#include "DescriptionValues.h"
#include "DrawingView.h"
#include "OriginalIdentity.h"
#include "RecordingWindow.h"
#include "RomInformation.h"
#include "WindowHarness.h"
#include "frmCheck.h"
#include "frmKelbrin.h"
#include "frmMakeScript.h"

namespace kelbrin::test {
namespace {

struct Probe {
    std::string Where;
    QPoint At; // in the window's pixels, the menu bar not counted
    QColor Colour;
};

// Summed over the three channels: room for antialiasing and a faint shade, not a gradient.
constexpr int kTolerance = 24;

void Shoot(QWidget& window, const QString& file, QSize size, int top,
           const std::vector<Probe>& probes) {
    SCOPED_TRACE(file.toStdString());
    const QString path = QString(KELBRIN_SCREENSHOT_DIR) + "/" + file;
    // As on a screen, the scroll bars settle once pending layout events have run.
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.grab().save(path));
    const QImage image(path);
    ASSERT_EQ(image.size(), size);
    for (const Probe& probe : probes) {
        SCOPED_TRACE(probe.Where);
        const QColor seen = image.pixelColor(probe.At + QPoint(0, top));
        EXPECT_LE(std::abs(seen.red() - probe.Colour.red()) +
                      std::abs(seen.green() - probe.Colour.green()) +
                      std::abs(seen.blue() - probe.Colour.blue()),
                  kTolerance)
            << seen.name().toStdString() << " instead of " << probe.Colour.name().toStdString();
    }
}

// The main window as the program shows it, its handlers at work, on a folder of its own: a
// portable copy with the standard script, or an installed one with nothing chosen yet.
struct ProgramOn {
    TempFolder Folder;
    BoxCloser Closer;
    QtDesktop Desktop;
    std::optional<frmKelbrin> Form;
    QWidget* Window = nullptr;

    explicit ProgramOn(bool portable) {
        if (portable) {
            WriteGame(Folder);
        }
        Form.emplace(Desktop, Folder.Path());
        Form->Show();
        Window = ShownForm("frmKelbrin");
    }
};

TEST(Screenshots, BothWindowsAndBothHelpPagesRenderInTheirColours) {
    ASSERT_TRUE(QDir().mkpath(KELBRIN_SCREENSHOT_DIR));
    QSettings("Kelbrin", "Kelbrin").remove("folder");
    ProgramOn on(true);
    ASSERT_NE(on.Window, nullptr);
    QWidget& w = *on.Window;
    const int menu = static_cast<QMainWindow&>(w).menuBar()->height();
    const QSize mainSize(312, 230 + menu);
    // Frame at (8, 48): the buttons' faces halfway down, left of their captions; the gap
    // between the buttons; the status line's left end.
    const std::vector<Probe> mainProbes{
        {"window", {3, 120}, Qt::black},
        {"title label", {12, 3}, Qt::black},
        {"frame", {156, 90}, {0, 255, 0}},
        {"add button", {22, 92}, {255, 255, 255}},
        {"remove button", {166, 92}, {208, 208, 208}},
        {"status line", {20, 133}, {128, 255, 128}},
    };
    Shoot(w, "main-idle.png", mainSize, menu, mainProbes);

    WriteGame(on.Folder, kSizeLine + "\t?");
    on.Form->Click(form::frmKelbrin::cmdExpand1);
    ASSERT_TRUE(Find(w, form::frmKelbrin::txtMD5).isVisible());
    std::vector<Probe> md5Probes = mainProbes;
    md5Probes.push_back({"MD5 box, right of the digest", {292, 169}, {192, 255, 192}});
    Shoot(w, "main-md5.png", mainSize, menu, md5Probes);

    // An installed copy started from the desktop's menu, with no folder chosen yet.
    {
        ProgramOn installed(false);
        Shoot(*installed.Window, "main-installed.png", mainSize, menu, mainProbes);
    }

    // The box of the original's identity, as File, ROM Information shows it, for a script that
    // gives the checksum the MD5 box showed.
    WriteGame(on.Folder,
              kSizeLine + "\t" + Find<QLineEdit>(w, form::frmKelbrin::txtMD5).text().toStdString());
    RecordingWindow quiet;
    const IdentityResult identity = IdentifyOriginal(on.Folder.Path(), quiet);
    ASSERT_TRUE(identity.Identity.has_value());
    RecordedEvents events;
    const auto info = on.Desktop.OpenForm(form::InfoForm(), events, nullptr);
    info->SetText(form::frmInfo::txtInfo, RomInformation(*identity.Identity));
    info->Show();
    Shoot(static_cast<QtFormHost&>(*info).Window(), "info.png", {560, 380}, 0,
          {{"window", {4, 370}, {0, 0, 192}}, {"text box", {500, 150}, Qt::white}});
    info->Close();

    Find(w, form::frmKelbrin::mnuHelp_HowTo).trigger();
    QWidget* help = ShownForm("frmHowTo");
    ASSERT_NE(help, nullptr);
    const QColor darkBlue(0, 0, 192);
    // The strips show 8 pixels left of the text boxes; the usage strip runs down to 474. The
    // original's picture starts at (16, 232).
    Shoot(*help, "help-usage.png", {600, 520}, 0,
          {{"window", {4, 510}, darkBlue},
           {"usage strip", {11, 300}, Qt::white},
           {"under the usage strip", {11, 480}, darkBlue},
           {"usage page over the pictures", {18, 234}, Qt::white}});
    Find<QRadioButton>(*help, form::frmHowTo::optPart1).click();
    Shoot(*help, "help-format.png", {600, 520}, 0,
          {{"window", {4, 510}, darkBlue},
           {"format strip", {11, 100}, {240, 240, 255}},
           {"under the format strip", {11, 300}, darkBlue},
           {"original's picture", {18, 234}, {255, 255, 0}}});
}

// A desktop whose file dialog answers in turn, as an author would choose.
struct ChoosingDesktop : QtDesktop {
    std::vector<std::string> Files;
    std::optional<std::string> ChooseFile(FormPort&, const std::string&,
                                          const std::string&) override {
        if (Files.empty()) {
            return std::nullopt;
        }
        std::string file = Files.front();
        Files.erase(Files.begin());
        return file;
    }
};

// The authors' boxes over the main window, shown as their handlers fill them (without waiting
// in a modal loop): Check Script on a laid-out ROM, its strip drawn in its colours beside the
// rows, and Make Script with both files chosen.
TEST(Screenshots, TheAuthorsBoxesShowTheStripBesideTheRowsAndTheFilesChosen) {
    ASSERT_TRUE(QDir().mkpath(KELBRIN_SCREENSHOT_DIR));
    TempFolder folder;
    WriteAuthorsGame(folder);
    ChoosingDesktop desktop;
    RecordedEvents events;
    const auto main = desktop.OpenForm(form::KelbrinForm(), events, nullptr);
    main->Show();
    QWidget& owner = static_cast<QtFormHost&>(*main).Window();

    frmCheck check(desktop, folder.Path(), *main);
    auto& checkBox = Find(owner, "frmCheck");
    checkBox.show();
    // Every filled box of the strip and its legend, where no later one covers it.
    const QPoint at =
        PixelRect(form::ControlOf(form::CheckForm(), form::frmCheck::picLayout).At).topLeft();
    const form::Drawing& drawn = Find<DrawingView>(checkBox, form::frmCheck::picLayout).Drawn();
    std::vector<Probe> probes{{"window", {4, 540}, {0, 0, 192}},
                              {"report", {700, 100}, Qt::white},
                              {"beside the strip", at + QPoint(250, 100), Qt::white}};
    for (std::size_t i = 0; i < drawn.Boxes.size(); ++i) {
        const form::DrawnBox& box = drawn.Boxes[i];
        const QRect rect = PixelRect(box.At);
        const QPoint centre = rect.center();
        const bool covered =
            std::any_of(drawn.Boxes.begin() + static_cast<std::ptrdiff_t>(i) + 1, drawn.Boxes.end(),
                        [&](const form::DrawnBox& later) {
                            return later.Fill && PixelRect(later.At).contains(centre);
                        });
        if (box.Fill && !covered && rect.width() > 2 && rect.height() > 1) {
            probes.push_back({"box " + std::to_string(i), at + centre, ToQColor(*box.Fill)});
        }
    }
    // Four copies, the fill, both replaced marks (the last two bytes are no pixel high) and
    // the legend's six swatches.
    EXPECT_EQ(probes.size(), 3u + 7u + 6u);
    Shoot(checkBox, "check.png", {720, 544}, 0, probes);
    checkBox.close();

    desktop.Files = {folder.PathOf("orig.nes"), folder.PathOf("big.nes")};
    MakeScriptFields fields;
    frmMakeScript maker(desktop, folder.Path(), *main, fields);
    auto& makeBox = Find(owner, "frmMakeScript");
    makeBox.show();
    Find<QPushButton>(makeBox, form::frmMakeScript::cmdOriginal).click();
    Find<QPushButton>(makeBox, form::frmMakeScript::cmdExpanded).click();
    Find<QLineEdit>(makeBox, form::frmMakeScript::txtOriginalHeader).setText("10");
    Shoot(makeBox, "make-script.png", {560, 240}, 0,
          {{"window", {4, 236}, {0, 0, 192}}, {"original's path", {300, 34}, Qt::white}});
    EXPECT_EQ(Find<QLineEdit>(makeBox, form::frmMakeScript::txtExpanded).text().toStdString(),
              folder.PathOf("big.nes"));
    makeBox.close();
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"Kelbrin.txt", "big.nes", "orig.nes"}));
}

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

// The darkest pixel of `control` as `window` shows it, inside its border and focus mark, as the
// sum of its three channels: its text's, on the forms' light backgrounds.
int DarkestInside(const QImage& window, const QWidget& windowWidget, const QWidget& control) {
    const QRect inside =
        QRect(control.mapTo(&windowWidget, QPoint(0, 0)), control.size()).adjusted(6, 4, -6, -4);
    int darkest = 3 * 255;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = window.pixelColor(x, y);
            darkest = std::min(darkest, pixel.red() + pixel.green() + pixel.blue());
        }
    }
    return darkest;
}

// A fixed background needs a fixed text colour: under a dark theme the captions, the status and
// the digest stay black on the forms' white, grey and green, and a locked button's grey.
TEST(Screenshots, TextOnTheFormsOwnBackgroundsStaysReadableUnderADarkPalette) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    {
        ProgramOn on(true);
        QWidget& w = *on.Window;
        WriteGame(on.Folder, kSizeLine + "\t?");
        on.Form->Click(form::frmKelbrin::cmdExpand1);
        ASSERT_TRUE(Find(w, form::frmKelbrin::txtMD5).isVisible());
        Shoot(w, "main-dark.png", w.size(), 0, {});
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
            Find(w, c.Control).setEnabled(c.Enabled);
            EXPECT_LE(DarkestInside(w.grab().toImage(), w, Find(w, c.Control)), c.Darkest);
            Find(w, c.Control).setEnabled(true);
        }
        Find(w, form::frmKelbrin::mnuHelp_HowTo).trigger();
        QWidget* help = ShownForm("frmHowTo");
        ASSERT_NE(help, nullptr);
        Shoot(*help, "help-dark.png", help->size(), 0, {});
        // The option circles stand out light on the dark blue, chosen or not, not in the
        // theme's dark fill.
        for (const form::ControlId id : {form::frmHowTo::optPart0, form::frmHowTo::optPart1}) {
            SCOPED_TRACE(form::ControlOf(form::HowToForm(), id).Name.data());
            auto& option = Find<QRadioButton>(*help, id);
            QStyleOptionButton style;
            style.initFrom(&option);
            const QRect circle =
                option.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, &option);
            const QImage shown = option.grab().toImage();
            int lightest = 0;
            for (int y = circle.top(); y <= circle.bottom(); ++y) {
                for (int x = circle.left(); x <= circle.right(); ++x) {
                    const QColor pixel = shown.pixelColor(x, y);
                    lightest = std::max(lightest, pixel.red() + pixel.green() + pixel.blue());
                }
            }
            EXPECT_GE(lightest, 3 * 220);
        }
    }
    QApplication::setPalette(before);
}

} // namespace
} // namespace kelbrin::test
