#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"
#include "MakeScriptForm.h"

namespace kelbrin {

// What the Make Script box holds: kept by its owner from one showing to the next while the
// program runs, so that an author who makes a script again finds the files there.
struct MakeScriptFields {
    std::string Original;
    std::string Expanded;
    std::string OriginalHeader = "0";
    std::string ExpandedHeader = "0";
};

// The box that File, Make Script shows a patch author: the original and the expanded ROM, each
// chosen in the file dialog or typed, and the header each carries; Make Script writes
// Kelbrin.txt beside the original, as kelbrin-cli --make-script does, asking first when one is
// there already, offering the header size a file suggests (a header left out, a size typed in
// decimal), and says where it went. A failure is a box in plain words and leaves no script. Its
// window is MakeScriptForm(), over the main window.
class frmMakeScript final : public FormEvents {
public:
    // The box shows `fields`, and they get what it holds when it closes. The file dialogs open
    // in `startFolder` until a file is named.
    frmMakeScript(Desktop& desktop, std::string startFolder, FormPort& owner,
                  MakeScriptFields& fields);
    frmMakeScript(const frmMakeScript&) = delete;
    frmMakeScript& operator=(const frmMakeScript&) = delete;

    // Shows the box and returns once it has been closed.
    void ShowModal() { port_->ShowModal(); }
    // The folder of the script written, once Make Script has written one and closed the box.
    const std::optional<std::string>& ScriptFolder() const noexcept { return scriptFolder_; }

    void cmdOriginal_Click();
    void cmdExpanded_Click();
    void cmdMake_Click();
    void cmdCancel_Click() { Close(); }
    void Click(form::ControlId control) override;
    bool QueryClose() override;

private:
    // The path in `box`, as typed, pasted or chosen; empty for none.
    std::string PathIn(form::ControlId box) const;
    // The file chosen in the dialog for `box`, shown there.
    void ChooseInto(form::ControlId box, const std::string& title, const std::string& start);
    // The header size typed into `box`; nothing, after a box that says so, when it is no size.
    std::optional<std::uint32_t> HeaderSize(form::ControlId box, const std::string& whose);
    // Asks whether the header size the file at `path` suggests (see AdviseHeader) should take
    // the place of `size`, typed into `box`; a Yes puts it into both.
    void OfferAdvice(const std::string& path, std::uint32_t& size, form::ControlId box,
                     const std::string& whose);
    void Complain(const std::string& message);
    // What the box holds, for its next showing.
    void Keep();
    void Close();

    Desktop& desktop_;
    const std::string startFolder_;
    MakeScriptFields& fields_;
    std::optional<std::string> scriptFolder_;
    std::unique_ptr<FormPort> port_;
};

} // namespace kelbrin
