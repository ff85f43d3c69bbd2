#include "Fonts.h"

#include <QFont>
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

} // namespace kelbrin
