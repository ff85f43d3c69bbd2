// kelbrin-make-icon ICO PNG16 PNG32: draws the program icon, a ROM cartridge with an arrow
// leaving it ("expand"), into a Windows .ico (32 x 32 and 16 x 16, 16 colours, AND masks) and
// into two PNG files for the Linux desktop. The pictures are drawn by hand below, one character a
// pixel; the output depends on nothing but this file, so regenerating gives the same bytes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Colour {
    char key;
    std::uint8_t red, green, blue;
};

// The 16 colours every Windows display driver has, in their palette order, so that a 4 bpp
// image looks the same on the oldest desktop as on the newest.
constexpr std::array<Colour, 16> kPalette = {{
    {'K', 0x00, 0x00, 0x00}, // black
    {'r', 0x80, 0x00, 0x00}, // dark red
    {'g', 0x00, 0x80, 0x00}, // dark green
    {'y', 0x80, 0x80, 0x00}, // dark yellow
    {'b', 0x00, 0x00, 0x80}, // dark blue
    {'m', 0x80, 0x00, 0x80}, // dark magenta
    {'c', 0x00, 0x80, 0x80}, // dark cyan
    {'S', 0xC0, 0xC0, 0xC0}, // silver
    {'D', 0x80, 0x80, 0x80}, // dark grey
    {'R', 0xFF, 0x00, 0x00}, // red
    {'G', 0x00, 0xFF, 0x00}, // green
    {'Y', 0xFF, 0xFF, 0x00}, // yellow
    {'B', 0x00, 0x00, 0xFF}, // blue
    {'M', 0xFF, 0x00, 0xFF}, // magenta
    {'C', 0x00, 0xFF, 0xFF}, // cyan
    {'W', 0xFF, 0xFF, 0xFF}, // white
}};
constexpr char kTransparent = '.';

// clang-format off
constexpr std::array<std::string_view, 32> kLarge = {
    "................................",
    "...KKKKKKKKKKKKKKKKKK...........",
    "..KWWWWWWWWWWWWWWWWWSK..........",
    "..KWSSSSSSSSSSSSSSSSDK..........",
    "..KWSDDDDDDDDDDDDDDSDK..........",
    "..KWSSSSSSSSSSSSSSSSDK..........",
    "..KWSDDDDDDDDDDDDDDSDK..........",
    "..KWSSSSSSSSSSSSSSSSDK..........",
    "..KWSDDDDDDDDDDDDDDSDK..........",
    "..KWSSSSSSSSSSSSSSSSDK..........",
    "..KWSKKKKKKKKKKKKKKSDK..........",
    "..KWSKbbbbbbbbbbbbKSDK..........",
    "..KWSKbYYYYYYYYYYbKSDK..........",
    "..KWSKbbbbbbbbbbbbKSDK..........",
    "..KWSKWWWWWWWWWWWWKSDK..........",
    "..KWSKWbbbbbbbWWWWKSDK..........",
    "..KWSKWWWWWWWWWWWWKSDK...K......",
    "..KWSKWbbbbbWWWWWWKSDK...KK.....",
    "..KWSKWWWWWWWWWWWWKSDK...KRK....",
    "..KWSKWbbbbbbbbWWWKSDK...KRRK...",
    "..KWSKWWWWWWWWWWKKKKKKKKKKRRRK..",
    "..KWSKWWWWWWWWWWKRRRRRRRRRRRRRK.",
    "..KWSKKKKKKKKKKKKRRRRRRRRRRRRRrK",
    "..KWSSSSSSSSSSSSKrrrrrrrrrRRRrK.",
    "..KWSSSSSSSSSSSSKKKKKKKKKKRRrK..",
    "..KSDDDDDDDDDDDDDDDDDDK..KRrK...",
    "...KKKKKKKKKKKKKKKKKKK...KrK....",
    ".....KYyYyYyYyYyYyYK.....KK.....",
    ".....KYyYyYyYyYyYyYK.....K......",
    ".....KKKKKKKKKKKKKKK............",
    "................................",
    "................................",
};

constexpr std::array<std::string_view, 16> kSmall = {
    "................",
    ".KKKKKKKKK......",
    "KWWWWWWWWSK.....",
    "KWDDDDDDDSK.....",
    "KWSSSSSSSDK.....",
    "KWKKKKKKKDK.....",
    "KWKYYYYYKDK.K...",
    "KWKWWWWWKDK.KK..",
    "KWKWbbbWKKKKKRK.",
    "KWKWWWWKRRRRRRRK",
    "KWKKKKKKrrrrrRrK",
    "KSDDDDDKKKKKKrK.",
    ".KKKKKKKKK..KK..",
    "..KYyYyYK...K...",
    "..KKKKKKK.......",
    "................",
};
// clang-format on

struct Picture {
    int size;
    std::span<const std::string_view> rows;
};

