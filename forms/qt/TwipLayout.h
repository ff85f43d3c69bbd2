#pragma once

#include <QRect>

namespace kelbrin {

// The layouts are drawn in twips: 15 twips are one pixel at 96 dots per inch. Qt scales these
// device-independent pixels on high-DPI screens.
constexpr int Twips(int twips) {
    return (twips + 7) / 15;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace kelbrin
