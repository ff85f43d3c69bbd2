#include <vector>
#include <windows.h>
// clang-format off: bcrypt.h needs the types windows.h declares.
#include <bcrypt.h>
// clang-format on

#include "HexText.h"
#include "RuntimeError.h"
#include "SystemHash.h"

namespace kelbrin {

struct SystemHash::State {
    BCRYPT_ALG_HANDLE Algorithm = nullptr;
    BCRYPT_HASH_HANDLE Hash = nullptr;
    ULONG Length = 0;
    ~State() {
        if (Hash != nullptr) {
            ::BCryptDestroyHash(Hash);
        }
        if (Algorithm != nullptr) {
            ::BCryptCloseAlgorithmProvider(Algorithm, 0);
        }
    }
};

namespace {

// The system reports no reason a digest would fail on bytes in memory but a lack of memory.
void Check(NTSTATUS status) {
    if (status < 0) {
        throw RuntimeError(ErrOutOfMemory);
    }
}

} // namespace

SystemHash::SystemHash(Kind kind) : state_(std::make_unique<State>()) {
    Check(::BCryptOpenAlgorithmProvider(
        &state_->Algorithm, kind == Kind::MD5 ? BCRYPT_MD5_ALGORITHM : BCRYPT_SHA1_ALGORITHM,
        nullptr, 0));
    ULONG got = 0;
    Check(::BCryptGetProperty(state_->Algorithm, BCRYPT_HASH_LENGTH,
                              reinterpret_cast<PUCHAR>(&state_->Length), sizeof state_->Length,
                              &got, 0));
    Check(::BCryptCreateHash(state_->Algorithm, &state_->Hash, nullptr, 0, nullptr, 0, 0));
}

SystemHash::~SystemHash() = default;
SystemHash::SystemHash(SystemHash&&) noexcept = default;
SystemHash& SystemHash::operator=(SystemHash&&) noexcept = default;

void SystemHash::Update(std::span<const std::uint8_t> bytes) {
    // BCryptHashData counts in 32 bits.
    constexpr std::size_t kLargestPiece = 1u << 30;
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), kLargestPiece);
        Check(::BCryptHashData(state_->Hash, const_cast<PUCHAR>(bytes.data()),
                               static_cast<ULONG>(piece), 0));
        bytes = bytes.subspan(piece);
    }
}

std::string SystemHash::Finish() {
    std::vector<UCHAR> digest(state_->Length);
    Check(::BCryptFinishHash(state_->Hash, digest.data(), state_->Length, 0));
    return HexText(digest);
}

} // namespace kelbrin
