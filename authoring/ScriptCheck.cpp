#include "ScriptCheck.h"

#include <algorithm>
#include <cstdio>

#include "Expand.h"
#include "NumberText.h"
#include "UnseenWindow.h"

namespace kelbrin {

namespace {

// A REPLACE row or a header shows this many of its bytes, then their count.
constexpr std::size_t kBytesShown = kReplaceBytesKept;

ButtonVerdict Rehearsed(HeaderChoice choice, const std::string& folder, ImageLayout* layout,
                        ChecksumMemo& checksums, const std::string& original) {
    NoImageOutput nowhere;
    UnseenWindow window;
    ButtonVerdict verdict{choice, {}, {}};
    ScriptSource script;
    script.Original = original;
    verdict.Ending = Rehearse(choice, folder, window,
                              {nowhere, layout, script, &checksums, ExpandedFileUse::Prove});
    if (verdict.Ending.MD5WarningShown) {
        verdict.MismatchedMD5 = window.Digest;
    }
    return verdict;
}

// The first of `count` bytes, which begin with `bytes`.
std::string ByteList(const std::vector<std::uint8_t>& bytes, std::int64_t count) {
    std::string list;
    for (std::size_t i = 0; i < bytes.size() && i < kBytesShown; ++i) {
        if (i != 0) {
            list += ' ';
        }
        list += ByteHex(bytes[i]);
    }
    if (count > static_cast<std::int64_t>(kBytesShown)) {
        list += " \u2026 (" + std::to_string(count) + " bytes)";
    }
    return list;
}

// A box's text with its lines ending in LF.
std::string WithLineFeeds(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') {
            lines += text[i];
        }
    }
    return lines;
}

std::string EndingLine(const RunResult& ending) {
    return ending.Done() ? "Expansion Done" : "Ended due to Error";
}

} // namespace

ScriptCheck CheckScript(const std::string& folder, const std::string& original) {
    ChecksumMemo checksums;
    ScriptCheck check;
    check.IgnoreOrRemove =
        Rehearsed(HeaderChoice::IgnoreOrRemove, folder, &check.WithoutHeader, checksums, original);
    check.AddOrReplace =
        Rehearsed(HeaderChoice::AddOrReplace, folder, &check.WithHeader, checksums, original);
    check.Notes = NotesOnScript(folder);
    if (!check.IgnoreOrRemove.MismatchedMD5.empty()) {
        check.Notes.push_back({2, "your original's MD5 is " + check.IgnoreOrRemove.MismatchedMD5 +
                                      ", not the checksum on this line: a run warns players "
                                      "that their patched ROM will differ, then expands"});
        std::stable_sort(check.Notes.begin(), check.Notes.end(),
                         [](const ScriptNote& a, const ScriptNote& b) { return a.Line < b.Line; });
    }
    return check;
}

bool ScriptCheck::Passes() const {
    // Where the other run ends done, the Add/Replace run came as far as the header too: a
    // declared size of 0 is then the one reason it is refused for.
    return IgnoreOrRemove.Ending.Done() &&
           (AddOrReplace.Ending.Done() || WithHeader.HeaderSize == 0);
}

std::string_view ButtonName(HeaderChoice choice) {
    return choice == HeaderChoice::AddOrReplace ? "Expand and Add/Replace Header"
                                                : "Expand and Ignore/Remove Header";
}

