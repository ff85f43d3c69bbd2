#include "Announcement.h"

#include "AccessibleRoles.h"

namespace kelbrin {

Announcement::Announcement(QWidget& statusLine) : QWidget(&statusLine) {
    SetAccessibleRole(*this, QAccessible::Notification);
    // It paints nothing; the line's tooltip and clicks are the line's.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(statusLine.rect());
    hide();
}

void Announcement::Say(const QString& text) {
    hide();
    setAccessibleName(text);
    show();
}

} // namespace kelbrin
