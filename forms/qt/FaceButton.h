#pragma once

#include <QColor>
#include <QPushButton>

namespace kelbrin {

// A push button whose face is filled with its own colour, whatever the style: raised, sunken
// while pressed, with the usual dotted focus rectangle on that colour. Its caption is drawn in
// a colour fixed for that face (grey while it is disabled), as the form's captions break into
// lines (CaptionLines) when it is wider than the button.
class FaceButton : public QPushButton {
public:
    FaceButton(const QString& caption, const QColor& face, const QColor& text, QWidget* parent);

    // The caption as it is drawn, with its line breaks.
    QString WrappedCaption() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
};

} // namespace kelbrin
