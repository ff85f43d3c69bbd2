#include "QtControls.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "AccessibleRoles.h"
#include "Announcement.h"
#include "DescriptionValues.h"
#include "DisplayText.h"
#include "DrawingView.h"
#include "FaceButton.h"
#include "FocusMarks.h"
#include "Fonts.h"
#include "Palette.h"

namespace kelbrin {

namespace {

using form::ControlKind;

// A window's own colour would otherwise spread into the frames, scroll bars and button bevels
// that the style draws from it.
void KeepStandardWindowColour(QWidget* widget) {
    SetColour(widget, QPalette::Window, QApplication::palette().color(QPalette::Window));
}

// The text colour the form fixes for the control (see form::TextColour), else the system's.
QColor TextColourOf(const form::Control& control, QPalette::ColorRole role) {
    const std::optional<form::Colour> text = form::TextColour(control);
    return text ? ToQColor(*text) : QApplication::palette().color(role);
}

// The help pages are laid out for 79 columns of 9-point Courier New, 7 pixels a character on the
// screen the layout was drawn for. Look-alike fonts advance by fractions of a pixel more
// (Liberation Mono: 7.19), which would push the 79th column past the box; rounding every advance
// to whole pixels gives back the line length the pages were laid out for.
void RoundAdvances(QFont& font) {
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('-'));
    font.setLetterSpacing(QFont::AbsoluteSpacing, std::round(advance) - advance);
}

QWidget* MakePage(const form::Control& control, QWidget* parent) {
    auto* page = new QPlainTextEdit(parent);
    QFont font = QtFont(control.TextFont);
    RoundAdvances(font);
    page->setFont(font);
    KeepStandardWindowColour(page);
    SetColour(page, QPalette::Base, ToQColor(*control.Back));
    SetColour(page, QPalette::Text, TextColourOf(control, QPalette::Text));
    // The help texts carry their own line breaks at 79 columns. Wrapping them again would break
    // the rules in two; should a wider font ever be substituted, a horizontal scroll bar appears.
    page->setLineWrapMode(control.WrapsLines ? QPlainTextEdit::WidgetWidth
                                             : QPlainTextEdit::NoWrap);
    page->document()->setDocumentMargin(2);
    page->setTabStopDistance(8 * QFontMetricsF(page->font()).horizontalAdvance(QLatin1Char(' ')));
    page->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    page->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    page->setReadOnly(true);
    page->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    page->setTabChangesFocus(true);
    page->setUndoRedoEnabled(false);
    page->setPlainText(QString::fromLatin1(control.Caption).replace("\r\n", "\n"));
    return page;
}

QWidget* MakeTextBox(const form::Control& control, QWidget* parent) {
    if (control.MultiLine) {
        return MakePage(control, parent);
    }
    auto* box = new QLineEdit(QString::fromLatin1(control.Caption), parent);
    box->setReadOnly(!control.Editable);
    SetColour(box, QPalette::Base, ToQColor(*control.Back));
    SetColour(box, QPalette::Text, TextColourOf(control, QPalette::Text));
    return box;
}

QWidget* MakeLabel(const form::Control& control, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(control.Caption), parent);
    // Aligned across only: the text keeps to the top of the label.
    label->setAlignment(QtAlignment(control.Align) | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    // Without a colour of its own a label takes the system's text colour, not its parent's.
    SetColour(label, QPalette::WindowText, TextColourOf(control, QPalette::WindowText));
    if (control.Back) {
        label->setAutoFillBackground(true);
        SetColour(label, QPalette::Window, ToQColor(*control.Back));
    }
    // A fixed size also spares the parent a layout request whenever the caption changes.
    label->setFixedSize(PixelRect(control.At).size());
    return label;
}

QWidget* MakeButton(const form::Control& control, QWidget* parent) {
    const QString caption = QString::fromLatin1(control.Caption);
    if (control.Back) {
        return new FaceButton(caption, ToQColor(*control.Back),
                              TextColourOf(control, QPalette::ButtonText), parent);
    }
    auto* button = new StandardButton(caption, parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    KeepStandardWindowColour(button);
    return button;
}

QWidget* MakeOption(const form::Control& control, QWidget* parent) {
    auto* option = new OptionButton(QString::fromLatin1(control.Caption), parent);
    // Buttons fill their background with the button colour unless told otherwise.
    option->setBackgroundRole(QPalette::Window);
    option->setAutoFillBackground(true);
    SetColour(option, QPalette::Window, ToQColor(*control.Back));
    SetColour(option, QPalette::WindowText, TextColourOf(control, QPalette::WindowText));
    // Its circle white with a black dot, as the system draws it on the screen the forms were drawn
    // for: a dark theme's fill and dot would vanish into a dark back colour.
    SetColour(option, QPalette::Base, Qt::white);
    SetColour(option, QPalette::Text, ToQColor(form::kFixedText));
    option->setChecked(control.Selected);
    return option;
}

QWidget* MakeFrame(const form::Control& control, QWidget* parent) {
    // The etched line of a classic frame without a caption: it shows on any colour, where a
    // style's group box border may be a faint shade of it.
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAutoFillBackground(true);
    SetColour(frame, QPalette::Window, ToQColor(*control.Back));
    SetColour(frame, QPalette::WindowText, TextColourOf(control, QPalette::WindowText));
    return frame;
}

QWidget* MakePicture(QWidget* parent) {
    return new QLabel(parent);
}

QWidget* MakeDrawing(const form::Control& control, QWidget* parent) {
    auto* drawing = new DrawingView(parent);
    drawing->setAutoFillBackground(true);
    SetColour(drawing, QPalette::Window, ToQColor(*control.Back));
    SetColour(drawing, QPalette::WindowText, ToQColor(*control.Fore));
    drawing->setFont(QtFont(control.TextFont));
    return drawing;
}

QWidget* MakeShape(const form::Control& control, QWidget* parent) {
    auto* shape = new QFrame(parent);
    shape->setFrameShape(QFrame::NoFrame);
    shape->setAutoFillBackground(true);
    SetColour(shape, QPalette::Window, ToQColor(*control.Back));
    return shape;
}

} // namespace

QWidget* MakeControl(const form::Form& form, const form::Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.Kind) {
    case ControlKind::Frame: widget = MakeFrame(control, parent); break;
    case ControlKind::TextBox: widget = MakeTextBox(control, parent); break;
    case ControlKind::PushButton: widget = MakeButton(control, parent); break;
    case ControlKind::Label: widget = MakeLabel(control, parent); break;
    case ControlKind::OptionButton: widget = MakeOption(control, parent); break;
    case ControlKind::Picture: widget = MakePicture(parent); break;
    case ControlKind::Shape: widget = MakeShape(control, parent); break;
    case ControlKind::Drawing: widget = MakeDrawing(control, parent); break;
    }
    widget->setObjectName(QString::fromLatin1(control.Name));
    // Before anything names the widget, which makes Qt keep its interface.
    if (form::IsDecoration(control.Kind)) {
        HideFromScreenReaders(*widget);
    } else if (control.Kind == ControlKind::Drawing) {
        SetAccessibleRole(*widget, QAccessible::Graphic);
    } else if (control.StatusLine) {
        SetAccessibleRole(*widget, QAccessible::StatusBar);
    }
    // A help page has its own, with its advances rounded.
    if (!control.MultiLine) {
        widget->setFont(QtFont(control.TextFont));
    }
    // Without a name of its own a control is named by its caption, also as that changes.
    if (const std::string name = form::SpokenName(form, control); !name.empty()) {
        widget->setAccessibleName(QString::fromLatin1(name));
    }
    widget->setAccessibleDescription(QString::fromLatin1(control.AccessibleDescription));
    widget->setGeometry(PixelRect(control.At));
    if (control.Kind == ControlKind::Picture) {
        ShowPicture(*static_cast<QLabel*>(widget), control.Shows);
    }
    if (control.StatusLine) {
        new Announcement(*widget);
    }
    if (form::IsDrawnOnParent(control.Kind) || control.Kind == ControlKind::Frame ||
        control.Kind == ControlKind::Drawing) {
        widget->setFocusPolicy(Qt::NoFocus);
    }
    widget->setVisible(control.Visible);
    return widget;
}

