#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "Desktop.h"
#include "FormEvents.h"
#include "FormPort.h"
#include "MakePatchForm.h"
#include "PatchFormat.h"

namespace kelbrin {

// The box that File, Make Patch shows a patch author: the expanded ROM and the hacked one, each
// typed, pasted, chosen in the file dialog or dropped on the box, the patch's format (BPS, IPS
// or UPS), a BPS patch's author's text, and where the patch goes (at first the hacked ROM's name
// with the format's extension, beside it). Make Patch makes, proves and writes it as
// kelbrin-cli --make-patch does, never over either ROM, and over an existing file only when the
// author agrees to replace it (asked first); the status line then names the file and its size. A
// failure is the numbered error box, and leaves no file. Its window is MakePatchForm(), over the
// main window.
class frmMakePatch final : public FormEvents {
public:
    // The file dialogs open in `startFolder` until a file is named.
    frmMakePatch(Desktop& desktop, std::string startFolder, FormPort& owner);
    frmMakePatch(const frmMakePatch&) = delete;
    frmMakePatch& operator=(const frmMakePatch&) = delete;

    // Shows the box and returns once it has been closed.
    void ShowModal() { port_->ShowModal(); }

    void cmdSource_Click();
    void cmdTarget_Click();
    void cmdOutput_Click();
    void optFormat_Click(PatchFormat format);
    void cmdMake_Click();
    void cmdClose_Click() { port_->Close(); }
    // A file dropped on the box is the expanded ROM while that box is empty, else the hacked ROM.
    void Form_DragDrop(const std::string& path);
    // While a patch is made the box takes no click, drop or close (its controls are disabled):
    // the events let through to keep the window painted must not start another, change what is
    // being made or pull the files from under it.
    void Click(form::ControlId control) override;
    void DragDrop(const std::string& path) override;
    bool QueryClose() override { return !making_; }

private:
    // The path in `box`, as typed, pasted or chosen; empty for none.
    std::string PathIn(form::ControlId box) const;
    // Puts `path` into `box`, and the patch's default place into the output box unless the
    // author has put another there.
    void Take(form::ControlId box, const std::string& path);
    // Shows the default place for the files and the format named now, while the output box
    // still shows the one given before (or none).
    void FollowDefault(const std::string& before);
    // Where the patch goes when the author names no other place: empty until the hacked ROM is
    // named.
    std::string DefaultOutput() const;
    void Lock(bool locked);
    // The status line while the patch is made, at most once a screen refresh, with the window's
    // events let through on the same clock.
    void ShowProgress(std::uint64_t done, std::uint64_t size);
    void Complain(const std::string& message);

    Desktop& desktop_;
    const std::string startFolder_;
    std::unique_ptr<FormPort> port_;
    PatchFormat format_ = PatchFormat::Bps;
    bool making_ = false;
    std::chrono::steady_clock::time_point lastShown_;
    // The default the output box was given last: while it still shows it, it follows the hacked
    // ROM and the format.
    std::string shownDefault_;
};

} // namespace kelbrin
