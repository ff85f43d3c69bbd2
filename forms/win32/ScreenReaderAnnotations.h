#pragma once

#include <vector>
#include <windows.h>
// The annotation service's interface, after windows.h.
#include <oleacc.h>

#include "FormDescription.h"

namespace kelbrin::win32 {

// What screen readers are told of a window's controls where the system's own controls say
// nothing or something else: names and descriptions (a text box without a label before it, a
// picture, a frame), the status line as a status bar whose changes are heard when the program
// raises them, a drawing as a picture, decoration as nothing to see. Given through the system's
// annotation service, and taken back before the controls go. A system without that service
// (Wine) tells of the controls as it would without it: by their text, and a text box by the
// label before it.
class ScreenReaderAnnotations {
public:
    ScreenReaderAnnotations();
    ~ScreenReaderAnnotations();
    ScreenReaderAnnotations(const ScreenReaderAnnotations&) = delete;
    ScreenReaderAnnotations& operator=(const ScreenReaderAnnotations&) = delete;

    // Gives `control` what its description in `form` says of it, if anything.
    void Give(HWND control, const form::Form& form, const form::Control& described);
    // Takes back every one given, while the controls still exist.
    void TakeBack();

private:
    bool SetString(HWND control, MSAAPROPID property, const std::wstring& value);
    bool SetNumber(HWND control, MSAAPROPID property, LONG value);

    IAccPropServices* services_ = nullptr;
    std::vector<HWND> given_;
};

} // namespace kelbrin::win32
