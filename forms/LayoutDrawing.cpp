#include "LayoutDrawing.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "NumberText.h"

namespace kelbrin::form {

namespace {

// A label's height: one line of a small font, with room to spare.
constexpr std::int32_t kLine = 210;
constexpr std::int32_t kMargin = 90;
// Room for seven hex digits, the longest address, left of the strip.
constexpr std::int32_t kStripLeft = 900;
constexpr std::int32_t kStripWidth = 720;
// Two pixels: a replaced byte in a large image still shows.
constexpr std::int32_t kLeastMark = 30;
constexpr std::int32_t kPixel = 15;
// A REPLACE row lists this many of its bytes beside the strip, else counts them.
constexpr std::size_t kBytesListed = 3;

std::string SourceText(const LayoutRow& row) {
    switch (row.From) {
    case LayoutRow::Source::Copy: return "from " + ScriptHex(static_cast<std::uint64_t>(row.Value));
    case LayoutRow::Source::Fill: return "fill " + ByteHex(static_cast<std::uint8_t>(row.Value));
    case LayoutRow::Source::Replace: break;
    }
    if (row.End - row.Start > static_cast<std::int64_t>(kBytesListed)) {
        return "replace " + std::to_string(row.End - row.Start) + " bytes";
    }
    std::string text = "replace";
    for (const std::uint8_t byte : row.Bytes) {
        text.append(" ").append(ByteHex(byte));
    }
    return text;
}

// Labels down one side of the strip, each placed only where it keeps clear of the others.
class LabelColumn {
public:
    // `lowest`: the lowest centre the column allows.
    LabelColumn(Drawing& drawing, std::int32_t left, std::int32_t width, TextAlign align,
                Colour ink, std::int32_t lowest)
        : drawing_(drawing), left_(left), width_(width), align_(align), ink_(ink), lowest_(lowest) {
    }

