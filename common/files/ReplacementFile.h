#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "FileHandle.h"
#include "UnfinishedFiles.h"

namespace kelbrin {

// A file that takes the place of another only once it is whole. It is written under a name of
// its own beside the file it replaces (the target's name followed by ".kelbrin-unfinished"),
// held by this writer alone, and renamed over the target in one step by Commit(). Until then
// the target is left as it was; the unfinished file goes when the object does without a
// Commit(), and when the process is interrupted (see UnfinishedFiles.h).
//
// One name per target means that a killed writer leaves at most one unfinished file, which
// the next writer of the same target takes over. While one writer holds it, another is refused
// with error 70, as Windows refuses a file that another program holds.
class ReplacementFile {
public:
    static constexpr std::string_view kUnfinishedSuffix = ".kelbrin-unfinished";

    // The file that `targetPath` leads to, through symbolic links (their targets are replaced,
    // the links stay), and the unfinished file that would replace it.
    struct Names {
        std::string Target;
        std::string Unfinished;
    };
    static Names NamesFor(const std::string& targetPath);

    // What making the unfinished file of `names` refuses before it writes a byte, found without
    // making it: an existing target that could not be written as it is (see the constructor),
    // a folder for it that does not exist (error 76). Returns the target's permission bits;
    // nothing when there is no target yet. A rehearsal of a run meets the run's refusals here.
    static std::optional<std::uint32_t> ProveReplaceable(const Names& names);

    // Makes the empty unfinished file of `names`, or takes over one that a killed writer left.
    // An existing target must be a file that could be written as it is, so that everything
    // refused today is refused as before: a folder is error 75, a read-only file or one that
    // another program holds error 70. The new file gets the target's permission bits.
    explicit ReplacementFile(const Names& names);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    FileHandle& File() noexcept { return file_; }
    const std::string& UnfinishedPath() const noexcept { return names_.Unfinished; }

    // Has the system write what the file holds to the disk.
    void FlushToDisk();
    // Renames the unfinished file over the target and closes it. Error 53 when its name no
    // longer leads to the file written (it was removed or replaced meanwhile): those bytes
    // are in no file the user could find. Without `replaceExisting`, an existing target is
    // error 58 and stays as it was.
    void Commit(bool replaceExisting = true);

private:
    // Removes the unfinished file if its name still leads to it, and closes it.
    void Discard() noexcept;

    const Names names_;
    FileHandle file_;
    std::optional<UnfinishedFileRegistration> registration_;
};

} // namespace kelbrin
