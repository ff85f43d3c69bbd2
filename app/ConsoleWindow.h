#pragma once

#include <cstdio>
#include <string>

#include "engine/RunWindow.h"

namespace kelbrin {

// The run's window on a terminal: status texts and the MD5 row go to standard output, one
// line each; message boxes go to standard error as their text followed by an empty line,
// and need no one to close them.
class ConsoleWindow : public RunWindow {
public:
    ConsoleWindow(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

    void SetStatus(const std::string& text) override;
    void ShowMD5(const std::string& digest) override;
    void HideMD5() override {}
    void LetEventsRun() override {}
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;

    const std::string& LastStatus() const noexcept { return lastStatus_; }

private:
    void WriteLine(std::FILE* stream, const std::string& text);

    std::FILE* out_;
    std::FILE* err_;
    std::string lastStatus_;
};

} // namespace kelbrin
