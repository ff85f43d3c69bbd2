// kelbrin-md5: prints the MD5 digest of a file as the expansion run computes it, so the
// benchmark can time the digest alone against other tools. Exit status: 0 with the digest,
// 1 when the file cannot be digested, 2 for a usage error.

#include <cstdio>
#include <exception>
#include <string>

#include "MD5.h"
#include "RuntimeError.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelbrin-md5 FILE\n");
        return 2;
    }
    try {
        const std::string digest = kelbrin::MD5().DigestFileToHexStr(argv[1], false, 0);
        std::printf("%s\n", digest.c_str());
    } catch (const kelbrin::RuntimeError& error) {
        std::fprintf(stderr, "kelbrin-md5: %s: error %d: %s\n", argv[1],
                     static_cast<int>(error.Number()), error.Description().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelbrin-md5: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
