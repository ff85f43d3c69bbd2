#pragma once

#include <string>

#include "Drawing.h"
#include "FormDescription.h"

namespace kelbrin {

// What a form's handlers do to their window: the same few calls, by control id, for every form
// and every toolkit. Each toolkit implements it once, in a host that draws any description.
// Texts are 8-bit, as the engine holds them; the host shows script bytes as its system reads
// them. Names of files and folders are as the system gives them.
class FormPort {
public:
    virtual ~FormPort() = default;

    // The caption of a label, push button or option button.
    virtual void SetCaption(form::ControlId control, const std::string& caption) = 0;
    // Shows `caption` in the status line `control` as SetCaption does, and has screen readers
    // say it wherever the focus is. Only for what a person waits to hear, such as that a run
    // has begun and how it ended: one for each of its lines would drown them.
    virtual void Announce(form::ControlId control, const std::string& caption) = 0;
    // The caption shown now.
    virtual std::string Caption(form::ControlId control) const = 0;
    // The text of a text box; its lines may end in LF or CR LF.
    virtual void SetText(form::ControlId control, const std::string& text) = 0;
    // The text a text box holds now, as the user may have changed it.
    virtual std::string Text(form::ControlId control) const = 0;
    virtual void SetEnabled(form::ControlId control, bool enabled) = 0;
    virtual void SetEnabled(form::MenuId item, bool enabled) = 0;
    virtual void SetVisible(form::ControlId control, bool visible) = 0;
    virtual void SetFocus(form::ControlId control) = 0;
    virtual void SetPicture(form::ControlId control, form::Picture picture) = 0;
    // What a drawing control shows, in its own twips; it starts empty.
    virtual void SetDrawing(form::ControlId control, const form::Drawing& drawing) = 0;
    // The window's title: its caption, followed by " \u2013 " and `name` when that is not empty,
    // the name of the file or folder the window works on.
    virtual void SetTitleName(const std::string& name) = 0;
    // A tooltip over `control` that shows the path of a file or folder; empty: none.
    virtual void SetPathTip(form::ControlId control, const std::string& path) = 0;
    // Whether a file or folder dropped on the window reaches its handlers.
    virtual void TakeDrops(bool take) = 0;

    // Shows the window, or brings it to the front unchanged when it is shown already.
    virtual void Show() = 0;
    // Shows the window over its owner, which takes no input meanwhile, and returns once it has
    // been closed.
    virtual void ShowModal() = 0;
    // Closes the window; its handlers hear nothing more of it.
    virtual void Close() = 0;
    // Shown, and not closed since.
    virtual bool IsOpen() const = 0;
};

} // namespace kelbrin
