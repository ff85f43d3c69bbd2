#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "Expand.h"
#include "RecordingWindow.h"
#include "TempFolder.h"

namespace kelbrin::test {

inline std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        joined += (i == 0 ? "" : separator) + parts[i];
    }
    return joined;
}

// Original image bytes. Below address 251 each byte equals its address, so a copied byte
// says where it came from; above, the pattern does not repeat every 256 bytes, so copies
// from 0 and from 4000 hex differ.
inline std::string Image(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i + i / 251) & 0xFF);
    }
    return bytes;
}

// A header that no test script ever asks for, so a leaked header byte is visible.
inline std::string ForeignHeader() {
    return std::string(16, '\xEE');
}

// The header the standard HEADER line (10, 4E 45 53 1A) makes.
inline std::string ScriptHeader() {
    return std::string("NES\x1A") + std::string(12, '\0');
}

// The box text of a broken rule: no error is being handled.
inline std::string RuleBox(const std::string& message) {
    return "Error #0 -> \r\n\r\n" + message;
}

inline const std::string kNameLine = "NAME\torig.nes\tbig.nes";
inline const std::string kSizeLine = "SIZE\t40\t8";
inline const std::string kHeaderLine = "HEADER\t10\t4E\t45\t53\t1A";
inline const std::string kCopyLine = "COPY\t0\t0";

// Puts a headered original into `folder` and a script that expands it to 8 bytes at line 4,
// followed by `more` lines.
inline void WriteGame(const TempFolder& folder, const std::string& sizeLine = kSizeLine,
                      const std::vector<std::string>& more = {}) {
    folder.Write("orig.nes", ForeignHeader() + Image(0x40));
    std::vector<std::string> lines{kNameLine, sizeLine, kHeaderLine, kCopyLine};
    lines.insert(lines.end(), more.begin(), more.end());
    folder.Write("Kelbrin.txt", Join(lines, "\r\n"));
}

// A 32 KiB original expanded to 64 KiB the way authors lay out a ROM (the original's banks
// moved, a filled gap, patched bytes), with a checksum typed in lower case, which a run takes
// for another ROM's: something in every row of the authors' boxes to look at.
inline void WriteAuthorsGame(const TempFolder& folder) {
    folder.Write("orig.nes", ForeignHeader() + Image(0x8000));
    folder.Write("big.nes", Image(0x8000) + std::string(0x8000, '\xFF'));
    folder.Write(
        "Kelbrin.txt",
        Join({"NAME\torig.nes\tbig.nes", "SIZE\t8000\t10000\t6b3a5c3d0c3ef2d2e8f5b8b4ab6d3a0e",
              kHeaderLine, "COPY\t0\t0", "FILL\t4000\tFF", "COPY\t8000\t4000",
              "REPLACE\t9000\tEA\tEA", "COPY\tC000\t0", "REPLACE\tFFFC\t00\t80"},
             "\r\n"));
}

// Breaks such a script at line 5, after the run has let events through once.
inline const std::vector<std::string> kBrokenLine5{"FIL\t4\t0"};

// One program directory with its script, original and expanded file, and the window a run
// reports to.
struct RunFolder {
    TempFolder Folder;
    RecordingWindow Window;

    void Script(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
        Folder.Write("Kelbrin.txt", Join(lines, lineEnd));
    }
    void Original(const std::string& bytes) { Folder.Write("orig.nes", bytes); }
    // A 64-byte original beside an expanded file that holds "OLD", so that a run which leaves
    // the expanded file alone, empties it or writes part of it can be told apart.
    void OriginalAndOldExpanded() {
        Original(Image(0x40));
        Folder.Write("big.nes", "OLD");
    }
    // `index` as the window's buttons number the choice: 0 adds the header, 1 leaves it out.
    void Run(std::int16_t index) {
        Expand(index == 0 ? HeaderChoice::AddOrReplace : HeaderChoice::IgnoreOrRemove,
               Folder.Path(), Window);
    }
    std::string File(const std::string& name = "big.nes") const {
        return Folder.Read(name).value_or("<missing>");
    }

    // The run went through its failure exit with exactly this box, after hiding the MD5 row
    // first and before its last status.
    void ExpectFailure(const std::string& box) const {
        ASSERT_GE(Window.Log.size(), 3u);
        EXPECT_EQ(Window.Log.front(), "hide-md5");
        EXPECT_EQ(Window.Boxes, std::vector<std::string>{box});
        EXPECT_EQ(Window.Log[Window.Log.size() - 2], "box:Error:stop:" + box);
        EXPECT_EQ(Window.Log.back(), "status:Ended due to Error");
    }
    // A failed run changed nothing: OriginalAndOldExpanded's files are as they were, the script
    // is there, and nothing else is.
    void ExpectFolderAsItWas() const {
        EXPECT_EQ(File(), "OLD");
        EXPECT_EQ(File("orig.nes"), Image(0x40));
        EXPECT_EQ(Folder.Names(), (std::set<std::string>{"Kelbrin.txt", "big.nes", "orig.nes"}));
    }
    void ExpectSuccess() const {
        ASSERT_FALSE(Window.Log.empty());
        EXPECT_EQ(Window.Log.front(), "hide-md5");
        EXPECT_TRUE(Window.Boxes.empty()) << Window.Boxes.front();
        EXPECT_EQ(Window.LastStatus(), "Expansion Done");
        EXPECT_FALSE(Folder.Exists("big.nes.kelbrin-unfinished"));
    }
};

} // namespace kelbrin::test