// -1 for a transparent pixel, else the palette index.
int PaletteIndex(char key) {
    if (key == kTransparent) {
        return -1;
    }
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        if (kPalette[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -2;
}

bool Check(const Picture& picture) {
    if (static_cast<int>(picture.rows.size()) != picture.size) {
        std::fprintf(stderr, "%d x %d picture has %zu rows\n", picture.size, picture.size,
                     picture.rows.size());
        return false;
    }
    for (int y = 0; y < picture.size; ++y) {
        const std::string_view row = picture.rows[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != picture.size) {
            std::fprintf(stderr, "%d x %d picture: row %d has %zu pixels\n", picture.size,
                         picture.size, y, row.size());
            return false;
        }
        for (const char key : row) {
            if (PaletteIndex(key) == -2) {
                std::fprintf(stderr, "%d x %d picture: row %d: no colour '%c'\n", picture.size,
                             picture.size, y, key);
                return false;
            }
        }
    }
    return true;
}

int Pixel(const Picture& picture, int x, int y) {
    return PaletteIndex(picture.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
}

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Put32BigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// The image of one icon directory entry: a BITMAPINFOHEADER of twice the height (colour rows,
// then mask rows), the palette, the 4 bpp colours and the 1 bpp AND mask, both bottom-up with
// rows padded to 32 bits. Transparent pixels are black under a set mask bit, so the screen
// XOR 0 shows through unchanged.
Bytes IconImage(const Picture& picture) {
    const int size = picture.size;
    const std::uint32_t colourStride = static_cast<std::uint32_t>((size * 4 + 31) / 32 * 4);
    const std::uint32_t maskStride = static_cast<std::uint32_t>((size + 31) / 32 * 4);
    const std::uint32_t pixelBytes = (colourStride + maskStride) * static_cast<std::uint32_t>(size);

    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(size * 2));
    Put16(out, 1); // planes
    Put16(out, 4); // bits per pixel
    Put32(out, 0); // uncompressed
    Put32(out, pixelBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(kPalette.size()));
    Put32(out, 0);
    for (const Colour& colour : kPalette) {
        out.insert(out.end(), {colour.blue, colour.green, colour.red, 0});
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(colourStride, 0);
        for (int x = 0; x < size; ++x) {
            const int index = Pixel(picture, x, y);
            if (index >= 0) {
                row[static_cast<std::size_t>(x / 2)] |=
                    static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
            }
        }
        Append(out, row);
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < size; ++x) {
            if (Pixel(picture, x, y) < 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        Append(out, row);
    }
    return out;
}

Bytes Icon(std::span<const Picture> pictures) {
    constexpr std::uint32_t kDirectorySize = 6;
    constexpr std::uint32_t kEntrySize = 16;
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // an icon, not a cursor
    Put16(out, static_cast<std::uint32_t>(pictures.size()));
    std::vector<Bytes> images;
    std::uint32_t offset =
        kDirectorySize + kEntrySize * static_cast<std::uint32_t>(pictures.size());
    for (const Picture& picture : pictures) {
        images.push_back(IconImage(picture));
        const std::uint32_t length = static_cast<std::uint32_t>(images.back().size());
        out.push_back(static_cast<std::uint8_t>(picture.size));
        out.push_back(static_cast<std::uint8_t>(picture.size));
        out.push_back(static_cast<std::uint8_t>(kPalette.size()));
        out.push_back(0);
        Put16(out, 1); // planes
        Put16(out, 4); // bits per pixel
        Put32(out, length);
        Put32(out, offset);
        offset += length;
    }
    for (const Bytes& image : images) {
        Append(out, image);
    }
    return out;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::uint32_t Adler32(const Bytes& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// zlib is not on every build machine, and the pictures are a few kilobytes: stored (uncompressed)
// deflate blocks are a valid zlib stream and need nothing but the two checksums.
Bytes StoredZlib(const Bytes& data) {
    constexpr std::size_t kMaxBlock = 0xFFFF;
    Bytes out = {0x78, 0x01};
    std::size_t done = 0;
    do {
        const std::size_t length = std::min(kMaxBlock, data.size() - done);
        const bool last = done + length == data.size();
        out.push_back(last ? 1 : 0);
        Put16(out, static_cast<std::uint32_t>(length));
        Put16(out, static_cast<std::uint32_t>(~length & 0xFFFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(done),
                   data.begin() + static_cast<std::ptrdiff_t>(done + length));
        done += length;
    } while (done < data.size());
    Put32BigEndian(out, Adler32(data));
    return out;
}

void PngChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    Append(out, data);
    Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// 8-bit RGBA, no filtering: the desktop scales and blends it as it likes.
Bytes Png(const Picture& picture) {
    const int size = picture.size;
    Bytes header;
    Put32BigEndian(header, static_cast<std::uint32_t>(size));
    Put32BigEndian(header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // depth, RGBA, deflate, no filter, progressive
    Bytes pixels;
    for (int y = 0; y < size; ++y) {
        pixels.push_back(0); // filter type None
        for (int x = 0; x < size; ++x) {
            const int index = Pixel(picture, x, y);
            if (index < 0) {
                pixels.insert(pixels.end(), {0, 0, 0, 0});
            } else {
                const Colour& colour = kPalette[static_cast<std::size_t>(index)];
                pixels.insert(pixels.end(), {colour.red, colour.green, colour.blue, 0xFF});
            }
        }
    }
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngChunk(out, "IHDR", header);
    PngChunk(out, "IDAT", StoredZlib(pixels));
    PngChunk(out, "IEND", {});
    return out;
}

bool Write(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "kelbrin-make-icon: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kelbrin-make-icon ICO PNG16 PNG32\n");
        return 2;
    }
    const Picture large{32, kLarge};
    const Picture small{16, kSmall};
    if (!Check(large) || !Check(small)) {
        return 1;
    }
    const std::array<Picture, 2> both = {large, small};
    return Write(argv[1], Icon(both)) && Write(argv[2], Png(small)) && Write(argv[3], Png(large))
               ? 0
               : 1;
}
