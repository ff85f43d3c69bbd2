#include "TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kelbrin::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string base = fs::temp_directory_path().string();
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
        if (fs::create_directory(candidate, error)) {
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
#ifdef _WIN32
    // Windows deletes no read-only file: take the attribute off every file first.
    for (fs::recursive_directory_iterator it(path_, ignored), end; !ignored && it != end;
         it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
#endif
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + PathOf(name));
    }
}

std::optional<std::string> TempFolder::Read(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFolder::Exists(const std::string& name) const {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(PathOf(name), ignored));
}

} // namespace kelbrin::test

namespace kelbrin::test {

std::set<std::string> TempFolder::Names() const {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path_)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

} // namespace kelbrin::test
