#include "FileDigests.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "BinaryReader.h"
#include "Crc32.h"
#include "MD5.h"
#include "SystemHash.h"

namespace kelbrin {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kChunkSize = 1 << 19;
constexpr std::size_t kChunks = 12;
// The MD5 class digests fewer bytes than this: any image a script describes (FFFFFFF at most).
constexpr std::int64_t kLongestClassImage = std::int64_t{1} << 28;

// The MD5 class fed piece by piece: its update takes at most 32,767 bytes a call.
class ClassMD5 {
public:
    ClassMD5() { md5_.MD5Init(); }
    void Update(Bytes bytes) {
        // The most whole blocks an update takes: the pieces stay aligned to the blocks, so none
        // leaves a remainder for the next to complete.
        constexpr std::size_t kLargestUpdate = 32767 / 64 * 64;
        for (std::size_t at = 0; at < bytes.size(); at += kLargestUpdate) {
            const Bytes piece = bytes.subspan(at, std::min(kLargestUpdate, bytes.size() - at));
            md5_.MD5Update(static_cast<std::int32_t>(piece.size()), piece);
        }
    }
    std::string Finish() {
        md5_.MD5Final();
        return md5_.GetValues();
    }

private:
    MD5 md5_;
};

// Hands every chunk of the file to each of its consumers, each on its own thread, while the
// reader fills the next chunks. A consumer sees the chunks in order. A consumer whose thread
// cannot be started is fed by the reader itself, right after each read.
class ChunkPipeline {
public:
    using Consumer = std::function<void(Bytes chunk, std::int64_t offset)>;

    explicit ChunkPipeline(std::vector<Consumer> consumers)
        : consumers_(std::move(consumers)), slots_(kChunks) {
        for (Slot& slot : slots_) {
            slot.Bytes.resize(kChunkSize);
        }
    }

    // Reads `length` bytes with `reader` and lets every consumer see them.
    void Run(BinaryReader& reader, std::int64_t length, const ThreadStarter& startThread) {
        std::vector<std::thread> threads;
        // Room for every thread first: a started thread must never be dropped unjoined.
        threads.reserve(consumers_.size());
        try {
            while (threads.size() < consumers_.size()) {
                const std::size_t i = threads.size();
                threads.push_back(startThread([this, i] { Consume(i); }));
            }
        } catch (...) {
            // Out of threads or memory for one: the rest are consumed on this thread.
        }
        threaded_ = threads.size();
        try {
            Produce(reader, length);
        } catch (...) {
            Stop(std::current_exception());
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }

private:
    struct Slot {
        std::vector<std::uint8_t> Bytes;
        std::size_t Size = 0;
        std::int64_t Offset = 0;
        bool Last = false;
        std::size_t Pending = 0; // consumers that have not seen it yet
    };

    void Produce(BinaryReader& reader, std::int64_t length) {
        std::int64_t offset = 0;
        for (std::size_t index = 0;; ++index) {
            Slot& slot = slots_[index % kChunks];
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return slot.Pending == 0 || failure_; });
                if (failure_) {
                    return;
                }
            }
            const auto size = static_cast<std::size_t>(
                std::min<std::int64_t>(static_cast<std::int64_t>(kChunkSize), length - offset));
            reader.Read(std::span(slot.Bytes).first(size));
            {
                const std::lock_guard lock(mutex_);
                slot.Size = size;
                slot.Offset = offset;
                slot.Last = offset + static_cast<std::int64_t>(size) >= length;
                slot.Pending = consumers_.size();
                ++filled_;
            }
            changed_.notify_all();
            for (std::size_t consumer = threaded_; consumer < consumers_.size(); ++consumer) {
                consumers_[consumer](std::span(slot.Bytes).first(size), offset);
                const std::lock_guard lock(mutex_);
                --slot.Pending;
            }
            offset += static_cast<std::int64_t>(size);
            if (offset >= length) {
                return;
            }
        }
    }

    void Consume(std::size_t consumer) {
        try {
            for (std::size_t index = 0;; ++index) {
                Slot& slot = slots_[index % kChunks];
                {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [&] { return filled_ > index || failure_; });
                    if (failure_) {
                        return;
                    }
                }
                consumers_[consumer](std::span(slot.Bytes).first(slot.Size), slot.Offset);
                const bool last = slot.Last;
                {
                    const std::lock_guard lock(mutex_);
                    --slot.Pending;
                }
                changed_.notify_all();
                if (last) {
                    return;
                }
            }
        } catch (...) {
            Stop(std::current_exception());
        }
    }

    void Stop(std::exception_ptr failure) {
        {
            const std::lock_guard lock(mutex_);
            if (!failure_) {
                failure_ = std::move(failure);
            }
        }
        changed_.notify_all();
    }

    std::vector<Consumer> consumers_;
    std::size_t threaded_ = 0; // the consumers from here on have no thread of their own
    std::vector<Slot> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t filled_ = 0; // chunks handed over so far
    std::exception_ptr failure_;
};

