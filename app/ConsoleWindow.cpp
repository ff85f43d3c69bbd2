#include "app/ConsoleWindow.h"

#include "common/DisplayText.h"

namespace kelbrin {

void ConsoleWindow::WriteLine(std::FILE* stream, const std::string& text) {
    const std::string shown = DisplayText(text) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stream);
}

void ConsoleWindow::SetStatus(const std::string& text) {
    lastStatus_ = text;
    WriteLine(out_, text);
}

void ConsoleWindow::ShowMD5(const std::string& digest) {
    WriteLine(out_, "MD5: " + digest);
}

void ConsoleWindow::ShowMessageBox(const std::string& message, const std::string&, MessageBoxIcon) {
    std::string text;
    text.reserve(message.size() + 1);
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
            continue;
        }
        text += message[i];
    }
    // Standard output is flushed first, so that both streams read in order when they
    // share a terminal or a file.
    std::fflush(out_);
    WriteLine(err_, text + "\n");
    std::fflush(err_);
}

} // namespace kelbrin
