// kelbrin-help-pictures FOLDER: draws the two pictures of the help window's format page from
// the sample script that page shows. The sample original is made up here; the expanded image
// is what the expansion engine really makes of it with the header added. Writes
//   FOLDER/SampleOriginal.gif   the original's first rows, on yellow, 425 x 149
//   FOLDER/SampleExpanded.bmp   the whole expanded image, on white, 24 bits, 409 x 163
// and prints the original's MD5 without its header, which the page's SIZE lines carry.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Expand.h"
#include "Fonts.h"
#include "General_Routines.h"
#include "HelpTexts.h"
#include "MD5.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHeaderSize = 0x10;
constexpr std::size_t kImageSize = 0xA000;

// The original carries the usual 4E 45 53 1A header. Each image byte is the low byte of its
// own address, so in the expanded picture every copied byte shows where it came from.
Bytes SampleOriginal() {
    Bytes rom = {0x4E, 0x45, 0x53, 0x1A, 0x02, 0x01, 0x01, 0x00};
    rom.resize(kHeaderSize, 0x00);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        rom.push_back(static_cast<std::uint8_t>(i & 0xFF));
    }
    return rom;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The sample is the first script on the page: the lines between the first two rules of "-".
std::string SampleScript() {
    const std::string rule(79, '-');
    std::string script;
    int rules = 0;
    for (const std::string& line : Lines(kelbrin::FormatHelpText())) {
        if (line == rule) {
            if (++rules == 2) {
                break;
            }
        } else if (rules == 1) {
            script += line + "\r\n";
        }
    }
    return script;
}

// Any box, or a digest shown for a mismatch, means the sample on the page no longer fits the
// original made here.
class QuietWindow : public kelbrin::RunWindow {
public:
    void SetStatus(const std::string&) override {}
    void ShowMD5(const std::string& digest) override { ShownDigest = digest; }
    void HideMD5() override {}
    void LetEventsRun() override {}
    void ShowMessageBox(const std::string& message, const std::string& title,
                        kelbrin::MessageBoxIcon) override {
        Boxes.push_back(title + ": " + message);
    }

    std::optional<std::string> ShownDigest;
    std::vector<std::string> Boxes;
};

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

std::optional<Bytes> ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.begin(), bytes.end());
}

// A hex view: a column of row offsets, then 16 byte values per row in four groups of four,
// the columns set apart by vertical rules. The picture is as wide and high as asked; the
// space between the columns grows with the width.
QImage HexView(const Bytes& bytes, int rows, const QSize& size, const QColor& background) {
    constexpr int kRowHeight = 14;
    constexpr int kCell = 21; // two digits and a blank of a 7-pixel font
    constexpr int kDigits = 14;
    constexpr int kGroup = 3 * kCell + kDigits;
    constexpr int kMinMargin = 6;
    const int fixed = kDigits + 4 * (1 + kGroup);
    const int gap = (size.width() - fixed - 2 * kMinMargin) / 8;
    const int left = (size.width() - fixed - 8 * gap) / 2;
    const int top = (size.height() - rows * kRowHeight) / 2;

    QImage image(size, QImage::Format_RGB888);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(background);
    QPainter painter(&image);
    QFont font("Courier New");
    font.setPixelSize(12);
    // Plain pixels, as a screen of the time showed them; the GIF keeps a handful of colours.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    painter.setFont(font);

    const QColor offsetColour(0, 0, 160);
    const QColor ruleColour(128, 128, 128);
    const QColor byteColour(0, 0, 0);
    const Qt::Alignment inRow = Qt::AlignLeft | Qt::AlignVCenter;
    std::array<int, 4> groupLeft{};
    int x = left + kDigits;
    for (int group = 0; group < 4; ++group) {
        x += gap;
        painter.setPen(ruleColour);
        painter.drawLine(x, top, x, top + rows * kRowHeight - 1);
        x += 1 + gap;
        groupLeft[group] = x;
        x += kGroup;
    }
    for (int row = 0; row < rows; ++row) {
        const int y = top + row * kRowHeight;
        painter.setPen(offsetColour);
        painter.drawText(QRect(left, y, kDigits, kRowHeight), inRow,
                         QString::asprintf("%02X", row * 16));
        painter.setPen(byteColour);
        for (int column = 0; column < 16; ++column) {
            const std::size_t at = static_cast<std::size_t>(row * 16 + column);
            if (at < bytes.size()) {
                painter.drawText(
                    QRect(groupLeft[column / 4] + column % 4 * kCell, y, kDigits, kRowHeight),
                    inRow, QString::asprintf("%02x", bytes[at]));
            }
        }
    }
    painter.end();
    return image;
}

