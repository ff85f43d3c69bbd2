#include "frmCheck.h"

#include <string_view>
#include <utility>

#include "FolderPaths.h"
#include "LayoutDrawing.h"
#include "ScriptCheck.h"

namespace kelbrin {

using namespace form::frmCheck;

namespace {

// The reports are a script's bytes among the program's own words, two of which lie beyond
// ASCII ("\u00D7" and "\u2026"). A window shows 8-bit text as a run reads a script (on Windows
// the ANSI code page), so those two take the spelling messages give them there, and the
// script's bytes stay as they are.
std::string InMessageText(std::string text) {
    for (const std::string_view own : {"\u00D7", "\u2026"}) {
        const std::string spelled = PathText(own);
        for (std::size_t at = text.find(own); at != std::string::npos;
             at = text.find(own, at + spelled.size())) {
            text.replace(at, own.size(), spelled);
        }
    }
    return text;
}

} // namespace

frmCheck::frmCheck(Desktop& desktop, std::string folder, FormPort& owner)
    : folder_(std::move(folder)), port_(desktop.OpenForm(form::CheckForm(), *this, &owner)) {
    Form_Load();
}

void frmCheck::cmdCheckAgain_Click() {
    Form_Load();
    port_->SetFocus(txtCheck);
}

void frmCheck::Form_Load() {
    const ScriptCheck check = CheckScript(folder_);
    port_->SetText(txtCheck, InMessageText(CheckReport(check)));
    port_->SetText(txtLayout,
                   InMessageText(LayoutReport(check) + LayoutSummary(check.WithoutHeader) + "\n"));
    const form::Control& picture = form::ControlOf(form::CheckForm(), picLayout);
    port_->SetDrawing(picLayout, form::DrawLayout(check.WithoutHeader, picture.At.Width,
                                                  picture.At.Height, *picture.Fore));
}

void frmCheck::Click(form::ControlId control) {
    if (control == cmdCheckAgain) {
        cmdCheckAgain_Click();
    } else if (control == cmdCheckClose) {
        cmdCheckClose_Click();
    }
}

} // namespace kelbrin
