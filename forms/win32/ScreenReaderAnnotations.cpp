#include "ScreenReaderAnnotations.h"

#include <iterator>
#include <string>

#include "AnsiText.h"

namespace kelbrin::win32 {

namespace {

// UI Automation's LiveSetting property, which MinGW's headers do not declare, and its value
// Polite: a change raised on the control is said once the screen reader is free, wherever the
// focus is.
constexpr GUID kLiveSetting = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;

} // namespace

ScreenReaderAnnotations::ScreenReaderAnnotations() {
    // Without COM on this thread, or without the service, there is nothing to annotate with.
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
    }
}

ScreenReaderAnnotations::~ScreenReaderAnnotations() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

bool ScreenReaderAnnotations::SetString(HWND control, MSAAPROPID property,
                                        const std::wstring& value) {
    return !value.empty() &&
           SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                               CHILDID_SELF, property, value.c_str()));
}

bool ScreenReaderAnnotations::SetNumber(HWND control, MSAAPROPID property, LONG value) {
    VARIANT number;
    ::VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = value;
    return SUCCEEDED(services_->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            property, number));
}

void ScreenReaderAnnotations::Give(HWND control, const form::Form& form,
                                   const form::Control& described) {
    if (services_ == nullptr) {
        return;
    }
    bool given = false;
    if (form::IsDecoration(described.Kind)) {
        given |= SetNumber(control, PROPID_ACC_ROLE, ROLE_SYSTEM_WHITESPACE);
        given |= SetNumber(control, PROPID_ACC_STATE, STATE_SYSTEM_INVISIBLE);
    } else if (described.Kind == form::ControlKind::Drawing) {
        given |= SetNumber(control, PROPID_ACC_ROLE, ROLE_SYSTEM_GRAPHIC);
    } else if (described.StatusLine) {
        // A screen reader's command for the status bar finds it too.
        given |= SetNumber(control, PROPID_ACC_ROLE, ROLE_SYSTEM_STATUSBAR);
        given |= SetNumber(control, kLiveSetting, kPolite);
    }
    // A control with neither keeps the name of its text: a caption that changes (the status
    // line) is named by what it shows now.
    given |= SetString(control, PROPID_ACC_NAME, Widen(form::SpokenName(form, described)));
    given |= SetString(control, PROPID_ACC_DESCRIPTION, Widen(described.AccessibleDescription));
    if (given) {
        given_.push_back(control);
    }
}

void ScreenReaderAnnotations::TakeBack() {
    const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_ROLE,
                                     PROPID_ACC_STATE, kLiveSetting};
    for (HWND control : given_) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  properties, static_cast<int>(std::size(properties)));
    }
    given_.clear();
}

} // namespace kelbrin::win32
