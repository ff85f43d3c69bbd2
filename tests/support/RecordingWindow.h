#pragma once

#include <functional>
#include <string>
#include <vector>

#include "RunWindow.h"

namespace kelbrin::test {

// A run's window that writes down everything the run does to it, in order:
//   "status:<text>", "md5:<digest>", "hide-md5", "events",
//   "box:<title>:<stop|none>:<message>".
class RecordingWindow : public RunWindow {
public:
    void SetStatus(const std::string& text) override { Log.push_back("status:" + text); }
    void ShowMD5(const std::string& digest) override { Log.push_back("md5:" + digest); }
    void HideMD5() override { Log.push_back("hide-md5"); }
    void LetEventsRun() override {
        Log.push_back("events");
        if (OnEvents) {
            OnEvents();
        }
    }
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override {
        Boxes.push_back(message);
        Log.push_back("box:" + title + ":" + (icon == MessageBoxIcon::Stop ? "stop" : "none") +
                      ":" + message);
        if (OnBox) {
            OnBox();
        }
    }

    // The status texts alone, in order.
    std::vector<std::string> Statuses() const;
    // The last status text, or empty when none was set.
    std::string LastStatus() const;

    std::vector<std::string> Log;
    std::vector<std::string> Boxes;
    // Runs inside the run, each time it lets window events through.
    std::function<void()> OnEvents;
    // Runs while a box is on show.
    std::function<void()> OnBox;
};

} // namespace kelbrin::test
