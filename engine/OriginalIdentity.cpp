#include "OriginalIdentity.h"

#include <cstdio>
#include <new>

#include "ContextTexts.h"
#include "FailureBox.h"
#include "FolderPaths.h"
#include "RunFailure.h"
#include "TextInputFile.h"

namespace kelbrin {

namespace {

std::string Hex(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

void AppendDigests(std::string& report, const std::string& what, const Digests& digests) {
    report += what + " CRC32: " + digests.Crc32 + "\n";
    report += what + " MD5: " + digests.MD5 + "\n";
    report += what + " SHA-1: " + digests.SHA1 + "\n";
}

OriginalIdentity Identify(const std::string& programDirectory) {
    const std::string scriptPath = PathInFolder(programDirectory, kScriptName);
    TextInputFile script = Under(ContextText::Script(), [&] { return TextInputFile(scriptPath); });
    OriginalIdentity identity;
    identity.Head = ReadScriptHead(script, scriptPath, programDirectory, nullptr);
    const ScriptHead& head = identity.Head;
    identity.HasHeader = Under(ContextText::HeaderLine(), [&] { return OriginalHasHeader(head); });
    // Read as the checksum check of a run reads it.
    identity.Digests = Under(ContextText::HeaderLine(), [&] {
        return DigestFile(head.OriginalPath, head.OriginalLength,
                          identity.HasHeader ? head.HeaderSize : 0);
    });
    return identity;
}

} // namespace

IdentityResult IdentifyOriginal(const std::string& programDirectory, RunWindow& window) {
    FailureBox box;
    std::optional<RunFailure> failure;
    try {
        return {Identify(programDirectory), {}};
    } catch (RunFailure& caught) {
        failure.emplace(std::move(caught));
    } catch (const std::bad_alloc&) {
        failure.emplace(RuntimeError(ErrOutOfMemory), "");
    } catch (...) {
        failure.emplace(RuntimeError(ErrInternal), "");
    }
    RunResult ending{RunResult::Ending::EndedByError, failure->Error.Number(), {}, false};
    ending.BoxText = box.Show(*failure, window);
    return {std::nullopt, ending};
}

std::string IdentityReport(const OriginalIdentity& identity) {
    const ScriptHead& head = identity.Head;
    std::string report = "Original: " + head.OriginalName + "\n";
    report += "Length: " + std::to_string(head.OriginalLength) + " bytes\n";
    report +=
        "Header: " + (identity.HasHeader ? std::to_string(head.HeaderSize) + " bytes" : "none") +
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
    report += "SIZE line: SIZE\t" + Hex(head.OriginalSize) + "\t" + Hex(head.FinalSize) + "\t" +
              identity.Digests.Image.MD5 + "\n";
    return report;
}

} // namespace kelbrin
