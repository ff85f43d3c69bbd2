#include <openssl/evp.h>

#include "HexText.h"
#include "RuntimeError.h"
#include "SystemHash.h"

namespace kelbrin {

struct SystemHash::State {
    EVP_MD_CTX* Context = nullptr;
    ~State() { EVP_MD_CTX_free(Context); }
};

namespace {

// OpenSSL reports no reason a digest would fail on bytes in memory but a lack of memory.
void Check(int result) {
    if (result != 1) {
        throw RuntimeError(ErrOutOfMemory);
    }
}

} // namespace

SystemHash::SystemHash(Kind kind) : state_(std::make_unique<State>()) {
    state_->Context = EVP_MD_CTX_new();
    if (state_->Context == nullptr) {
        throw RuntimeError(ErrOutOfMemory);
    }
    Check(EVP_DigestInit_ex(state_->Context, kind == Kind::MD5 ? EVP_md5() : EVP_sha1(), nullptr));
}

SystemHash::~SystemHash() = default;
SystemHash::SystemHash(SystemHash&&) noexcept = default;
SystemHash& SystemHash::operator=(SystemHash&&) noexcept = default;

void SystemHash::Update(std::span<const std::uint8_t> bytes) {
    Check(EVP_DigestUpdate(state_->Context, bytes.data(), bytes.size()));
}

std::string SystemHash::Finish() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    Check(EVP_DigestFinal_ex(state_->Context, digest, &length));
    return HexText({digest, length});
}

} // namespace kelbrin
