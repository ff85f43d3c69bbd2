#pragma once

#include <QWidget>

#include "Drawing.h"

namespace kelbrin {

// A drawing control: the boxes and labels its form's handlers computed, in twips, painted over
// its back colour in its own font.
class DrawingView final : public QWidget {
public:
    explicit DrawingView(QWidget* parent) : QWidget(parent) {}

    void SetDrawing(form::Drawing drawing);
    const form::Drawing& Drawn() const noexcept { return drawing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    form::Drawing drawing_;
};

} // namespace kelbrin
