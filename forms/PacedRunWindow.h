#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "Desktop.h"
#include "FormPort.h"
#include "RunWindow.h"

namespace kelbrin {

// How often a run shows its status and lets window events through: a screen refresh. Nobody
// can tell a status painted or a click handled within one from one handled at once, and doing
// either once per directive line would cost several times the run itself.
inline constexpr std::chrono::milliseconds kScreenRefresh{16};

// The window a run reports to: the status line and the MD5 row of the main window's port, and
// message boxes over it. A status change shows at most once a screen refresh, and always
// before a box and when the run is over (this object goes); window events are let through on
// the same clock, from the run's first moment on, so the user can still act while it runs.
// The run's first status, which says that it has begun, and its last, which says how it ended,
// show at once and are announced to screen readers; those between are only shown.
class PacedRunWindow final : public RunWindow {
public:
    PacedRunWindow(FormPort& port, Desktop& desktop) : port_(port), desktop_(desktop) {}
    ~PacedRunWindow() override;
    PacedRunWindow(const PacedRunWindow&) = delete;
    PacedRunWindow& operator=(const PacedRunWindow&) = delete;

    void SetStatus(const std::string& text) override;
    void ShowMD5(const std::string& digest) override;
    void HideMD5() override;
    void LetEventsRun() override;
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;

private:
    void ShowStatus();
    void AnnounceStatus();

    FormPort& port_;
    Desktop& desktop_;
    std::string status_;
    bool statusShown_ = true;
    // The run has set a status, and the one it set last has been announced.
    bool begun_ = false;
    bool statusAnnounced_ = false;
    // Nothing yet: the run's first moment lets events through.
    std::optional<std::chrono::steady_clock::time_point> lastEvents_;
};

} // namespace kelbrin
