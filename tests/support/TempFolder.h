#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace kelbrin::test {

// A fresh folder under the system's temporary directory, removed with everything in it
// when the object goes. Its name holds a blank, so that every test also proves that such
// names work; on Windows its path is written the Windows way (drive letter, backslashes) and
// held in UTF-8, as the file layer takes paths.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const noexcept { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + kSeparator + name; }

    void Write(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // The names in the folder itself.
    std::set<std::string> Names() const;
    // Makes the folder `name` inside; returns its path.
    std::string MakeFolder(const std::string& name) const;

#ifdef _WIN32
    static constexpr char kSeparator = '\\';
#else
    static constexpr char kSeparator = '/';
#endif

private:
    std::string path_;
};

// The bytes of the file at `path`; nothing: it cannot be opened.
std::optional<std::string> ReadFile(const std::filesystem::path& path);

} // namespace kelbrin::test
