#include "Win32HowToWindow.h"

#include "AnsiText.h"
#include "ControlIds.h"
#include "HelpTexts.h"

namespace kelbrin {

Win32HowToWindow::Win32HowToWindow() : FormWindow(form::HowToForm()), handlers_(*this) {
    Create(nullptr);
    const std::string* pages[2] = {&UsageHelpText(), &FormatHelpText()};
    for (std::int16_t i = 0; i < 2; ++i) {
        ::SetWindowTextW(ControlHandle(form::HelpPage(i)), win32::Widen(*pages[i]).c_str());
    }
    handlers_.Form_Load();
    Show();
}

void Win32HowToWindow::SetVisible(form::ControlId control, bool visible) {
    ::ShowWindow(ControlHandle(control), visible ? SW_SHOW : SW_HIDE);
    // The checked option is the one of the page shown, however the page was chosen.
    for (std::int16_t page = 0; page < 2; ++page) {
        if (visible && control == form::HelpPage(page)) {
            for (std::int16_t i = 0; i < 2; ++i) {
                ::SendMessageW(ControlHandle(form::HelpOption(i)), BM_SETCHECK,
                               i == page ? BST_CHECKED : BST_UNCHECKED, 0);
            }
        }
    }
}

void Win32HowToWindow::CloseWindow() {
    Close();
}

void Win32HowToWindow::OnCommand(int id) {
    for (std::int16_t i = 0; i < 2; ++i) {
        if (id == win32::ChildId(form::HelpOption(i))) {
            handlers_.optPart_Click(i);
        }
    }
    if (id == win32::ChildId(form::ControlId::cmdOK)) {
        handlers_.cmdOK_Click();
    }
}

} // namespace kelbrin
