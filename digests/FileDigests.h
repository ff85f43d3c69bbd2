#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace kelbrin {

// The three digests that ROM databases and patch read-mes quote, as upper-case hex.
struct Digests {
    std::string Crc32;
    std::string MD5;
    std::string SHA1;
    bool operator==(const Digests&) const = default;
};

struct FileDigests {
    // The image: the file without its first `headerSize` bytes.
    Digests Image;
    // The whole file, when it has a header; the same as the image otherwise.
    std::optional<Digests> WholeFile;
};

// Starts a thread that runs `work`, or throws as std::thread does when none can be started.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;
std::thread StartThread(std::function<void()> work);

// Digests the file at `path`, which is `length` bytes long, reading it once: the image after its
// first `headerSize` bytes and, when that is not 0, the whole file too. The image's MD5 is the MD5
// class's, the very digest a run compares with the script. The digests share the work between
// the machine's cores, on threads from `startThread`; a digest whose thread cannot be started
// (the process may have no more) is made on the calling thread instead. Memory stays at a few
// MiB whatever the length. A file that is shorter than `length` by the time it is read is error
// 62; any other failure is its numbered error.
FileDigests DigestFile(const std::string& path, std::int64_t length, std::int32_t headerSize,
                       const ThreadStarter& startThread = StartThread);

} // namespace kelbrin