// LZW for GIF: variable-width codes, least significant bit first, packed into sub-blocks of
// at most 255 bytes. The code width follows the table exactly as decoders expect it: a code
// is written one bit wider once the table has outgrown the current width, and the table
// starts afresh with a clear code when all 4096 codes are taken.
class LzwWriter {
public:
    explicit LzwWriter(int minCodeSize)
        : initBits_(minCodeSize + 1), clearCode_(1 << minCodeSize), endCode_(clearCode_ + 1) {}

    QByteArray Encode(const std::vector<std::uint8_t>& pixels) {
        Restart();
        Output(clearCode_);
        int prefix = pixels.empty() ? -1 : pixels.front();
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const int pixel = pixels[i];
            const int key = (prefix << 8) | pixel;
            const auto known = table_.constFind(key);
            if (known != table_.constEnd()) {
                prefix = *known;
                continue;
            }
            Output(prefix);
            if (freeCode_ < kMaxCodes) {
                table_.insert(key, freeCode_++);
            } else {
                table_.clear();
                freeCode_ = clearCode_ + 2;
                clearPending_ = true;
                Output(clearCode_);
            }
            prefix = pixel;
        }
        if (prefix >= 0) {
            Output(prefix);
        }
        Output(endCode_);
        if (bitCount_ > 0) {
            packed_.push_back(static_cast<char>(bits_ & 0xFF));
        }

        QByteArray blocks;
        for (qsizetype at = 0; at < packed_.size(); at += 255) {
            const QByteArray block = packed_.mid(at, 255);
            blocks.push_back(static_cast<char>(block.size()));
            blocks.append(block);
        }
        blocks.push_back('\0');
        return blocks;
    }

private:
    static constexpr int kMaxCodes = 4096;

    void Restart() {
        table_.clear();
        bits_ = 0;
        bitCount_ = 0;
        packed_.clear();
        width_ = initBits_;
        widestCode_ = (1 << width_) - 1;
        freeCode_ = clearCode_ + 2;
        clearPending_ = false;
    }

    void Output(int code) {
        bits_ |= static_cast<std::uint32_t>(code) << bitCount_;
        bitCount_ += width_;
        while (bitCount_ >= 8) {
            packed_.push_back(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
        if (clearPending_) {
            width_ = initBits_;
            widestCode_ = (1 << width_) - 1;
            clearPending_ = false;
        } else if (freeCode_ > widestCode_ && width_ < 12) {
            ++width_;
            widestCode_ = width_ == 12 ? kMaxCodes : (1 << width_) - 1;
        }
    }

    const int initBits_;
    const int clearCode_;
    const int endCode_;
    QHash<int, int> table_;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
    QByteArray packed_;
    int width_ = 0;
    int widestCode_ = 0;
    int freeCode_ = 0;
    bool clearPending_ = false;
};

void PutWord(QByteArray& out, int value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

// A single-frame GIF89a with one global colour table; nullopt for more than 256 colours.
std::optional<QByteArray> GifFile(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> indexOf;
    std::vector<QRgb> colours;
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) & 0xFFFFFFu;
            auto found = indexOf.find(colour);
            if (found == indexOf.end()) {
                if (colours.size() == 256) {
                    return std::nullopt;
                }
                found = indexOf.insert(colour, static_cast<int>(colours.size()));
                colours.push_back(colour);
            }
            pixels.push_back(static_cast<std::uint8_t>(*found));
        }
    }
    int tableBits = 1;
    while ((std::size_t{1} << tableBits) < colours.size()) {
        ++tableBits;
    }

    QByteArray out("GIF89a");
    PutWord(out, image.width());
    PutWord(out, image.height());
    // A global colour table of 2^tableBits entries, 8 bits per primary.
    out.push_back(static_cast<char>(0x80 | 0x70 | (tableBits - 1)));
    out.push_back('\0'); // background colour index
    out.push_back('\0'); // square pixels
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb colour = static_cast<std::size_t>(i) < colours.size() ? colours[i] : 0;
        out.push_back(static_cast<char>(qRed(colour)));
        out.push_back(static_cast<char>(qGreen(colour)));
        out.push_back(static_cast<char>(qBlue(colour)));
    }
    out.push_back(',');
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, image.width());
    PutWord(out, image.height());
    out.push_back('\0'); // not interlaced, no local table
    const int minCodeSize = std::max(2, tableBits);
    out.push_back(static_cast<char>(minCodeSize));
    out.append(LzwWriter(minCodeSize).Encode(pixels));
    out.push_back(';');
    return out;
}

