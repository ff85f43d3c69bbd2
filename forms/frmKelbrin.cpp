#include "frmKelbrin.h"

#include <utility>

#include "Expand.h"

namespace kelbrin {

frmKelbrin::frmKelbrin(KelbrinWindowPort& window, std::string programDirectory)
    : window_(window), programDirectory_(std::move(programDirectory)) {}

RunResult frmKelbrin::Expand(std::int16_t Index) {
    return kelbrin::Expand(Index, programDirectory_, window_);
}

void frmKelbrin::cmdExpand_Click(std::int16_t Index) {
    // The controls are locked, but a click queued before that could still arrive.
    if (running_) {
        return;
    }
    running_ = true;
    EnableExpandControls(false);
    lastRun_ = Expand(Index);
    window_.RunEnded();
    EnableExpandControls(true);
    running_ = false;
    // The button lost the focus when it was locked; a keyboard user carries on from it.
    window_.GiveFocus(form::ExpandButton(Index));
}

void frmKelbrin::mnuFile_Expand_Click(std::int16_t Index) {
    cmdExpand_Click(Index);
}

void frmKelbrin::EnableExpandControls(bool Enable) {
    for (std::int16_t i = 0; i < 2; ++i) {
        window_.SetEnabled(form::ExpandMenuItem(i), Enable);
        window_.SetEnabled(form::ExpandButton(i), Enable);
    }
}

void frmKelbrin::mnuFile_Exit_Click() {
    if (running_) {
        // The run is abandoned where it stands. It lets events through only between directive
        // lines, when every byte it wrote has reached the file.
        window_.EndProgram();
        return;
    }
    window_.Quit();
}

void frmKelbrin::mnuHelp_HowTo_Click() {
    window_.ShowHowToWindow();
}

void frmKelbrin::mnuHelp_About_Click() {
    window_.ShowAboutBox(form::AboutText(window_.Caption(form::ControlId::lblTitle0),
                                         window_.Caption(form::ControlId::lblTitle1)));
}

bool frmKelbrin::QueryClose() {
    if (running_) {
        window_.EndProgram();
    }
    return true;
}

} // namespace kelbrin