    // Puts the label centred at `centre` if it has room there.
    void Offer(std::int32_t centre, const std::string& text) {
        const bool clear = std::ranges::all_of(
            centres_, [centre](std::int32_t other) { return std::abs(centre - other) >= kLine; });
        if (clear && centre <= lowest_) {
            Put(centre, text);
        }
    }
    void Put(std::int32_t centre, const std::string& text) {
        drawing_.Labels.push_back({{left_, centre - kLine / 2, width_, kLine}, text, ink_, align_});
        centres_.push_back(centre);
    }

private:
    Drawing& drawing_;
    std::int32_t left_;
    std::int32_t width_;
    TextAlign align_;
    Colour ink_;
    std::int32_t lowest_;
    // One a line's height at most: as many as the strip has room for.
    std::vector<std::int32_t> centres_;
};

void DrawLegend(Drawing& drawing, std::int32_t top, std::int32_t width, Colour ink) {
    constexpr std::int32_t kSwatch = 300;
    const std::int32_t swatchTop = kLine / 2 - 60;
    struct Entry {
        const char* Text;
        Colour First;
        Colour Second;
    };
    const Entry entries[] = {{"copied from the original", kCopiedColours[0], kCopiedColours[1]},
                             {"filled with one byte", kFilledColour, kFilledColour},
                             {"replaced bytes", kReplacedColour, kReplacedColour}};
    for (const Entry& entry : entries) {
        drawing.Boxes.push_back({{kMargin, top + swatchTop, kSwatch / 2, 120}, entry.First, {}});
        drawing.Boxes.push_back(
            {{kMargin + kSwatch / 2, top + swatchTop, kSwatch / 2, 120}, entry.Second, {}});
        drawing.Boxes.push_back({{kMargin, top + swatchTop, kSwatch, 120}, {}, ink});
        drawing.Labels.push_back(
            {{kMargin + kSwatch + kMargin, top, width - kSwatch - 3 * kMargin, kLine},
             entry.Text,
             ink,
             TextAlign::Left});
        top += kLine;
    }
}

} // namespace

Drawing DrawLayout(const ImageLayout& layout, std::int32_t width, std::int32_t height, Colour ink) {
    Drawing drawing;
    const std::int32_t legendTop = height - kMargin - 3 * kLine;
    const std::int32_t top = kMargin + kLine / 2;
    const std::int32_t bottom = legendTop - kMargin - kLine / 2;
    const std::int64_t span = bottom - top;
    std::int64_t end = 0;
    for (const LayoutRow& row : layout.Rows) {
        end = std::max(end, row.End);
    }
    const auto y = [&](std::int64_t address) {
        return static_cast<std::int32_t>(top + (end == 0 ? 0 : address * span / end));
    };

    // The image's first address and its end are labelled whatever the rows between them.
    LabelColumn addresses(drawing, kMargin, kStripLeft - 2 * kMargin, TextAlign::Right, ink,
                          bottom);
    addresses.Put(bottom, ScriptHex(static_cast<std::uint64_t>(end)));
    if (!layout.Rows.empty()) {
        addresses.Put(top, ScriptHex(static_cast<std::uint64_t>(layout.Rows.front().Start)));
    }
    const std::int32_t sourcesLeft = kStripLeft + kStripWidth + kMargin;
    LabelColumn sources(drawing, sourcesLeft, width - sourcesLeft - kMargin, TextAlign::Left, ink,
                        bottom);
    std::vector<DrawnBox> bands;
    bands.reserve(layout.Rows.size());
    std::vector<DrawnBox> under;
    std::optional<Colour> lastFill;
    std::size_t copyLines = 0;
    std::int32_t lastCopyLine = 0;
    for (const LayoutRow& row : layout.Rows) {
        std::int32_t bandTop = y(row.Start);
        std::int32_t bandHeight = y(row.End) - bandTop;
        Colour fill = kFilledColour;
        if (row.From == LayoutRow::Source::Copy) {
            // The parts of one COPY line that a REPLACE splits keep one shade.
            if (copyLines == 0 || row.Line != lastCopyLine) {
                ++copyLines;
                lastCopyLine = row.Line;
            }
            fill = kCopiedColours[(copyLines - 1) % 2];
        } else if (row.From == LayoutRow::Source::Replace) {
            fill = kReplacedColour;
            if (bandHeight < kLeastMark) {
                // The range the REPLACE lies in goes on under it, so that no sliver of the
                // strip is left empty where the mark does not reach.
                if (bandHeight > 0 && lastFill) {
                    under.push_back({{kStripLeft, bandTop, kStripWidth, bandHeight}, lastFill, {}});
                }
                // A mark, taller than its bytes and over the right half only: many of them
                // close together leave the bands they lie in showing.
                bandTop = std::clamp(bandTop + bandHeight / 2 - kLeastMark / 2, top + kPixel,
                                     bottom - kPixel - kLeastMark);
                bands.push_back(
                    {{kStripLeft + kStripWidth / 2, bandTop, kStripWidth / 2, kLeastMark},
                     fill,
                     {}});
                continue;
            }
        }
        bands.push_back({{kStripLeft, bandTop, kStripWidth, bandHeight}, fill, {}});
        lastFill = fill;
    }
    drawing.Boxes = std::move(under);
    // A mark is taller than its bytes: it lies over the bands around it, not under them.
    for (const bool replaced : {false, true}) {
        for (std::size_t i = 0; i < bands.size(); ++i) {
            if ((layout.Rows[i].From == LayoutRow::Source::Replace) == replaced) {
                drawing.Boxes.push_back(bands[i]);
            }
        }
    }
    // Replaced bytes are few and easily lost in a large image: their labels go first, then
    // the others' where room is left.
    for (const bool replaced : {true, false}) {
        for (std::size_t i = 0; i < layout.Rows.size(); ++i) {
            const LayoutRow& row = layout.Rows[i];
            if ((row.From == LayoutRow::Source::Replace) != replaced) {
                continue;
            }
            const DrawnBox& band = bands[i];
            addresses.Offer(y(row.Start), ScriptHex(static_cast<std::uint64_t>(row.Start)));
            sources.Offer(band.At.Top + band.At.Height / 2, SourceText(row));
        }
    }
    if (end == 0) {
        sources.Put(top + kLine / 2, "nothing built");
    }
    drawing.Boxes.push_back({{kStripLeft, top, kStripWidth, bottom - top}, {}, ink});
    DrawLegend(drawing, legendTop, width, ink);
    return drawing;
}

} // namespace kelbrin::form
