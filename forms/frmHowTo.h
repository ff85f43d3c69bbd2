#pragma once

#include <cstdint>
#include <memory>

#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"
#include "HowToForm.h"

namespace kelbrin {

// The help window's behaviour, the same under every toolkit: its pages, each chosen by an option
// button, and OK. Its window is HowToForm(), a top-level window of its own, made on its
// first page.
class frmHowTo final : public FormEvents {
public:
    explicit frmHowTo(Desktop& desktop);
    frmHowTo(const frmHowTo&) = delete;
    frmHowTo& operator=(const frmHowTo&) = delete;

    // Shows the window, or brings it forward unchanged.
    void Show() { port_->Show(); }
    bool IsOpen() const { return port_->IsOpen(); }
    void Close() { port_->Close(); }

    // Shows page `Index`: its text box and its colour strip; the other page's are hidden.
    void optPart_Click(std::int16_t Index);
    void cmdOK_Click();
    void Click(form::ControlId control) override;

private:
    void Form_Load();

    std::unique_ptr<FormPort> port_;
};

} // namespace kelbrin
