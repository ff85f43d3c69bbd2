#include "ConsoleWindow.h"

#include "DisplayText.h"
#include "Terminal.h"
#include "TerminalText.h"

namespace kelbrin {

ConsoleWindow::ConsoleWindow(std::FILE* out, std::FILE* err)
    : out_(out), err_(err), outIsTerminal_(IsTerminal(out)), errIsTerminal_(IsTerminal(err)) {}

void ConsoleWindow::Write(std::FILE* stream, std::string_view text) const {
    const auto write = [stream](std::string_view bytes) {
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
    };
    const bool terminal = stream == out_ ? outIsTerminal_ : errIsTerminal_;
    const auto put = [&](std::string_view bytes) {
        if (terminal) {
            PutTerminalText(bytes, write);
        } else {
            write(bytes);
        }
    };
    // A CR whose LF may still come at the start of the next piece.
    bool carriageReturn = false;
    PutDisplayText(text, [&](std::string_view piece) {
        if (carriageReturn && !piece.starts_with('\n')) {
            put("\r");
        }
        carriageReturn = false;
        for (;;) {
            const std::size_t cr = piece.find('\r');
            put(piece.substr(0, cr));
            if (cr == std::string_view::npos) {
                return;
            }
            piece.remove_prefix(cr + 1);
            if (piece.empty()) {
                carriageReturn = true;
                return;
            }
            if (piece.front() != '\n') {
                put("\r");
            }
        }
    });
    if (carriageReturn) {
        put("\r");
    }
}

void ConsoleWindow::SetStatus(const std::string& text) {
    Write(out_, text);
    Write(out_, "\n");
}

void ConsoleWindow::ShowMD5(const std::string& digest) {
    Write(out_, "MD5: ");
    Write(out_, digest);
    Write(out_, "\n");
}

void ConsoleWindow::ShowMessageBox(const std::string& message, const std::string&, MessageBoxIcon) {
    // Standard output is flushed first, so that both streams read in order when they
    // share a terminal or a file.
    std::fflush(out_);
    Write(err_, message);
    Write(err_, "\n\n");
    std::fflush(err_);
}

} // namespace kelbrin
