#pragma once

#include <vector>
#include <windows.h>
// The annotation service's interface, after windows.h.
#include <oleacc.h>

#include "FormDescription.h"

namespace kelbrin::win32 {

// The names and descriptions that screen readers give a window's controls where the system's
// own say nothing (a text box without a label before it, a picture, a frame): the form's words,
// given through the system's annotation service, and taken back before the controls go. A
// system without that service (Wine) names the controls as it would without it: by their text,
// and a text box by the label before it.
class ScreenReaderNames {
public:
    ScreenReaderNames();
    ~ScreenReaderNames();
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

    // Gives `control` the name and description its description has, if any.
    void Give(HWND control, const form::Control& described);
    // Takes back every one given, while the controls still exist.
    void TakeBack();

private:
    IAccPropServices* services_ = nullptr;
    std::vector<HWND> given_;
};

} // namespace kelbrin::win32
