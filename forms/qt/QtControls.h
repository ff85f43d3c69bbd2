#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <map>
#include <string>

#include "FormDescription.h"

namespace kelbrin {

// One control of `form` as a Qt widget under `parent`, named as the form names it, in its place,
// with its caption, colours and font. The help texts and pictures come with it.
QWidget* MakeControl(const form::Form& form, const form::Control& control, QWidget* parent);

// Shows `picture` in `label` at its natural size, its top-left corner staying where it is.
void ShowPicture(QLabel& label, form::Picture picture);

// A whole form: `window` takes its name and caption, `client` (the window itself, or a main
// window's central widget) its fixed size and colour and every control, each lying above the
// ones before, with the tab order and the focus on its first stop. Returns the controls.
std::map<form::ControlId, QWidget*> DrawForm(const form::Form& design, QWidget& window,
                                             QWidget& client);

// Script text as a person reads it: 8-bit bytes as UTF-8 or Windows-1252, with plain line breaks.
QString Shown(const std::string& text);

// The start of a message that may quote a script line of any length: a box that size could
// neither be laid out nor read. Only this start is converted.
QString ShownStart(const std::string& message);

} // namespace kelbrin
