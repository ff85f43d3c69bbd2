#include "QtHowToWindow.h"

#include <QPushButton>
#include <QRadioButton>

#include "Palette.h"
#include "QtControls.h"
#include "TwipLayout.h"

namespace kelbrin {

using form::ControlId;

QtHowToWindow::QtHowToWindow() : form_(*this) {
    const form::Form& design = form::HowToForm();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setObjectName(QString::fromLatin1(design.Name));
    setWindowTitle(QString::fromLatin1(design.Caption));
    setFixedSize(form::ToPixels(design.Width), form::ToPixels(design.Height));
    setAutoFillBackground(true);
    SetColour(this, QPalette::Window, ToQColor(design.Back));

    for (const form::Control* control : form::StackingOrder(design, ControlId::None)) {
        controls_[control->Id] = MakeControl(*control, this);
    }
    for (std::size_t i = 1; i < design.TabOrder.size(); ++i) {
        setTabOrder(controls_.at(design.TabOrder[i - 1]), controls_.at(design.TabOrder[i]));
    }
    for (std::int16_t i = 0; i < 2; ++i) {
        // Arrow keys, Space and the mouse all check the button; only the newly checked one
        // reports.
        connect(static_cast<QRadioButton*>(controls_.at(form::HelpOption(i))),
                &QRadioButton::toggled, this, [this, i](bool checked) {
                    if (checked) {
                        form_.optPart_Click(i);
                    }
                });
    }
    connect(static_cast<QPushButton*>(controls_.at(ControlId::cmdOK)), &QPushButton::clicked, this,
            [this] { form_.cmdOK_Click(); });
    // The window opens on its first page, with the focus on the first stop of its tab order.
    static_cast<QRadioButton*>(controls_.at(form::HelpOption(0)))->setChecked(true);
    controls_.at(design.TabOrder.front())->setFocus();
    form_.Form_Load();
}

void QtHowToWindow::SetVisible(ControlId control, bool visible) {
    controls_.at(control)->setVisible(visible);
}

void QtHowToWindow::CloseWindow() {
    close();
}

} // namespace kelbrin
