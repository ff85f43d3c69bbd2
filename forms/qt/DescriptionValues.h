#pragma once

#include <QColor>
#include <QRect>

#include "FormDescription.h"

namespace kelbrin {

// A description's values in Qt's terms. The forms are drawn in twips; Qt lays out in
// device-independent pixels (96 per inch) and scales them on high-DPI screens itself.
inline QRect PixelRect(const form::Twips& at) {
    return QRect(form::ToPixels(at.Left), form::ToPixels(at.Top), form::ToPixels(at.Width),
                 form::ToPixels(at.Height));
}

inline QColor ToQColor(const form::Colour& colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

inline Qt::Alignment QtAlignment(form::TextAlign align) {
    switch (align) {
    case form::TextAlign::Left: return Qt::AlignLeft;
    case form::TextAlign::Right: return Qt::AlignRight;
    case form::TextAlign::Centre: break;
    }
    return Qt::AlignHCenter;
}

} // namespace kelbrin
