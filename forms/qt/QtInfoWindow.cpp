#include "QtInfoWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

#include "QtControls.h"

namespace kelbrin {

using form::ControlId;

QtInfoWindow::QtInfoWindow(std::string report, QWidget* parent)
    : QDialog(parent), form_(*this, std::move(report)) {
    controls_ = DrawForm(form::InfoForm(), *this, *this);
    connect(static_cast<QPushButton*>(controls_.at(ControlId::cmdCopy)), &QPushButton::clicked,
            this, [this] { form_.cmdCopy_Click(); });
    connect(static_cast<QPushButton*>(controls_.at(ControlId::cmdClose)), &QPushButton::clicked,
            this, [this] { form_.cmdClose_Click(); });
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
