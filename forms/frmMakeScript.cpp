#include "frmMakeScript.h"

#include <utility>

#include "FolderPaths.h"
#include "HeaderAdvice.h"
#include "NumberText.h"
#include "RuntimeError.h"
#include "ScriptFields.h"
#include "TypedText.h"
#include "WrittenScript.h"

namespace kelbrin {

using namespace form::frmMakeScript;

namespace {

const std::string kTitle = "Make Script";

} // namespace

frmMakeScript::frmMakeScript(Desktop& desktop, std::string startFolder, FormPort& owner,
                             MakeScriptFields& fields)
    : desktop_(desktop), startFolder_(std::move(startFolder)), fields_(fields),
      port_(desktop.OpenForm(form::MakeScriptForm(), *this, &owner)) {
    port_->SetText(txtOriginal, fields_.Original);
    port_->SetText(txtExpanded, fields_.Expanded);
    port_->SetText(txtOriginalHeader, fields_.OriginalHeader);
    port_->SetText(txtExpandedHeader, fields_.ExpandedHeader);
}

std::string frmMakeScript::PathIn(form::ControlId box) const {
    return TypedPath(port_->Text(box));
}

void frmMakeScript::ChooseInto(form::ControlId box, const std::string& title,
                               const std::string& start) {
    if (const std::optional<std::string> chosen = desktop_.ChooseFile(*port_, title, start)) {
        port_->SetText(box, *chosen);
    }
}

void frmMakeScript::cmdOriginal_Click() {
    const std::string original = PathIn(txtOriginal);
    ChooseInto(txtOriginal, "Choose the original ROM",
               original.empty() ? startFolder_ : FolderOfFile(original));
}

void frmMakeScript::cmdExpanded_Click() {
    const std::string original = PathIn(txtOriginal);
    const std::string expanded = PathIn(txtExpanded);
    // The expanded ROM usually lies beside the original.
    const std::string start = !expanded.empty()   ? FolderOfFile(expanded)
                              : !original.empty() ? FolderOfFile(original)
                                                  : startFolder_;
    ChooseInto(txtExpanded, "Choose the expanded ROM", start);
}

std::optional<std::uint32_t> frmMakeScript::HeaderSize(form::ControlId box,
                                                       const std::string& whose) {
    const std::string text = port_->Text(box);
    const std::string_view size = Trimmed(text);
    // An empty box is no header, as 0 is.
    if (size.empty()) {
        return 0;
    }
    if (const std::optional<std::int32_t> number = ScriptNumber(size)) {
        return static_cast<std::uint32_t>(*number);
    }
    Complain("The size of " + whose + " is '" + text +
             "': give it in hex, 1 to 7 digits, or 0 for none.");
    port_->SetFocus(box);
    return std::nullopt;
}

void frmMakeScript::cmdMake_Click() {
    const std::string original = PathIn(txtOriginal);
    const std::string expanded = PathIn(txtExpanded);
    if (original.empty() || expanded.empty()) {
        Complain(original.empty() ? "Choose the original ROM first."
                                  : "Choose the expanded ROM first.");
        return;
    }
    auto originalHeader = HeaderSize(txtOriginalHeader, "the original's header");
    if (!originalHeader) {
        return;
    }
    auto expandedHeader = HeaderSize(txtExpandedHeader, "the expanded ROM's header");
    if (!expandedHeader) {
        return;
    }
    OfferAdvice(original, *originalHeader, txtOriginalHeader, "the original's");
    OfferAdvice(expanded, *expandedHeader, txtExpandedHeader, "the expanded ROM's");
    const std::string scriptPath = DefaultScriptPath(original);
    bool declined = false;
    try {
        WriteScript({original, expanded, *originalHeader, *expandedHeader}, scriptPath, [&] {
            declined = !desktop_.AskYesNo(*port_,
                                          PathText(scriptPath) +
                                              " exists already.\r\n\r\nReplace it with the "
                                              "script made from these two files?",
                                          kTitle);
            return !declined;
        });
    } catch (const RuntimeError& error) {
        // The author kept the script there: nothing went wrong, and the box stays for another
        // choice.
        if (!declined) {
            Complain("No script was written: " + PathText(error.Description()) + " (error " +
                     std::to_string(error.Number()) + ").");
        }
        return;
    }
    desktop_.ShowMessageBox(*port_, "Script written: " + PathText(scriptPath), kTitle,
                            MessageBoxIcon::None);
    scriptFolder_ = FolderOfFile(scriptPath);
    Close();
}

void frmMakeScript::OfferAdvice(const std::string& path, std::uint32_t& size, form::ControlId box,
                                const std::string& whose) {
    // The box says 0 until the author types a size: no size given yet.
    const std::optional<HeaderAdvice> advice =
        AdviseHeader(path, size == 0 ? std::nullopt : std::optional<std::uint32_t>(size));
    if (!advice ||
        !desktop_.AskYesNo(*port_,
                           PathText(advice->Reason) + ".\r\n\r\nMake the script with " +
                               ScriptHex(advice->Size) + " (hex) as " + whose + " header size?",
                           kTitle)) {
        return;
    }
    size = advice->Size;
    port_->SetText(box, ScriptHex(size));
}

void frmMakeScript::Complain(const std::string& message) {
    desktop_.ShowMessageBox(*port_, message, kTitle, MessageBoxIcon::Stop);
}

void frmMakeScript::Keep() {
    fields_ = {port_->Text(txtOriginal), port_->Text(txtExpanded), port_->Text(txtOriginalHeader),
               port_->Text(txtExpandedHeader)};
}

void frmMakeScript::Close() {
    Keep();
    port_->Close();
}

bool frmMakeScript::QueryClose() {
    Keep();
    return true;
}

void frmMakeScript::Click(form::ControlId control) {
    switch (control.As<ControlName>()) {
    case cmdOriginal: cmdOriginal_Click(); break;
    case cmdExpanded: cmdExpanded_Click(); break;
    case cmdMake: cmdMake_Click(); break;
    case cmdCancel: cmdCancel_Click(); break;
    default: break;
    }
}

} // namespace kelbrin
