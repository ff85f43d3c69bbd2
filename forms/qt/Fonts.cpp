#include "Fonts.h"

#include <QApplication>
#include <QStringList>

namespace kelbrin {

void RegisterFontSubstitutes() {
    QFont::insertSubstitutions("Comic Sans MS",
                               QStringList{"Comic Neue", "Comic Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Courier New",
                               QStringList{"Liberation Mono", "Cousine", "DejaVu Sans Mono"});
    QFont::insertSubstitutions("MS Sans Serif",
                               QStringList{"Liberation Sans", "Arimo", "DejaVu Sans"});
}

QFont QtFont(const form::Font& font) {
    if (font.Family.empty()) {
        return QApplication::font();
    }
    QFont qtFont(
        QString::fromLatin1(font.Family.data(), static_cast<qsizetype>(font.Family.size())));
    qtFont.setPointSizeF(font.Points);
    qtFont.setBold(font.Bold);
    return qtFont;
}

} // namespace kelbrin
