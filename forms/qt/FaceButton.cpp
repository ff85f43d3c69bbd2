#include "FaceButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

namespace kelbrin {

namespace {

// Room between the border and the caption.
constexpr int kMargin = 6;

// Breaks `text` into lines no wider than `width`, only at blanks; the blanks at a break are
// dropped, the others kept.
QString WrapAtBlanks(const QString& text, const QFontMetrics& metrics, int width) {
    QString wrapped;
    QString line;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype wordStart = at;
        while (wordStart < text.size() && text[wordStart] == ' ') {
            ++wordStart;
        }
        qsizetype wordEnd = wordStart;
        while (wordEnd < text.size() && text[wordEnd] != ' ') {
            ++wordEnd;
        }
        const QString blanks = text.mid(at, wordStart - at);
        const QString word = text.mid(wordStart, wordEnd - wordStart);
        if (line.isEmpty() || metrics.horizontalAdvance(line + blanks + word) <= width) {
            line += blanks + word;
        } else {
            wrapped += line + "\n";
            line = word;
        }
        at = wordEnd;
    }
    return wrapped + line;
}

} // namespace

FaceButton::FaceButton(const QString& caption, const QColor& face, QWidget* parent)
    : QPushButton(caption, parent), face_(face) {
    setAutoDefault(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Button, face);
    setPalette(colours);
}

QString FaceButton::WrappedCaption() const {
    return WrapAtBlanks(text(), fontMetrics(), width() - 2 * kMargin);
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
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
}

} // namespace kelbrin
