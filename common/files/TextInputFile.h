#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "FileHandle.h"

namespace kelbrin {

// A text file read line by line. A line ends at CR LF, at a lone LF or at a lone CR; the
// terminator is not part of the line. After the last terminator the file is at its end,
// so a final line end adds no empty line.
class TextInputFile {
public:
    explicit TextInputFile(const std::string& path);
    // A text already in memory, read the same way.
    static TextInputFile OfText(std::string text);

    // The next line; error 62 when the file is at its end.
    std::string ReadLine();
    bool AtEnd();
    void Close() { file_.Close(); }

private:
    TextInputFile() = default;
    // Reads more of the file into the buffer; false at the end of the file.
    bool Fill();

    FileHandle file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

} // namespace kelbrin