std::string CheckReport(const ScriptCheck& check) {
    const ButtonVerdict& add = check.AddOrReplace;
    const ButtonVerdict& ignore = check.IgnoreOrRemove;
    // Refused as players are told to expect: the script declares no header.
    const bool addRefusedByDesign = check.Passes() && !add.Ending.Done();
    std::string report;
    if (check.Passes()) {
        report += addRefusedByDesign
                      ? "Fit to ship: this kind of ROM has no header, so players press " +
                            std::string(ButtonName(ignore.Choice)) + ", which expands the ROM, " +
                            "and " + std::string(ButtonName(add.Choice)) + " tells them to.\n"
                      : "Fit to ship: both buttons expand the ROM.\n";
    } else if (!add.Ending.Done() && !ignore.Ending.Done()) {
        report += "Not fit to ship: both buttons end in an error.\n";
    } else {
        report.append("Not fit to ship: ")
            .append(ButtonName(add.Ending.Done() ? ignore.Choice : add.Choice))
            .append(" ends in an error.\n");
    }
    // What to mend comes before what the runs show.
    for (const ScriptNote& note : check.Notes) {
        report += NoteLine(note) + "\n";
    }
    report += "\n";
    if (!add.Ending.Done() && !ignore.Ending.Done() &&
        add.Ending.BoxText == ignore.Ending.BoxText) {
        return report + "Both buttons: Ended due to Error\n" + WithLineFeeds(add.Ending.BoxText) +
               "\n";
    }
    for (const ButtonVerdict* verdict : {&add, &ignore}) {
        report.append(ButtonName(verdict->Choice)).append(": ");
        if (verdict->Ending.Done()) {
            report += "Expansion Done\n";
        } else if (verdict == &add && addRefusedByDesign) {
            report += "refused, as it should be for a ROM without a header\n";
        } else {
            report += "Ended due to Error\n" + WithLineFeeds(verdict->Ending.BoxText) + "\n\n";
        }
    }
    return report;
}

std::string LayoutReport(const ScriptCheck& check) {
    const ImageLayout& header = check.WithHeader;
    const RunResult& ending = check.IgnoreOrRemove.Ending;
    std::string report = "header: ";
    if (header.HeaderWritten) {
        report += std::to_string(header.HeaderSize) + " bytes";
        if (!header.HeaderBytes.empty()) {
            report += ", " + ByteList(header.HeaderBytes,
                                      static_cast<std::int64_t>(header.HeaderBytes.size()));
        }
        const auto zeros = static_cast<std::int64_t>(header.HeaderSize) -
                           static_cast<std::int64_t>(header.HeaderBytes.size());
        if (zeros > 0) {
            report += (header.HeaderBytes.empty() ? ", " : ", then ") + std::to_string(zeros) +
                      " \u00D7 00";
        }
    } else if (header.HeaderSize != 0) {
        report += std::to_string(header.HeaderSize) + " bytes declared, but " +
                  std::string(ButtonName(HeaderChoice::AddOrReplace)) + " ends in an error:\n" +
                  WithLineFeeds(check.AddOrReplace.Ending.BoxText);
    } else {
        report += "none";
    }
    report += "\n";
    for (const LayoutRow& row : check.WithoutHeader.Rows) {
        report += ScriptHex(row.Start) + "-" + ScriptHex(row.End - 1) + " ";
        switch (row.From) {
        case LayoutRow::Source::Copy: report += "copy from " + ScriptHex(row.Value); break;
        case LayoutRow::Source::Fill:
            report += "fill " + ByteHex(static_cast<std::uint8_t>(row.Value));
            break;
        case LayoutRow::Source::Replace:
            report += "replace " + ByteList(row.Bytes, row.End - row.Start);
            break;
        }
        report += "\n";
    }
    if (!ending.Done()) {
        report += EndingLine(ending) + "\n" + WithLineFeeds(ending.BoxText) + "\n";
    }
    return report;
}

std::string LayoutSummary(const ImageLayout& layout) {
    struct Tally {
        const char* Name;
        std::int64_t Rows = 0;
        std::int64_t Bytes = 0;
    };
    Tally tallies[] = {{"copied"}, {"filled"}, {"replaced"}};
    std::int64_t end = 0;
    for (const LayoutRow& row : layout.Rows) {
        Tally& tally = tallies[static_cast<int>(row.From)];
        ++tally.Rows;
        tally.Bytes += row.End - row.Start;
        end = std::max(end, row.End);
    }
    std::string summary = "image: " + ScriptHex(end) + " bytes";
    for (const Tally& tally : tallies) {
        summary += ", " + GroupedDecimal(tally.Bytes) + " " + tally.Name + " in " +
                   std::to_string(tally.Rows) + (tally.Rows == 1 ? " row" : " rows");
    }
    return summary;
}

} // namespace kelbrin
