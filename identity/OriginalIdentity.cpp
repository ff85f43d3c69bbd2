#include "OriginalIdentity.h"

#include <cstdio>

#include "ContextTexts.h"
#include "FailureBox.h"
#include "FolderPaths.h"
#include "NumberText.h"
#include "RuleMessages.h"
#include "RunFailure.h"
#include "TextInputFile.h"

namespace kelbrin {

namespace {

void AppendDigests(std::string& report, const std::string& what, const Digests& digests) {
    report += what + " CRC32: " + digests.Crc32 + "\n";
    report += what + " MD5: " + digests.MD5 + "\n";
    report += what + " SHA-1: " + digests.SHA1 + "\n";
}

OriginalIdentity Identify(const std::string& programDirectory, const std::string& original) {
    OriginalIdentity identity;
    identity.Folder = programDirectory;
    ScriptSource script;
    script.Original = original;
    identity.Head = OpenScript(programDirectory, script, ExpandedFileUse::Leave).Head;
    const ScriptHead& head = identity.Head;
    const std::optional<bool> hasHeader = HeaderByLength(head);
    identity.Fit = !hasHeader   ? LengthFit::Neither
                   : *hasHeader ? LengthFit::ImageWithHeader
                                : LengthFit::Image;
    // Read as the checksum check of a run reads it; a file of an unexpected length whole, for
    // looking it up.
    identity.Digests = Under(ContextText::HeaderLine(), [&] {
        return DigestFile(head.OriginalPath, head.OriginalLength,
                          identity.HasHeader() ? head.HeaderSize : 0);
    });
    return identity;
}

} // namespace

IdentityResult IdentifyOriginal(const std::string& programDirectory, RunWindow& window,
                                WrongLength wrongLength, const std::string& original) {
    FailureBox box;
    std::optional<OriginalIdentity> identity;
    std::optional<RunFailure> failure;
    try {
        identity = Identify(programDirectory, original);
        if (identity->Fit != LengthFit::Neither) {
            return {std::move(identity), {}};
        }
        if (wrongLength == WrongLength::LeaveToReport) {
            return {std::move(identity), {RunResult::Ending::EndedByError, ErrNone, {}, false}};
        }
        const ScriptHead& head = identity->Head;
        failure.emplace(BrokenRule{RuleMessage::OriginalWrongLength(
                            head.OriginalSize, head.OriginalSize + head.HeaderSize)},
                        ContextText::HeaderLine());
    } catch (...) {
        identity.reset();
        failure.emplace(CaughtFailure());
    }
    RunResult ending{RunResult::Ending::EndedByError, failure->Error.Number(), {}, false};
    ending.BoxText = box.Show(*failure, window);
    return {std::move(identity), ending};
}

std::string IdentityReport(const OriginalIdentity& identity) {
    const ScriptHead& head = identity.Head;
    std::string report = "Original: " + head.OriginalName + "\n";
    report += "Length: " + std::to_string(head.OriginalLength) + " bytes\n";
    if (identity.Fit == LengthFit::Neither) {
        AppendDigests(report, "File", identity.WholeFile());
        return report;
    }
    report +=
        "Header: " + (identity.HasHeader() ? std::to_string(head.HeaderSize) + " bytes" : "none") +
        "\n";
    AppendDigests(report, "Image", identity.Digests.Image);
    if (identity.Digests.WholeFile) {
        AppendDigests(report, "File", *identity.Digests.WholeFile);
    }
    const std::string& expected = head.ExpectedMD5;
    report += "Script MD5: " +
              (expected.empty()
                   ? std::string("none")
                   : expected + (expected == identity.Digests.Image.MD5 ? " (matches)"
                                                                        : " (does not match)")) +
              "\n";
    report += "SIZE line: " + SizeLine(identity) + "\n";
    return report;
}

std::string SizeLine(const OriginalIdentity& identity) {
    const ScriptHead& head = identity.Head;
    return "SIZE\t" + ScriptHex(static_cast<std::uint32_t>(head.OriginalSize)) + "\t" +
           ScriptHex(static_cast<std::uint32_t>(head.FinalSize)) + "\t" +
           identity.Digests.Image.MD5;
}

} // namespace kelbrin
