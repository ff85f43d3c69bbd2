// kelbrin-md5 FILE: prints the MD5 digest of a file as the expansion run computes it, so that
// the digest alone can be timed against md5sum. Exit status: 0 with the digest, 1 when the file
// cannot be digested, 2 for a usage error.

#include <cstdio>
#include <exception>

#include "MD5.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelbrin-md5 FILE\n");
        return 2;
    }
    try {
        std::printf("%s\n", kelbrin::MD5().DigestFileToHexStr(argv[1], false, 0).c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelbrin-md5: %s: %s\n", argv[1], error.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
