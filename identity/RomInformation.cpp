#include "RomInformation.h"

#include <algorithm>
#include <cctype>

#include "FolderPaths.h"

namespace kelbrin {

namespace {

// The box shows about 70 characters of its fixed-pitch font beside the scroll bar; prose wraps
// a little short of that, so that neither front end wraps it again.
constexpr std::size_t kProseWidth = 66;
// Labels and values line up in two columns.
constexpr std::size_t kLabelWidth = 8;

std::string Wrapped(const std::string& prose) {
    std::string text;
    std::size_t lineStart = 0;
    std::size_t start = 0;
    while (start < prose.size()) {
        std::size_t end = prose.find(' ', start);
        if (end == std::string::npos) {
            end = prose.size();
        }
        if (text.size() > lineStart) {
            if (text.size() - lineStart + 1 + (end - start) > kProseWidth) {
                text += '\n';
                lineStart = text.size();
            } else {
                text += ' ';
            }
        }
        text.append(prose, start, end - start);
        start = end + 1;
    }
    return text;
}

std::string Row(const std::string& label, const std::string& value) {
    return label + std::string(kLabelWidth - label.size(), ' ') + value + "\n";
}

std::string Bytes(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string Checksums(const std::string& heading, const Digests& digests) {
    return heading + "\n" + Row("CRC32", digests.Crc32) + Row("MD5", digests.MD5) +
           Row("SHA-1", digests.SHA1);
}

bool SameLettersIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

} // namespace

std::string IdentityVerdict(const OriginalIdentity& identity) {
    const ScriptHead& head = identity.Head;
    if (identity.Fit == LengthFit::Neither) {
        std::string verdict = "This file is " + Bytes(head.OriginalLength) +
                              "; the patch expects " + std::to_string(head.OriginalSize);
        if (head.HeaderSize != 0) {
            verdict += ", or " + std::to_string(std::int64_t{head.OriginalSize} + head.HeaderSize) +
                       " with a header";
        }
        return verdict + ".";
    }
    const std::string& expected = head.ExpectedMD5;
    const std::string& actual = identity.Digests.Image.MD5;
    if (expected.empty()) {
        return "Your ROM has the size the patch expects. The patch gives no checksum, so "
               "whether it is the right revision and region cannot be told.";
    }
    if (expected == actual) {
        return "This is the ROM the patch expects.";
    }
    // A run compares the checksum exactly as the script writes it.
    if (SameLettersIgnoringCase(expected, actual)) {
        return "This is the ROM the patch expects. Its Kelbrin.txt writes the checksum in lower "
               "case, so expanding it will still warn that the checksum differs.";
    }
    return "Your ROM's checksum differs from the one the patch expects: it is another revision "
           "or region, or it was changed.";
}

std::string RomInformation(const OriginalIdentity& identity) {
    const ScriptHead& head = identity.Head;
    std::string text = Wrapped(IdentityVerdict(identity)) + "\n\n";
    text += Row("Folder", PathText(identity.Folder));
    text += Row("ROM", head.OriginalName);
    text += Row("Length", Bytes(head.OriginalLength));
    if (identity.Fit == LengthFit::Neither) {
        return text + "\n" +
               Checksums("Checksums of the whole file, to look it up in a ROM list:",
                         identity.WholeFile());
    }
    text += Row("Header", identity.HasHeader() ? Bytes(head.HeaderSize) : "none");
    text += "\n";
    if (identity.HasHeader()) {
        text += Checksums("Checksums without the header, as ROM lists give them:",
                          identity.Digests.Image);
        text += "\n";
        text += Checksums("Checksums of the whole file:", identity.WholeFile());
    } else {
        text += Checksums("Checksums, as ROM lists give them:", identity.Digests.Image);
    }
    text += "\nFor patch authors, the SIZE line with this ROM's checksum:\n";
    return text + SizeLine(identity) + "\n";
}

} // namespace kelbrin
