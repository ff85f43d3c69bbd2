#include "WholeFile.h"

#include "BinaryReader.h"
#include "FileLength.h"

namespace kelbrin {

WholeFile::WholeFile(const std::string& path, std::uint64_t mostBytes) {
    const std::int64_t length = FileLength64(path);
    // Opened first, so that a file that cannot be read says why.
    BinaryReader reader(path, length);
    if (static_cast<std::uint64_t>(length) > mostBytes) {
        throw RuntimeError(ErrInvalidCall, "it is " + std::to_string(length) +
                                               " bytes, more than a script can describe");
    }
    if (length == 0) {
        return;
    }
    pages_ = PageBuffer(static_cast<std::size_t>(length));
    reader.Read({pages_.Data(), pages_.Size()});
}

} // namespace kelbrin
