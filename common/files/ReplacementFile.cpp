#include "ReplacementFile.h"

#include "FolderPaths.h"

namespace kelbrin {

ReplacementFile::Names ReplacementFile::NamesFor(const std::string& targetPath) {
    std::string target = LinkTarget(targetPath);
    std::string unfinished = target + std::string(kUnfinishedSuffix);
    return {std::move(target), std::move(unfinished)};
}

std::optional<std::uint32_t> ReplacementFile::ProveReplaceable(const Names& names) {
    const std::optional<std::uint32_t> mode = WritableFileMode(names.Target);
    // Where the target is, its folder is; the new file is made beside it.
    if (!mode && !IsExistingFolder(FolderOfFile(names.Unfinished))) {
        throw RuntimeError(ErrPathNotFound);
    }
    return mode;
}

ReplacementFile::ReplacementFile(const Names& names) : names_(names) {
    const std::optional<std::uint32_t> targetMode = ProveReplaceable(names_);
    file_ = OpenForWritingAlone(names_.Unfinished);
    // No destructor runs for an object whose constructor fails: the new file goes here.
    try {
        registration_.emplace(names_.Unfinished, file_);
        if (targetMode) {
            SetPermissionBits(file_, *targetMode);
        }
    } catch (...) {
        Discard();
        throw;
    }
}

ReplacementFile::~ReplacementFile() {
    Discard();
}

void ReplacementFile::FlushToDisk() {
    file_.FlushToDisk();
}

void ReplacementFile::Commit(bool replaceExisting) {
    if (!file_.IsOpen()) {
        throw RuntimeError(ErrFileNotFound);
    }
    // Removed by the program that is ending: on Windows its name lasts until the file is let go.
    const bool removed = registration_ && registration_->FileWasRemoved();
    const std::optional<FileKey> written = file_.Key();
    if (removed || !written || ExistingFileKey(names_.Unfinished) != written) {
        throw RuntimeError(ErrFileNotFound);
    }
    if (!replaceExisting) {
        // Kept registered until it has its name: a refused rename leaves it to be removed.
        RenameAsNew(names_.Unfinished, names_.Target);
        registration_.reset();
        file_ = FileHandle();
        return;
    }
    // Withdrawn first: from the rename on, the unfinished name may be another writer's file.
    registration_.reset();
    RenameOver(names_.Unfinished, names_.Target);
    // Its bytes are on the disk already: a failing close could lose nothing.
    file_ = FileHandle();
}

void ReplacementFile::Discard() noexcept {
    registration_.reset();
    if (file_.IsOpen()) {
        // Removed while still held, so that no other writer can take it over in between.
        RemoveFileIfItIs(names_.Unfinished, file_);
        file_ = FileHandle();
    }
}

} // namespace kelbrin
