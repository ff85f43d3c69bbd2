#include "FaceButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>
#include <string>
#include <string_view>

#include "CaptionLines.h"
#include "DescriptionValues.h"
#include "FocusMarks.h"

namespace kelbrin {

namespace {

// Room between the border and the caption.
constexpr int kMargin = 6;

} // namespace

FaceButton::FaceButton(const QString& caption, const QColor& face, const QColor& text,
                       QWidget* parent)
    : QPushButton(caption, parent), face_(face) {
    setAutoDefault(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Button, face);
    colours.setColor(QPalette::Active, QPalette::ButtonText, text);
    colours.setColor(QPalette::Inactive, QPalette::ButtonText, text);
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, ToQColor(form::kFixedGreyText));
    setPalette(colours);
}

QString FaceButton::WrappedCaption() const {
    const QString caption = text();
    const QFontMetrics metrics = fontMetrics();
    const auto widthOf = [&metrics](std::u16string_view piece) {
        return metrics.horizontalAdvance(
            QString::fromUtf16(piece.data(), static_cast<qsizetype>(piece.size())));
    };
    return QString::fromStdU16String(
        form::CaptionLines(std::u16string_view(reinterpret_cast<const char16_t*>(caption.utf16()),
                                               static_cast<std::size_t>(caption.size())),
                           widthOf, width() - 2 * kMargin));
}

void FaceButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush fill(face_);
    qDrawWinButton(&painter, rect(), palette(), isDown(), &fill);
    QRect inside = rect().adjusted(kMargin, 2, -kMargin, -2);
    if (isDown()) {
        inside.translate(1, 1);
    }
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(inside, Qt::AlignCenter, WrappedCaption());
    if (hasFocus()) {
        DrawFocusMark(painter, rect().adjusted(4, 4, -4, -4),
                      palette().color(QPalette::Active, QPalette::ButtonText));
    }
}

} // namespace kelbrin
