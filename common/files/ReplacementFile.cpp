#include "ReplacementFile.h"

#include <cstdint>
#include <utility>

#include "FileIdentity.h"
#include "FolderPaths.h"

namespace kelbrin {

namespace {

// The longest name of one file, in bytes: NAME_MAX on Linux. NTFS counts 255 UTF-16 units,
// and no UTF-8 name has more of them than it has bytes.
constexpr std::size_t kLongestName = 255;

std::size_t NameStart(const std::string& path) {
#ifdef _WIN32
    const std::size_t separator = path.find_last_of("\\/");
#else
    const std::size_t separator = path.rfind('/');
#endif
    return separator == std::string::npos ? 0 : separator + 1;
}

// FNV-1a, 64 bits, as 16 hexadecimal digits: the same on every system and in every release,
// since a later run must find the name a killed one used.
std::string Digest(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const char byte : text) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001B3u;
    }
    std::string hex(16, '0');
    for (std::size_t i = 16; i-- > 0; hash >>= 4) {
        hex[i] = "0123456789abcdef"[hash & 0xF];
    }
    return hex;
}

// The unfinished file's name for a target named `name`: the name and the suffix, or where that
// is too long, the start of the name, "~" and its digest before the suffix. The start ends
// before a character, never inside one's UTF-8 bytes.
std::string UnfinishedName(const std::string& name) {
    const std::string_view suffix = ReplacementFile::kUnfinishedSuffix;
    if (name.size() + suffix.size() <= kLongestName) {
        return name + std::string(suffix);
    }
    std::size_t kept = kLongestName - suffix.size() - 17;
    while (kept > 0 && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80) {
        --kept;
    }
    return name.substr(0, kept) + "~" + Digest(name) + std::string(suffix);
}

UnfinishedNameTaken TakenName(std::int32_t number, const std::string& unfinished) {
    return UnfinishedNameTaken(number, unfinished, unfinished.substr(NameStart(unfinished)));
}

} // namespace

ReplacementFile::Names ReplacementFile::NamesFor(const std::string& targetPath) {
    std::string target = LinkTarget(targetPath);
    const std::size_t nameStart = NameStart(target);
    std::string unfinished = target.substr(0, nameStart) + UnfinishedName(target.substr(nameStart));
    return {std::move(target), std::move(unfinished)};
}

std::optional<std::uint32_t>
ReplacementFile::ProveReplaceable(const Names& names, const std::vector<std::string>& inputs) {
    // Taken for a leftover, an input would be removed.
    for (const std::string& input : inputs) {
        if (SameExistingFile(names.Unfinished, input)) {
            throw RuntimeError(ErrFileAlreadyOpen);
        }
    }
    const std::optional<std::uint32_t> mode = WritableFileMode(names.Target);
    // Where the target is, its folder is; the new file is made beside it.
    if (!mode && !IsExistingFolder(FolderOfFile(names.Unfinished))) {
        throw RuntimeError(ErrPathNotFound);
    }
    // No writer leaves a folder or a link by its name: the constructor would not remove them.
    if (IsExistingFolder(names.Unfinished) || LinkTarget(names.Unfinished) != names.Unfinished) {
        throw TakenName(ErrPathFileAccess, names.Unfinished);
    }
    return mode;
}

ReplacementFile::ReplacementFile(Names names, const std::vector<std::string>& inputs)
    : names_(std::move(names)) {
    const std::optional<std::uint32_t> targetMode = ProveReplaceable(names_, inputs);
    Leftover leftover = Leftover::None;
    try {
        leftover = RemoveLeftover(names_.Unfinished);
    } catch (const RuntimeError& error) {
        throw TakenName(error.Number(), names_.Unfinished);
    }
    if (leftover == Leftover::HeldByAWriter) {
        throw RuntimeError(ErrPermissionDenied);
    }
    // No destructor runs for an object whose constructor fails: the new file goes here.
    try {
        {
            // An interrupt between the two would leave a file that nothing removes.
            const InterruptsHeldBack held;
            file_ = CreateAlone(names_.Unfinished);
            registration_.emplace(names_.Unfinished, file_);
        }
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
    // Once renamed, the file is the target: no interrupt may remove it by the name it had.
    const InterruptsHeldBack held;
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
    // An interrupt between the two would leave the file behind.
    const InterruptsHeldBack held;
    registration_.reset();
    if (file_.IsOpen()) {
        // Removed while still held, so that no other writer can take it over in between.
        RemoveFileIfItIs(names_.Unfinished, file_);
        file_ = FileHandle();
    }
}

} // namespace kelbrin
