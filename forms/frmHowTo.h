#pragma once

#include <cstdint>

#include "FormDescription.h"

namespace kelbrin {

// What the help window's handlers need of a toolkit's window.
class HowToWindowPort {
public:
    virtual ~HowToWindowPort() = default;
    virtual void SetVisible(form::ControlId control, bool visible) = 0;
    // Closes (destroys) the help window; the main window is not affected.
    virtual void CloseWindow() = 0;
};

// The help window's behaviour, the same under every toolkit: two pages chosen by two option
// buttons, and OK. The toolkit's window draws HowToForm() and calls these handlers.
class frmHowTo {
public:
    explicit frmHowTo(HowToWindowPort& window) : window_(window) {}

    // When the window has been created: the first page.
    void Form_Load();
    // Shows page `Index`: its text box and its colour strip; the other page's are hidden.
    void optPart_Click(std::int16_t Index);
    void cmdOK_Click();

private:
    HowToWindowPort& window_;
};

} // namespace kelbrin
