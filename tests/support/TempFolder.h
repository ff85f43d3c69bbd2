#pragma once

#include <optional>
#include <string>

namespace kelbrin::test {

// A fresh folder under the system's temporary directory, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const noexcept { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "/" + name; }

    void Write(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

} // namespace kelbrin::test
