#include "TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace kelbrin::test {

namespace fs = std::filesystem;

namespace {

// Paths are held as the file layer takes them: bytes on POSIX, UTF-8 on Windows.
fs::path Native(const std::string& path) {
#ifdef _WIN32
    return fs::path(std::u8string(path.begin(), path.end()));
#else
    return fs::path(path);
#endif
}

std::string Held(const fs::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.string();
#endif
}

} // namespace

TempFolder::TempFolder() {
    std::string base = Held(fs::temp_directory_path());
    if (!base.empty() && base.back() != kSeparator) {
        base += kSeparator;
    }
    std::random_device seed;
    std::mt19937 draw(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(draw()));
        const std::string candidate = base + "kelbrin test " + suffix;
        std::error_code error;
        if (fs::create_directory(Native(candidate), error)) {
            path_ = candidate;
            return;
        }
        if (error) {
            break;
        }
    }
    throw std::runtime_error("cannot create a temporary folder under " + base);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    const fs::path path = Native(path_);
#ifdef _WIN32
    // Windows deletes no read-only file: take the attribute off every file first.
    for (fs::recursive_directory_iterator it(path, ignored), end; !ignored && it != end;
         it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
#endif
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(Native(PathOf(name)), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + PathOf(name));
    }
}

std::optional<std::string> TempFolder::Read(const std::string& name) const {
    return ReadFile(Native(PathOf(name)));
}

std::optional<std::string> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // Through the stream's buffer in one piece: a character at a time, an unoptimised test
    // program takes a second for a file of 13 MiB.
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

bool TempFolder::Exists(const std::string& name) const {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(Native(PathOf(name)), ignored));
}

std::set<std::string> TempFolder::Names() const {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(Native(path_))) {
        names.insert(Held(entry.path().filename()));
    }
    return names;
}

std::string TempFolder::MakeFolder(const std::string& name) const {
    fs::create_directory(Native(PathOf(name)));
    return PathOf(name);
}

} // namespace kelbrin::test
