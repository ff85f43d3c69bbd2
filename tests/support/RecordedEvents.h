#pragma once

#include <string>
#include <vector>

#include "FormEvents.h"
#include "FormPort.h"
#include "InfoForm.h"

namespace kelbrin::test {

// What a window tells its form's handlers, in order: "click:<control>", "choose:<item>",
// "drop:<path>", "close", for the tests of a toolkit's host.
struct RecordedEvents : FormEvents {
    // The form whose window tells them.
    const form::Form* Form = nullptr;
    std::vector<std::string> Log;
    bool MayClose = true;
    void Click(form::ControlId control) override {
        Log.push_back("click:" + std::string(form::ControlOf(*Form, control).Name));
    }
    void Choose(form::MenuId item) override {
        Log.push_back("choose:" + std::string(form::MenuItemOf(*Form, item).Name));
    }
    void DragDrop(const std::string& path) override { Log.push_back("drop:" + path); }
    bool QueryClose() override {
        Log.push_back("close");
        return MayClose;
    }
};

// Also closes its window when its Close button is pressed, as frmInfo does.
struct ClosingEvents : RecordedEvents {
    FormPort* Port = nullptr;
    void Click(form::ControlId control) override {
        RecordedEvents::Click(control);
        if (control == form::frmInfo::cmdClose) {
            Port->Close();
        }
    }
};

} // namespace kelbrin::test
