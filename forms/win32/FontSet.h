#pragma once

#include <string>
#include <vector>
#include <windows.h>

#include "FormDescription.h"

namespace kelbrin::win32 {

// The fonts of one window at one DPI, each made once. A family the system lacks gets the
// system's substitute (the font mapper and its FontSubstitutes list choose it).
class FontSet {
public:
    explicit FontSet(UINT dpi) : dpi_(dpi) {}
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // An empty family is the dialog font: the face the system shows in its own dialog boxes.
    // A `width` asks for characters of that average width in pixels; 0: the font's own.
    HFONT Get(const form::Font& wanted, LONG width = 0);

private:
    struct Made {
        form::Font Font;
        LONG Width;
        HFONT Handle;
    };
    UINT dpi_;
    std::vector<Made> made_;
};

} // namespace kelbrin::win32
