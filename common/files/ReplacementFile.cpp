#include "ReplacementFile.h"

#include "FileIdentity.h"

namespace kelbrin {

namespace {

std::size_t NameStart(const std::string& path) {
#ifdef _WIN32
    const std::size_t separator = path.find_last_of("\\/");
#else
    const std::size_t separator = path.rfind('/');
#endif
    return separator == std::string::npos ? 0 : separator + 1;
}

} // namespace

ReplacementFile::Names ReplacementFile::NamesFor(const std::string& targetPath) {
    std::string target = LinkTarget(targetPath);
    std::string unfinished = target + std::string(kUnfinishedSuffix);
    return {std::move(target), std::move(unfinished)};
}

ReplacementFile::ReplacementFile(const Names& names, const std::vector<std::string>& inputs)
    : names_(names) {
    // Taken for a leftover, an input would be removed.
    for (const std::string& input : inputs) {
        if (SameExistingFile(names_.Unfinished, input)) {
            throw RuntimeError(ErrFileAlreadyOpen);
        }
    }
    const std::optional<std::uint32_t> targetMode = WritableFileMode(names_.Target);
    Leftover leftover = Leftover::None;
    try {
        leftover = RemoveLeftover(names_.Unfinished);
    } catch (const RuntimeError& error) {
        throw UnfinishedNameTaken(error.Number(), names_.Unfinished,
                                  names_.Unfinished.substr(NameStart(names_.Unfinished)));
    }
    if (leftover == Leftover::HeldByAWriter) {
        throw RuntimeError(ErrPermissionDenied);
    }
    // No destructor runs for an object whose constructor fails: the new file goes here.
    try {
        file_ = CreateAlone(names_.Unfinished);
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
    try {
        if (replaceExisting) {
            registration_.reset();
            RenameOver(file_, names_.Unfinished, names_.Target);
        } else {
            RenameAsNew(file_, names_.Unfinished, names_.Target);
            registration_.reset();
        }
    } catch (...) {
        Discard();
        throw;
    }
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
