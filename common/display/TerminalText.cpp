#include "TerminalText.h"

#include <algorithm>

namespace kelbrin {

namespace {

bool IsControl(unsigned char c) {
    return (c < 0x20 && c != '\n' && c != '\t') || c == 0x7F;
}

void AppendEscaped(std::string& out, unsigned char c) {
    out += '\\';
    out += static_cast<char>('0' + (c >> 6));
    out += static_cast<char>('0' + ((c >> 3) & 7));
    out += static_cast<char>('0' + (c & 7));
}

void AppendTerminalText(std::string& shown, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // U+0080 to U+009F are C2 80 to C2 9F in UTF-8.
        const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if (c1) {
            AppendEscaped(shown, c);
            AppendEscaped(shown, static_cast<unsigned char>(utf8[++i]));
        } else if (IsControl(c)) {
            AppendEscaped(shown, c);
        } else {
            shown += static_cast<char>(c);
        }
    }
}

} // namespace

void PutTerminalText(std::string_view utf8, const std::function<void(std::string_view)>& put) {
    constexpr std::size_t kPieceBytes = 4096;
    std::string shown;
    shown.reserve(4 * (kPieceBytes + 1)); // each byte becomes at most four
    while (!utf8.empty()) {
        std::size_t take = std::min(kPieceBytes, utf8.size());
        // A C1 control's two bytes stay in one piece.
        if (take < utf8.size() && static_cast<unsigned char>(utf8[take - 1]) == 0xC2) {
            ++take;
        }
        shown.clear();
        AppendTerminalText(shown, utf8.substr(0, take));
        put(shown);
        utf8.remove_prefix(take);
    }
}

std::string TerminalText(std::string_view utf8) {
    std::string shown;
    PutTerminalText(utf8, [&shown](std::string_view piece) { shown.append(piece); });
    return shown;
}

} // namespace kelbrin
