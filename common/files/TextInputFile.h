#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "FileHandle.h"

namespace kelbrin {

// A text file read line by line. A line ends at CR LF, at a lone LF or at a lone CR; the
// terminator is not part of the line. After the last terminator the file is at its end,
// so a final line end adds no empty line.
class TextInputFile {
public:
    explicit TextInputFile(const std::string& path);
    // A text that is not in a file, read the same way: `nextPiece` puts the text's next piece
    // into the (empty) buffer it is given, and leaves it empty at the end of the text. A text
    // made as it is read costs no more memory than its pieces.
    using TextPieces = std::function<void(std::string& piece)>;
    static TextInputFile OfPieces(TextPieces nextPiece);

    // The next line; error 62 when the file is at its end.
    std::string ReadLine();
    bool AtEnd();
    void Close() { file_.Close(); }

private:
    TextInputFile() = default;
    // Reads more of the file into the buffer; false at the end of the file.
    bool Fill();

    FileHandle file_;
    TextPieces nextPiece_;
    std::string buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

} // namespace kelbrin
