// Fuzzes the MD5 class against OpenSSL's digest: the whole input as a string and as a file,
// and fed to MD5Update in pieces whose sizes the input's first byte chooses.

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <openssl/evp.h>
#include <string>
#include <unistd.h>

#include "MD5.h"

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

std::string Reference(const std::uint8_t* data, std::size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    Check(EVP_Digest(data, size, digest, &length, EVP_md5(), nullptr) == 1, "OpenSSL digests");
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

const std::string& ScratchFile() {
    static const std::string path = [] {
        std::string pattern = "/tmp/kelbrin-md5-fuzz-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        Check(fd >= 0, "a scratch file");
        ::close(fd);
        return pattern;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 32767) {
        return 0;
    }
    const std::string expected = Reference(data, size);
    kelbrin::MD5 md5;

    Check(md5.DigestStrToHexStr(std::string(reinterpret_cast<const char*>(data), size)) == expected,
          "string digest");

    FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    Check(file != nullptr && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0,
          "scratch file written");
    Check(md5.DigestFileToHexStr(ScratchFile(), false, 0) == expected, "file digest");

    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 97;
    md5.MD5Init();
    for (std::size_t at = 0; at < size; at += piece) {
        const std::size_t length = std::min(piece, size - at);
        md5.MD5Update(static_cast<std::int32_t>(length), {data + at, length});
    }
    md5.MD5Final();
    Check(md5.GetValues() == expected, "digest in pieces");
    return 0;
}
