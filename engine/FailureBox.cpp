#include "FailureBox.h"

#include <charconv>
#include <new>
#include <utility>

#include "ShowErrorBox.h"

namespace kelbrin {

namespace {

constexpr std::size_t kRoom = 4096;
constexpr std::size_t kShortenedContext = 2000;

} // namespace

FailureBox::FailureBox() {
    room_.reserve(kRoom);
}

std::string FailureBox::Show(const RunFailure& failure, RunWindow& window) noexcept {
    try {
        try {
            return ShowErrorBox(failure.Shown(), failure.FileName, failure.Error, window);
        } catch (const std::bad_alloc&) {
            return ShowShortened(failure, window);
        }
    } catch (...) {
        // Even the shortened box failed; the caller's status still tells how it ended.
        return {};
    }
}

std::string FailureBox::ShowShortened(const RunFailure& failure, RunWindow& window) {
    std::string& box = room_;
    box.clear();
    char number[16];
    const auto written = std::to_chars(number, number + sizeof number, failure.Error.Number());
    box.append("Error #").append(number, written.ptr).append(" -> ");
    box.append(failure.Error.Description(), 0, 100).append("\r\n\r\n");
    box.append(failure.Shown(), 0, kShortenedContext);
    if (failure.Shown().size() > kShortenedContext) {
        box.append(" ...");
    }
    window.ShowMessageBox(box, "Error", MessageBoxIcon::Stop);
    return std::move(box);
}

} // namespace kelbrin
