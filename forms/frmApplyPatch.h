#pragma once

#include <memory>
#include <string>

#include "ApplyPatchForm.h"
#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"

namespace kelbrin {

// The box that File, Apply Patch shows a player, for a ROM that needs no expansion: the patch
// and the ROM, each typed, pasted, chosen in the file dialog or dropped on the box, and where
// the patched ROM goes (at first the patch's name with the ROM's extension, beside the patch).
// Apply writes it as kelbrin-cli --apply does, never over the ROM or the patch, and over an
// existing file only when the player chose to replace it; the status line then names the file
// and its CRC32. A failure is the numbered error box, and leaves no file. Its window is
// ApplyPatchForm(), over the main window.
class frmApplyPatch final : public FormEvents {
public:
    // The box opens with `patch` in it (empty for none); the file dialogs open in
    // `startFolder` until a file is named.
    frmApplyPatch(Desktop& desktop, std::string startFolder, FormPort& owner,
                  const std::string& patch);
    frmApplyPatch(const frmApplyPatch&) = delete;
    frmApplyPatch& operator=(const frmApplyPatch&) = delete;

    // Shows the box and returns once it has been closed.
    void ShowModal() { port_->ShowModal(); }

    void cmdPatch_Click();
    void cmdRom_Click();
    void cmdOutput_Click();
    void optKeep_Click() { replace_ = false; }
    void optReplace_Click() { replace_ = true; }
    void cmdApply_Click();
    void cmdClose_Click() { port_->Close(); }
    // A patch file dropped on the box is the patch; any other file, the ROM.
    void Form_DragDrop(const std::string& path);
    void Click(form::ControlId control) override;
    void DragDrop(const std::string& path) override { Form_DragDrop(path); }

private:
    // The path in `box`, as typed, pasted or chosen; empty for none.
    std::string PathIn(form::ControlId box) const;
    // Puts `path` into `box`, and the patched ROM's default place into the output box unless
    // the player has put another there.
    void Take(form::ControlId box, const std::string& path);
    // Where the patched ROM goes when the player names no other place: empty until both the
    // patch and the ROM are named.
    std::string DefaultOutput() const;
    void Complain(const std::string& message);

    Desktop& desktop_;
    const std::string startFolder_;
    std::unique_ptr<FormPort> port_;
    bool replace_ = false;
    // The default the output box was given last: while it still shows it, it follows the patch
    // and the ROM.
    std::string shownDefault_;
};

} // namespace kelbrin
