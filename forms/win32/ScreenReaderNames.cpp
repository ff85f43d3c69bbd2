#include "ScreenReaderNames.h"

#include <string>

#include "AnsiText.h"

namespace kelbrin::win32 {

ScreenReaderNames::ScreenReaderNames() {
    // Without COM on this thread, or without the service, there is nothing to give names with.
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
    }
}

ScreenReaderNames::~ScreenReaderNames() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

void ScreenReaderNames::Give(HWND control, const form::Control& described) {
    if (services_ == nullptr) {
        return;
    }
    bool given = false;
    // A control with neither keeps the name of its text: a caption that changes (the status
    // line) is heard as it changes.
    if (std::wstring name = Widen(form::SpokenName(described)); !name.empty()) {
        given |= SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                     CHILDID_SELF, PROPID_ACC_NAME, name.data()));
    }
    if (std::wstring description = Widen(described.AccessibleDescription); !description.empty()) {
        given |= SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                     CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                                                     description.data()));
    }
    if (given) {
        given_.push_back(control);
    }
}

void ScreenReaderNames::TakeBack() {
    const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    for (HWND control : given_) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  properties, 2);
    }
    given_.clear();
}

} // namespace kelbrin::win32
