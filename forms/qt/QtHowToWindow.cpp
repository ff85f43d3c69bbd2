#include "frmHowTo.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "HelpTexts.h"
#include "Palette.h"
#include "TwipLayout.h"

namespace kelbrin {

namespace {

const QColor kDarkBlue(0, 0, 192);
const QColor kPaleBlue(240, 240, 255);
const QColor kWhite(255, 255, 255);

// The window's dark blue would otherwise spread into the frames, scroll bars and button
// bevels that the style draws from the window colour.
void KeepStandardWindowColour(QWidget* widget) {
    SetColour(widget, QPalette::Window, QApplication::palette().color(QPalette::Window));
}

// The pages are laid out for 79 columns of 9-point Courier New, whose characters are 7 pixels
// wide on the screen the layout was drawn for. Look-alike fonts advance by fractions of a
// pixel more (Liberation Mono: 7.19), which would push the 79th column past the box; rounding
// every advance to whole pixels gives back the designed line length.
QFont PageFont() {
    QFont font("Courier New");
    font.setPointSizeF(9);
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('-'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, std::round(advance) - advance);
    return font;
}

QPlainTextEdit* MakePage(QWidget* parent, const std::string& text, const QRect& at,
                         const QColor& background) {
    auto* page = new QPlainTextEdit(parent);
    page->setGeometry(at);
    page->setFont(PageFont());
    KeepStandardWindowColour(page);
    SetColour(page, QPalette::Base, background);
    SetColour(page, QPalette::Text, Qt::black);
    // The texts carry their own line breaks at 79 columns. Wrapping them again would break
    // the rules in two; should a wider font ever be substituted, a horizontal scroll bar
    // appears instead.
    page->setLineWrapMode(QPlainTextEdit::NoWrap);
    page->document()->setDocumentMargin(2);
    page->setTabStopDistance(8 * QFontMetricsF(page->font()).horizontalAdvance(QLatin1Char(' ')));
    page->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    page->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    page->setReadOnly(true);
    page->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    page->setTabChangesFocus(true);
    page->setUndoRedoEnabled(false);
    page->setPlainText(QString::fromLatin1(text).replace("\r\n", "\n"));
    return page;
}

QRadioButton* MakeOption(QWidget* parent, const QString& caption, const QRect& at) {
    auto* option = new QRadioButton(caption, parent);
    option->setGeometry(at);
    // Buttons fill their background with the button colour unless told otherwise.
    option->setBackgroundRole(QPalette::Window);
    option->setAutoFillBackground(true);
    SetColour(option, QPalette::Window, kDarkBlue);
    SetColour(option, QPalette::WindowText, kWhite);
    return option;
}

// A picture at its natural size, its top-left corner where the layout puts it.
QLabel* MakePicture(QWidget* parent, const QString& resource, const QRect& at) {
    auto* picture = new QLabel(parent);
    const QPixmap pixmap(resource);
    picture->setPixmap(pixmap);
    picture->setGeometry(pixmap.isNull() ? at : QRect(at.topLeft(), pixmap.size()));
    picture->setFocusPolicy(Qt::NoFocus);
    return picture;
}

QFrame* MakeStrip(QWidget* parent, const QRect& at, const QColor& fill) {
    auto* strip = new QFrame(parent);
    strip->setFrameShape(QFrame::NoFrame);
    strip->setGeometry(at);
    strip->setAutoFillBackground(true);
    SetColour(strip, QPalette::Window, fill);
    strip->setFocusPolicy(Qt::NoFocus);
    return strip;
}

} // namespace

frmHowTo::frmHowTo() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle("How To Use Kelbrin");
    setFixedSize(Twips(9000), Twips(7800));
    setAutoFillBackground(true);
    SetColour(this, QPalette::Window, kDarkBlue);

    // Siblings stack in the order they are made, the last on top: the pictures lie lowest,
    // Image2 over Image1, then the colour strips, and the text boxes above them all, so the
    // tall usage page hides both pictures.
    Image1 = MakePicture(this, ":/SampleExpanded.bmp", TwipsRect(2760, 4560, 6135, 2445));
    Image2 = MakePicture(this, ":/SampleOriginal.gif", TwipsRect(240, 3480, 6375, 2235));
    Shape[1] = MakeStrip(this, TwipsRect(120, 120, 255, 3265), kPaleBlue);
    Shape[0] = MakeStrip(this, TwipsRect(120, 120, 255, 6990), kWhite);

    cmdOK = new QPushButton("OK", this);
    cmdOK->setGeometry(TwipsRect(3840, 7320, 1215, 375));
    cmdOK->setAutoDefault(false);
    cmdOK->setDefault(false);
    KeepStandardWindowColour(cmdOK);

    optPart[0] = MakeOption(this, "How to Use Kelbrin", TwipsRect(120, 7200, 3615, 255));
    optPart[1] =
        MakeOption(this, "How to Format the Kelbrin.txt file", TwipsRect(120, 7440, 3615, 255));
    optPart[0]->setChecked(true);

    txtHowTo[0] = MakePage(this, UsageHelpText(), TwipsRect(240, 120, 8655, 6975), kWhite);
    txtHowTo[1] = MakePage(this, FormatHelpText(), TwipsRect(240, 120, 8655, 3255), kPaleBlue);

    setTabOrder(txtHowTo[0], cmdOK);
    setTabOrder(cmdOK, txtHowTo[1]);
    setTabOrder(txtHowTo[1], optPart[0]);
    setTabOrder(optPart[0], optPart[1]);

    for (std::int16_t i = 0; i < 2; ++i) {
        // Arrow keys, Space and the mouse all check the button; only the newly checked one
        // reports.
        connect(optPart[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) {
                optPart_Click(i);
            }
        });
    }
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    // The window opens with the focus on the first stop of its tab order.
    txtHowTo[0]->setFocus();

    Form_Load();
}

void frmHowTo::Form_Load() {
    optPart_Click(0);
}

void frmHowTo::optPart_Click(std::int16_t Index) {
    for (std::int16_t i = 0; i < 2; ++i) {
        txtHowTo[i]->setVisible(i == Index);
        Shape[i]->setVisible(i == Index);
    }
}

void frmHowTo::cmdOK_Click() {
    close();
}

} // namespace kelbrin