namespace {

void MakeChildren(const form::Form& design, std::optional<form::ControlId> parent,
                  QWidget* parentWidget, std::map<form::ControlId, QWidget*>& controls) {
    for (const form::Control* control : form::StackingOrder(design, parent)) {
        QWidget* widget = MakeControl(design, *control, parentWidget);
        controls[control->Id] = widget;
        MakeChildren(design, control->Id, widget, controls);
    }
}

} // namespace

void ShowPicture(QLabel& label, form::Picture picture) {
    const QPixmap pixmap(picture == form::Picture::SampleExpanded   ? ":/SampleExpanded.bmp"
                         : picture == form::Picture::SampleOriginal ? ":/SampleOriginal.gif"
                                                                    : "");
    label.setPixmap(pixmap);
    // At its natural size, its top-left corner in its place.
    if (!pixmap.isNull()) {
        label.resize(pixmap.size());
    }
}

std::map<form::ControlId, QWidget*> DrawForm(const form::Form& design, QWidget& window,
                                             QWidget& client) {
    window.setObjectName(QString::fromLatin1(design.Name));
    window.setWindowTitle(QString::fromLatin1(design.Caption));
    // Nothing re-lays out the controls: the client area is fixed.
    client.setFixedSize(form::ToPixels(design.Width), form::ToPixels(design.Height));
    client.setAutoFillBackground(true);
    SetColour(&client, QPalette::Window, ToQColor(design.Back));
    std::map<form::ControlId, QWidget*> controls;
    MakeChildren(design, std::nullopt, &client, controls);
    // A label tells screen readers which box it names.
    for (const form::Control& control : design.Controls) {
        if (!control.LabelledBy) {
            continue;
        }
        const auto label = controls.find(*control.LabelledBy);
        if (label != controls.end() && qobject_cast<QLabel*>(label->second) != nullptr) {
            static_cast<QLabel*>(label->second)->setBuddy(controls.at(control.Id));
        }
    }
    for (std::size_t i = 1; i < design.TabOrder.size(); ++i) {
        QWidget::setTabOrder(controls.at(design.TabOrder[i - 1]), controls.at(design.TabOrder[i]));
    }
    controls.at(design.TabOrder.front())->setFocus();
    return controls;
}

QString Shown(const std::string& text) {
    // Status texts are plain ASCII and are set once per directive line: take the short way.
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= ' ' && static_cast<unsigned char>(c) < 0x80;
    });
    if (plain) {
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    return QString::fromUtf8(DisplayText(text)).replace("\r\n", "\n");
}

QString ShownStart(const std::string& message) {
    constexpr auto kLongestShown = static_cast<qsizetype>(form::kLongestBoxText);
    constexpr std::size_t kBytesKept = 4 * kLongestShown + 4;
    std::string start;
    PutDisplayText(message, [&start](std::string_view piece) {
        if (start.size() < kBytesKept) {
            start.append(piece.substr(0, kBytesKept - start.size()));
        }
    });
    QString text = QString::fromUtf8(start).replace("\r\n", "\n");
    // Every character takes at most four bytes, so a cut start is always longer than that.
    if (text.size() > kLongestShown) {
        text = text.left(kLongestShown) + QString::fromUtf8(" \u2026");
    }
    return text;
}

} // namespace kelbrin