// What Qt reads back must be the picture that was drawn, pixel for pixel.
bool ReadsBackAs(const QString& path, const QImage& drawn) {
    const QImage read(path);
    return !read.isNull() && read.convertToFormat(QImage::Format_RGB32) ==
                                 drawn.convertToFormat(QImage::Format_RGB32);
}

int BitsPerPixelOfBmp(const QString& path) {
    const std::optional<Bytes> bmp = ReadBytes(path);
    if (!bmp || bmp->size() < 30 || (*bmp)[0] != 'B' || (*bmp)[1] != 'M') {
        return 0;
    }
    return (*bmp)[28] | ((*bmp)[29] << 8);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kelbrin-help-pictures: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kelbrin-help-pictures FOLDER\n");
        return 2;
    }
    kelbrin::RegisterFontSubstitutes();
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    const std::string script = SampleScript();
    const std::string nameLine = script.substr(0, script.find("\r\n"));
    std::int32_t position = 0;
    const std::string rowName = kelbrin::NextField(nameLine, position);
    const std::string originalName = kelbrin::NextField(nameLine, position);
    const std::string expandedName = kelbrin::NextField(nameLine, position);
    if (rowName != "NAME" || originalName.empty() || expandedName.empty()) {
        return Fail("no sample script found in the help text");
    }

    QTemporaryDir work;
    if (!work.isValid()) {
        return Fail("cannot make a temporary folder");
    }
    const Bytes original = SampleOriginal();
    const QString originalPath = work.filePath(QString::fromStdString(originalName));
    if (!WriteBytes(originalPath, QByteArray(reinterpret_cast<const char*>(original.data()),
                                             static_cast<qsizetype>(original.size()))) ||
        !WriteBytes(work.filePath("Kelbrin.txt"), QByteArray::fromStdString(script))) {
        return Fail("cannot write into the temporary folder");
    }

    const std::string digest = kelbrin::MD5().DigestFileToHexStr(
        QFile::encodeName(originalPath).toStdString(), true, kHeaderSize);
    std::printf("MD5 of the sample original without its header: %s\n", digest.c_str());

    QuietWindow window;
    const kelbrin::RunResult run = kelbrin::Expand(
        kelbrin::HeaderChoice::AddOrReplace, QFile::encodeName(work.path()).toStdString(), window);
    if (window.ShownDigest) {
        return Fail("the sample's SIZE line does not carry this MD5: " + *window.ShownDigest);
    }
    if (!window.Boxes.empty()) {
        return Fail("the sample does not run: " + window.Boxes.front());
    }
    const std::optional<Bytes> expanded =
        ReadBytes(work.filePath(QString::fromStdString(expandedName)));
    if (!run.Done() || !expanded) {
        return Fail("the sample did not expand");
    }
    const Bytes originalRows(original.begin(), original.begin() + 10 * 16);
    const int expandedRows = static_cast<int>((expanded->size() + 15) / 16);
    std::printf("Expanded sample: %zu bytes with its header, %d rows\n", expanded->size(),
                expandedRows);

    const QImage originalView = HexView(originalRows, 10, QSize(425, 149), QColor(255, 255, 0));
    const QImage expandedView =
        HexView(*expanded, expandedRows, QSize(409, 163), QColor(255, 255, 255));

    const QString gifPath = folder.filePath("SampleOriginal.gif");
    const std::optional<QByteArray> gif = GifFile(originalView);
    if (!gif || !WriteBytes(gifPath, *gif) || !ReadsBackAs(gifPath, originalView)) {
        return Fail("cannot write " + gifPath.toStdString());
    }
    const QString bmpPath = folder.filePath("SampleExpanded.bmp");
    if (!expandedView.save(bmpPath, "BMP") || !ReadsBackAs(bmpPath, expandedView) ||
        BitsPerPixelOfBmp(bmpPath) != 24) {
        return Fail("cannot write " + bmpPath.toStdString() + " with 24 bits per pixel");
    }
    std::printf("Wrote %s and %s\n", qPrintable(gifPath), qPrintable(bmpPath));
    return 0;
}
