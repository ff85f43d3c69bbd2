#include "FileHandle.h"

namespace kelbrin {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) {
            CloseQuietly(native_);
        }
        native_ = other.native_;
        other.native_ = -1;
    }
    return *this;
}

bool NameHasNul(std::string_view path) {
    return path.find('\0') != std::string_view::npos;
}

FileHandle::~FileHandle() {
    if (IsOpen()) {
        CloseQuietly(native_);
    }
}

} // namespace kelbrin