// The part of a chunk at `offset` that lies in the image, behind the first `headerSize` bytes.
Bytes ImagePart(Bytes chunk, std::int64_t offset, std::int32_t headerSize) {
    const std::int64_t skip =
        std::clamp<std::int64_t>(headerSize - offset, 0, static_cast<std::int64_t>(chunk.size()));
    return chunk.subspan(static_cast<std::size_t>(skip));
}

} // namespace

std::thread StartThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

FileDigests DigestFile(const std::string& path, std::int64_t length, std::int32_t headerSize,
                       const ThreadStarter& startThread) {
    BinaryReader reader(path, length);
    const bool headered = headerSize > 0;
    // An image the MD5 class cannot count, longer than any a script describes (a file whose
    // length fits no script, digested whole), gets the system's MD5: the same digest.
    std::optional<ClassMD5> imageMD5;
    std::optional<SystemHash> longImageMD5;
    if (length - headerSize < kLongestClassImage) {
        imageMD5.emplace();
    } else {
        longImageMD5.emplace(SystemHash::Kind::MD5);
    }
    SystemHash imageSHA1(SystemHash::Kind::SHA1);
    std::optional<SystemHash> fileMD5;
    std::optional<SystemHash> fileSHA1;
    if (headered) {
        fileMD5.emplace(SystemHash::Kind::MD5);
        fileSHA1.emplace(SystemHash::Kind::SHA1);
    }
    Crc32 headerCrc;
    Crc32 imageCrc;

    // MD5 is the slowest of the three: each MD5 has a thread to itself; the SHA-1s and the CRC
    // share the third.
    std::vector<ChunkPipeline::Consumer> consumers;
    consumers.push_back([&](Bytes chunk, std::int64_t offset) {
        const Bytes image = ImagePart(chunk, offset, headerSize);
        if (imageMD5) {
            imageMD5->Update(image);
        } else {
            longImageMD5->Update(image);
        }
    });
    if (headered) {
        consumers.push_back([&](Bytes chunk, std::int64_t) { fileMD5->Update(chunk); });
    }
    consumers.push_back([&](Bytes chunk, std::int64_t offset) {
        const Bytes image = ImagePart(chunk, offset, headerSize);
        headerCrc.Update(chunk.first(chunk.size() - image.size()));
        imageCrc.Update(image);
        imageSHA1.Update(image);
        if (headered) {
            fileSHA1->Update(chunk);
        }
    });
    ChunkPipeline(std::move(consumers)).Run(reader, length, startThread);

    FileDigests digests;
    digests.Image = {Crc32::Text(imageCrc.Value()),
                     imageMD5 ? imageMD5->Finish() : longImageMD5->Finish(), imageSHA1.Finish()};
    if (headered) {
        // The CRC of the whole file follows from the header's and the image's.
        const std::int64_t imageLength = std::max<std::int64_t>(length - headerSize, 0);
        digests.WholeFile =
            Digests{Crc32::Text(Crc32::Combine(headerCrc.Value(), imageCrc.Value(), imageLength)),
                    fileMD5->Finish(), fileSHA1->Finish()};
    }
    return digests;
}

} // namespace kelbrin
