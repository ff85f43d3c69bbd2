#include "QtHowToWindow.h"

#include <QPushButton>
#include <QRadioButton>

#include "QtControls.h"

namespace kelbrin {

using form::ControlId;

QtHowToWindow::QtHowToWindow() : form_(*this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    controls_ = DrawForm(form::HowToForm(), *this, *this);
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
    // The window opens on its first page.
    static_cast<QRadioButton*>(controls_.at(form::HelpOption(0)))->setChecked(true);
    form_.Form_Load();
}

void QtHowToWindow::SetVisible(ControlId control, bool visible) {
    controls_.at(control)->setVisible(visible);
}

void QtHowToWindow::CloseWindow() {
    close();
}

} // namespace kelbrin
