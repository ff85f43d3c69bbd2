#include "QtInfoWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "Palette.h"
#include "QtControls.h"
#include "TwipLayout.h"

namespace kelbrin {

using form::ControlId;

QtInfoWindow::QtInfoWindow(std::string report, QWidget* parent)
    : QDialog(parent), form_(*this, std::move(report)) {
    const form::Form& design = form::InfoForm();
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
    connect(static_cast<QPushButton*>(controls_.at(ControlId::cmdCopy)), &QPushButton::clicked,
            this, [this] { form_.cmdCopy_Click(); });
    connect(static_cast<QPushButton*>(controls_.at(ControlId::cmdClose)), &QPushButton::clicked,
            this, [this] { form_.cmdClose_Click(); });
    controls_.at(design.TabOrder.front())->setFocus();
    form_.Form_Load();
}

void QtInfoWindow::SetText(ControlId control, const std::string& text) {
    static_cast<QPlainTextEdit*>(controls_.at(control))->setPlainText(Shown(text));
}

void QtInfoWindow::CopyToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(Shown(text));
}

void QtInfoWindow::CloseWindow() {
    accept();
}

} // namespace kelbrin
