#include "Fonts.h"

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
    const form::Font& named = font.Family.empty() ? kFormsDefaultFont : font;
    QFont qtFont(
        QString::fromLatin1(named.Family.data(), static_cast<qsizetype>(named.Family.size())));
    qtFont.setPointSizeF(named.Points);
    qtFont.setBold(named.Bold);
    return qtFont;
}

} // namespace kelbrin
