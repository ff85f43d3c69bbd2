#include "FolderPatches.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <string_view>

#include "FileHandle.h"
#include "FolderFiles.h"
#include "Patch.h"
#include "PatchFormat.h"
#include "RuntimeError.h"
#include "WholeFile.h"

namespace kelbrin {

namespace {

bool HasPatchExtension(std::string_view path) {
    if (path.size() < 4 || path[path.size() - 4] != '.') {
        return false;
    }
    std::string extension(path.substr(path.size() - 3));
    std::ranges::transform(extension, extension.begin(), [](char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return extension == "ips" || extension == "bps" || extension == "ups";
}

// A text that begins with "PATCH" starts as an IPS patch does: a file without a patch's name is
// one only when the whole of it reads as one.
bool ReadsAsPatch(const std::string& path) {
    try {
        std::array<std::uint8_t, 16> start{};
        std::size_t read = 0;
        {
            FileHandle file = OpenForReading(path);
            // The longest start a format is known by fits.
            read = file.Read(start.data(), start.size());
        }
        if (!KelbrinApplies(RecognisePatch(std::span(start.data(), read)))) {
            return false;
        }
        const WholeFile patch(path, kLargestPatch);
        DescribePatch(path, patch.Bytes());
        return true;
    } catch (const RuntimeError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

bool IsPatchFile(const std::string& path) {
    return HasPatchExtension(path) || ReadsAsPatch(path);
}

std::vector<std::string> PatchesInFolder(const std::string& folder) {
    std::vector<std::string> patches = FilesInFolder(folder);
    std::erase_if(patches, [](const std::string& path) { return !IsPatchFile(path); });
    return patches;
}

} // namespace kelbrin
