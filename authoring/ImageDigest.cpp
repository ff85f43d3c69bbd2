#include "ImageDigest.h"

#include <algorithm>

#include "MD5.h"

namespace kelbrin {

std::string ImageDigest(std::span<const std::uint8_t> image) {
    // The class takes at most 32,767 bytes a call; whole blocks keep every call but the last
    // transforming the bytes where they lie.
    constexpr std::size_t kChunk = 32767 / 64 * 64;
    MD5 digest;
    digest.MD5Init();
    for (std::size_t at = 0; at < image.size(); at += kChunk) {
        const std::size_t count = std::min(kChunk, image.size() - at);
        digest.MD5Update(static_cast<std::int32_t>(count), image.subspan(at, count));
    }
    digest.MD5Final();
    return digest.GetValues();
}

} // namespace kelbrin
