#pragma once

#include <memory>
#include <string>

#include "CheckForm.h"
#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"

namespace kelbrin {

// The box that File, Check Script shows a patch author: whether the script is fit to ship, the
// notes that explain what a run's messages cannot, how each button's run would end (with a
// failing run's box), and what the script builds, drawn as a strip beside the table of its
// rows. It opens with the focus on the verdict. It reads the folder's script and original
// exactly as the runs would and writes nothing. Its window is CheckForm(), over the main
// window.
class frmCheck final : public FormEvents {
public:
    // Checks the script in `folder` and fills the box.
    frmCheck(Desktop& desktop, std::string folder, FormPort& owner);
    frmCheck(const frmCheck&) = delete;
    frmCheck& operator=(const frmCheck&) = delete;

    // Shows the box and returns once it has been closed.
    void ShowModal() { port_->ShowModal(); }

    // Checks the script again, as the author may have changed it meanwhile, and puts the focus
    // on the new verdict.
    void cmdCheckAgain_Click();
    void cmdCheckClose_Click() { port_->Close(); }
    void Click(form::ControlId control) override;

private:
    void Form_Load();

    const std::string folder_;
    std::unique_ptr<FormPort> port_;
};

} // namespace kelbrin
