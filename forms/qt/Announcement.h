#pragma once

#include <QString>
#include <QWidget>

namespace kelbrin {

// What a status line announces: an empty child of the line, which a screen reader knows as a
// notification and says as it is shown, wherever the focus is. Orca says a changed name only of
// the object that has the focus, and Qt 6.4 has no announcement event; a notification shown
// inside a status bar, Orca says.
class Announcement final : public QWidget {
public:
    explicit Announcement(QWidget& statusLine);

    // Shown anew with `text` as its name.
    void Say(const QString& text);
};

} // namespace kelbrin
