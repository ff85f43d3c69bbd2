#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "MD5.h"

namespace kelbrin {

// The original image's checksum, worked out once for several looks at one script: a check
// rehearses both buttons, and the original's image is the same for both.
class ChecksumMemo {
public:
    std::string Digest(const std::string& path, bool hasHeader, std::int32_t headerSize) {
        if (!known_ || known_->Path != path || known_->HasHeader != hasHeader ||
            known_->HeaderSize != headerSize) {
            MD5 digest;
            known_ = Known{path, hasHeader, headerSize,
                           digest.DigestFileToHexStr(path, hasHeader, headerSize)};
        }
        return known_->Digest;
    }

    // A digest worked out elsewhere of the same bytes, with the same MD5 class.
    void Remember(const std::string& path, bool hasHeader, std::int32_t headerSize,
                  std::string digest) {
        known_ = Known{path, hasHeader, headerSize, std::move(digest)};
    }

private:
    struct Known {
        std::string Path;
        bool HasHeader;
        std::int32_t HeaderSize;
        std::string Digest;
    };
    std::optional<Known> known_;
};

} // namespace kelbrin
