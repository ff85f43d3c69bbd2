#pragma once

#include <string>
#include <string_view>

namespace kelbrin {

// `text` without the spaces and tabs at its ends.
std::string_view Trimmed(std::string_view text);

// The path in what a person typed or pasted into a box: without the blanks around it, nor the
// quotes Windows' "Copy as path" puts it in; empty for none.
std::string TypedPath(std::string_view text);

// The last part of a path: the file's name; the whole path when it has no separator.
std::string FileNameOf(const std::string& path);

} // namespace kelbrin
