#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace kelbrin {

// MD5 or SHA-1 from the system's well-kept implementation: OpenSSL's libcrypto on Linux, the
// Cryptography API: Next Generation (bcrypt.dll) on Windows. The MD5 class remains the digest a
// run checks; this one also takes files longer than that class's 2^28 bytes.
class SystemHash {
public:
    enum class Kind { MD5, SHA1 };

    explicit SystemHash(Kind kind);
    ~SystemHash();
    SystemHash(SystemHash&&) noexcept;
    SystemHash& operator=(SystemHash&&) noexcept;

    void Update(std::span<const std::uint8_t> bytes);
    // The digest as upper-case hex digits; the object is used up.
    std::string Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace kelbrin
