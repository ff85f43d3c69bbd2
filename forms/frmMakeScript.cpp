#include "frmMakeScript.h"

#include <utility>

#include "FolderPaths.h"
#include "HeaderAdvice.h"
#include "NumberText.h"
#include "RuntimeError.h"
#include "ScriptFields.h"
#include "WrittenScript.h"

namespace kelbrin {

namespace {

const std::string kTitle = "Make Script";

std::string_view WithoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

frmMakeScript::frmMakeScript(Desktop& desktop, std::string startFolder, FormPort& owner)
    : desktop_(desktop), startFolder_(std::move(startFolder)),
      port_(desktop.OpenForm(form::MakeScriptForm(), *this, &owner)) {}

bool frmMakeScript::ChooseInto(std::string& path, form::ControlId box, const std::string& title,
                               const std::string& start) {
    const std::optional<std::string> chosen = desktop_.ChooseFile(*port_, title, start);
    if (!chosen) {
        return false;
    }
    path = *chosen;
    port_->SetText(box, PathText(path));
    return true;
}

void frmMakeScript::cmdOriginal_Click() {
    ChooseInto(original_, form::ControlId::txtOriginal, "Choose the original ROM",
               original_.empty() ? startFolder_ : FolderOfFile(original_));
}

void frmMakeScript::cmdExpanded_Click() {
    // The expanded ROM usually lies beside the original.
    const std::string start = !expanded_.empty()   ? FolderOfFile(expanded_)
                              : !original_.empty() ? FolderOfFile(original_)
                                                   : startFolder_;
    ChooseInto(expanded_, form::ControlId::txtExpanded, "Choose the expanded ROM", start);
}

std::optional<std::uint32_t> frmMakeScript::HeaderSize(form::ControlId box,
                                                       const std::string& whose) {
    const std::string text = port_->Text(box);
    const std::string_view size = WithoutBlanks(text);
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
    if (original_.empty() || expanded_.empty()) {
        Complain(original_.empty() ? "Choose the original ROM first."
                                   : "Choose the expanded ROM first.");
        return;
    }
    auto originalHeader = HeaderSize(form::ControlId::txtOriginalHeader, "the original's header");
    if (!originalHeader) {
        return;
    }
    auto expandedHeader =
        HeaderSize(form::ControlId::txtExpandedHeader, "the expanded ROM's header");
    if (!expandedHeader) {
        return;
    }
    OfferAdvice(original_, *originalHeader, form::ControlId::txtOriginalHeader, "the original's");
    OfferAdvice(expanded_, *expandedHeader, form::ControlId::txtExpandedHeader,
                "the expanded ROM's");
    const std::string scriptPath = DefaultScriptPath(original_);
    bool declined = false;
    try {
        WriteScript({original_, expanded_, *originalHeader, *expandedHeader}, scriptPath, [&] {
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
    scriptFolder_ = FolderOfFile(scriptPath);
    port_->Close();
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

void frmMakeScript::Click(form::ControlId control) {
    using form::ControlId;
    switch (control) {
    case ControlId::cmdOriginal: cmdOriginal_Click(); break;
    case ControlId::cmdExpanded: cmdExpanded_Click(); break;
    case ControlId::cmdMake: cmdMake_Click(); break;
    case ControlId::cmdCancel: cmdCancel_Click(); break;
    default: break;
    }
}

} // namespace kelbrin
