#include "RecordingWindow.h"

namespace kelbrin::test {

std::vector<std::string> RecordingWindow::Statuses() const {
    std::vector<std::string> statuses;
    for (const std::string& entry : Log) {
        if (entry.starts_with("status:")) {
            statuses.push_back(entry.substr(7));
        }
    }
    return statuses;
}

std::string RecordingWindow::LastStatus() const {
    const auto statuses = Statuses();
    return statuses.empty() ? std::string() : statuses.back();
}

} // namespace kelbrin::test
