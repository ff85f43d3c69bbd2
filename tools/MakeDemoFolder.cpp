// kelbrin-demo FOLDER: stages a ready demo folder: a Kelbrin.txt script and an original ROM
// image that this program makes up itself. The image is filler with a readable title, not a
// real game; its 16-byte header has the usual 4E 45 53 1A signature.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "MD5.h"

namespace {

constexpr std::size_t kImageSize = 0xA000;
constexpr const char* kOriginalName = "Demo Quest.nes";
constexpr const char* kExpandedName = "Demo Quest (expanded).nes";

std::string DemoOriginal() {
    std::string rom = {'\x4E', '\x45', '\x53', '\x1A', '\x02', '\x01', '\x01', '\x00'};
    rom.resize(16, '\0');
    const std::string title = "KELBRIN DEMO ROM";
    std::uint32_t state = 0x4B454C42;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        state = state * 1664525u + 1013904223u;
        rom += i < title.size() ? title[i] : static_cast<char>(state >> 24);
    }
    return rom;
}

// The checksum on the SIZE line is the image's, without the header.
std::string DemoScript(const std::string& imageDigest) {
    return std::string("NAME\t") + kOriginalName + "\t" + kExpandedName + "\r\n" +
           "SIZE\tA000\t12000\t" + imageDigest + "\r\n" +
           "HEADER\t10\t4E\t45\t53\t1A\t4\t1\t40\t40\r\n"
           "COPY\t0\t0\r\n"
           "COPY\t4000\t0\r\n"
           "COPY\t8000\t0\r\n";
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kelbrin-demo FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::filesystem::remove(folder / kExpandedName, error);
    const std::string original = DemoOriginal();
    if (!WriteFile(folder / kOriginalName, original)) {
        std::fprintf(stderr, "kelbrin-demo: cannot write into %s\n", argv[1]);
        return 1;
    }
    const std::string digest =
        kelbrin::MD5().DigestFileToHexStr((folder / kOriginalName).string(), true, 16);
    if (!WriteFile(folder / "Kelbrin.txt", DemoScript(digest))) {
        std::fprintf(stderr, "kelbrin-demo: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
