#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileHandle.h"
#include "UnfinishedFiles.h"

namespace kelbrin {

// The unfinished file's name is held by something that no run left there (a folder, a link, a
// FIFO), or by a leftover that this process may not remove: the error of that, with the path
// and the name of what is in the way, for a message that names it.
class UnfinishedNameTaken : public RuntimeError {
public:
    UnfinishedNameTaken(std::int32_t number, std::string path, std::string name)
        : RuntimeError(number), path_(std::move(path)), name_(std::move(name)) {}
    const std::string& Path() const noexcept { return path_; }
    const std::string& Name() const noexcept { return name_; }

private:
    std::string path_;
    std::string name_;
};

// A file that takes the place of another only once it is whole. It is written under a name of
// its own beside the file it replaces (the target's name followed by ".kelbrin-unfinished"),
// held by this writer alone, and renamed over the target in one step by Commit(). Until then
// the target is left as it was; the unfinished file goes when the object does without a
// Commit(), and when the process is interrupted (see UnfinishedFiles.h).
//
// One name per target means that a killed writer leaves at most one unfinished file, which
// the next writer of the same target removes before it makes its own: it never writes into a
// file it did not make. While one writer holds its file, another is refused with error 70, as
// Windows refuses a file that another program holds.
class ReplacementFile {
public:
    static constexpr std::string_view kUnfinishedSuffix = ".kelbrin-unfinished";

    // The file that `targetPath` leads to, through symbolic links (their targets are replaced,
    // the links stay), and the unfinished file that would replace it. A target whose name is
    // too long to take the suffix has it after the name's start and a digest of the whole
    // name: the same every time, so that the next writer finds a killed writer's file.
    struct Names {
        std::string Target;
        std::string Unfinished;
    };
    static Names NamesFor(const std::string& targetPath);

    // What making the unfinished file of `names` refuses before it writes a byte, found without
    // making it: an input of the writer by the unfinished file's name (error 55), an existing
    // target that could not be written as it is (see the constructor), a folder for it that
    // does not exist (error 76), a folder or a link by the unfinished name (UnfinishedNameTaken).
    // Returns the target's permission bits; nothing when there is no target yet. A rehearsal of
    // a run meets the run's refusals here.
    static std::optional<std::uint32_t> ProveReplaceable(const Names& names,
                                                         const std::vector<std::string>& inputs);

    // Makes the empty unfinished file of `names`, after removing one that a killed writer left.
    // `inputs` are the files the writer reads: one that has the unfinished file's name, under
    // any spelling or link, is error 55 and stays as it is. An existing target must be a file
    // that could be written as it is, so that everything refused today is refused as before: a
    // folder is error 75, a read-only file or one that another program holds error 70. What
    // holds the unfinished name and cannot be removed is UnfinishedNameTaken. The new file gets
    // the target's permission bits, or the usual ones for a new file.
    ReplacementFile(Names names, const std::vector<std::string>& inputs);
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
    // error 58 and stays as it was. A failed commit removes the unfinished file.
    void Commit(bool replaceExisting = true);

private:
    // Removes the unfinished file if its name still leads to it, and closes it.
    void Discard() noexcept;

    const Names names_;
    FileHandle file_;
    std::optional<UnfinishedFileRegistration> registration_;
};

} // namespace kelbrin
