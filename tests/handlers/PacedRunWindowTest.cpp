// A run's window: its status changes reach the status line at most once a screen refresh, and
// always before a box and at the run's end; window events are let through on the same clock.

#include "PacedRunWindow.h"

#include <chrono>
#include <cstdio>

#include "MainForm.h"

namespace kelbrin::test {
namespace {

using namespace std::chrono_literals;

// A window's handlers that nothing reaches here.
struct NoHandlers : FormEvents {
    void Click(form::ControlId) override {}
};

TEST(RunWindow, StatusShowsAtMostOnceAScreenRefreshAlwaysBeforeABoxAndAtTheEnd) {
    struct Step {
        const char* Name;
        std::chrono::milliseconds Later; // the clock moves on by this first
        const char* Status;              // set by the run; nullptr: none
        bool Events;                     // the run's moment for events
        bool Box;
        const char* Shown; // the status line afterwards
        int EventMoments;  // how many moments let events through so far
    };
    const std::vector<Step> steps{
        {"the run's first moment", 0ms, "line 4", true, false, "line 4", 1},
        {"within a refresh", 0ms, "line 5", true, false, "line 4", 1},
        {"still within it", 15ms, "line 6", true, false, "line 4", 1},
        {"a refresh on", 1ms, nullptr, true, false, "line 6", 2},
        {"a box", 0ms, "line 7", false, true, "line 7", 2},
        {"a refresh on, nothing new", 16ms, nullptr, true, false, "line 7", 3},
        {"just set", 0ms, "Expansion Done", false, false, "line 7", 3},
    };
    FakeDesktop desktop;
    NoHandlers handlers;
    const auto port = desktop.OpenForm(form::KelbrinForm(), handlers, nullptr);
    port->Show();
    std::vector<std::string> shownAtBoxes;
    desktop.OnBox = [&](const SeenBox&) {
        shownAtBoxes.push_back(port->Caption(form::frmKelbrin::lblStatus));
    };
    {
        PacedRunWindow window(*port, desktop);
        for (const Step& step : steps) {
            SCOPED_TRACE(step.Name);
            desktop.Clock += step.Later;
            if (step.Status != nullptr) {
                window.SetStatus(step.Status);
            }
            if (step.Events) {
                window.LetEventsRun();
            }
            if (step.Box) {
                window.ShowMessageBox("message", "Error", MessageBoxIcon::Stop);
            }
            EXPECT_EQ(port->Caption(form::frmKelbrin::lblStatus), step.Shown);
            EXPECT_EQ(desktop.EventMoments, step.EventMoments);
        }
    }
    EXPECT_EQ(shownAtBoxes, std::vector<std::string>{"line 7"});
    // The run is over.
    EXPECT_EQ(port->Caption(form::frmKelbrin::lblStatus), "Expansion Done");
}

// Wherever the focus is, a screen reader hears that a run has begun and how it ended, and
// none of the lines between, which show all the same.
TEST(RunWindow, AnnouncesTheRunsFirstStatusAndHowItEndedNothingBetween) {
    struct RunCase {
        const char* Name;
        std::string SizeLine;
        std::vector<std::string> More;
        std::int16_t Button;
        std::vector<std::string> Announced;
    };
    const std::vector<RunCase> cases{
        {"with the header", kSizeLine, {"FILL\t1\t0"}, 0, {"Writing Header", "Expansion Done"}},
        {"without", kSizeLine, {"FILL\t1\t0"}, 1, {"No Header", "Expansion Done"}},
        {"failing on a line", kSizeLine, {"FIL"}, 1, {"No Header", "Ended due to Error"}},
        {"failing before its first status", "SIZE\tZZ\t8", {}, 1, {"Ended due to Error"}},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.Name);
        MainForm on({.Portable = true});
        WriteGame(on.ProgramFolder, c.SizeLine, c.More);
        // Every line shows.
        on.Desktop.Tick = kScreenRefresh;
        on.Press(c.Button);
        EXPECT_EQ(on.Window().Of(form::frmKelbrin::lblStatus).Announced, c.Announced);
    }
}

TEST(RunWindow, RunLetsEventsThroughOnTheClockNotOncePerLine) {
    // 201 directive lines: the run offers the window a moment for events at each, and once
    // more where the script ends.
    std::vector<std::string> lines;
    for (int i = 1; i <= 200; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "FILL\t%X\t0", 8 + i);
        lines.push_back(line);
    }
    struct ClockCase {
        std::chrono::milliseconds Tick;
        int EventMoments;
    };
    for (const ClockCase& c : {ClockCase{0ms, 1}, ClockCase{8ms, 101}, ClockCase{16ms, 202}}) {
        SCOPED_TRACE(c.Tick.count());
        MainForm on({.Portable = true});
        WriteGame(on.ProgramFolder, "SIZE\t40\tD1", lines);
        on.Desktop.Tick = c.Tick;
        on.Press(1);
        ASSERT_EQ(on.Status(), "Expansion Done");
        EXPECT_EQ(on.Desktop.EventMoments, c.EventMoments);
    }
}

} // namespace
} // namespace kelbrin::test
