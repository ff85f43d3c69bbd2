#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kelbrin::form {

// A button's caption as lines that fit `width`, joined by "\n". A caption that fits stays one
// line, as written. One that does not breaks only at blanks (never after a "/"): first at each
// run of two or more blanks, which is how a caption says where its line should end ("Expand
// and   Add/Replace Header"), then at single blanks where a line is still too wide. The blanks
// at a break are not drawn, so a wrapped caption shows no gap, on any screen: how far the words
// reach would otherwise decide whether the run breaks the line or shows in its middle. A word
// wider than `width` keeps a line of its own. `widthOf` measures a piece of text.
template <typename Char, typename WidthOf>
std::basic_string<Char> CaptionLines(std::basic_string_view<Char> caption, const WidthOf& widthOf,
                                     int width) {
    using Text = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;
    constexpr Char kBlank = ' ';
    if (widthOf(caption) <= width) {
        return Text(caption);
    }
    // The words of each piece between runs of blanks.
    std::vector<std::vector<View>> pieces(1);
    for (std::size_t at = 0; at < caption.size();) {
        const std::size_t wordEnd = std::min(caption.find(kBlank, at), caption.size());
        if (wordEnd > at) {
            pieces.back().push_back(caption.substr(at, wordEnd - at));
        }
        std::size_t next = wordEnd;
        while (next < caption.size() && caption[next] == kBlank) {
            ++next;
        }
        if (next - wordEnd > 1 && !pieces.back().empty()) {
            pieces.emplace_back();
        }
        at = next;
    }
    Text lines;
    for (const std::vector<View>& words : pieces) {
        Text line;
        for (const View word : words) {
            Text longer = line.empty() ? Text(word) : line + kBlank + Text(word);
            if (!line.empty() && widthOf(View(longer)) > width) {
                lines += line + Char('\n');
                longer = Text(word);
            }
            line = std::move(longer);
        }
        if (!line.empty()) {
            lines += line + Char('\n');
        }
    }
    if (!lines.empty()) {
        lines.pop_back();
    }
    return lines;
}

} // namespace kelbrin::form
