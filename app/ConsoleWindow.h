#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "RunWindow.h"

namespace kelbrin {

// The run's window on a terminal: status texts and the MD5 row go to standard output, one
// line each; message boxes go to standard error as their text followed by an empty line,
// and need no one to close them. A stream that shows on a terminal gets the script's control
// characters escaped (TerminalText); into a file or a pipe the text goes as it is. A stream
// that cannot be written (a reader that went away, a full disk) never stops the run: that part
// of the report is lost, and the stream's error indicator tells the caller so afterwards.
class ConsoleWindow : public RunWindow {
public:
    ConsoleWindow(std::FILE* out, std::FILE* err);

    void SetStatus(const std::string& text) override;
    void ShowMD5(const std::string& digest) override;
    void HideMD5() override {}
    void LetEventsRun() override {}
    void ShowMessageBox(const std::string& message, const std::string& title,
                        MessageBoxIcon icon) override;

private:
    // Writes `text` as a terminal shows it: script bytes as UTF-8, each CR LF as LF. A message
    // may quote a script line of any length, so it goes out piece by piece, never copied whole.
    void Write(std::FILE* stream, std::string_view text) const;

    std::FILE* out_;
    std::FILE* err_;
    bool outIsTerminal_;
    bool errIsTerminal_;
};

} // namespace kelbrin
