#pragma once
// A fresh folder for one test, removed with everything in it when the test ends; and a guard
// that makes it the current directory, since the tool finds its files there.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvo::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(std::string_view name) const { return (path_ / name).string(); }
    void Write(std::string_view name, std::string_view bytes) const;
    // Copies the files `names` of folder `from` in; throws when one cannot be copied.
    void CopyIn(const std::filesystem::path& from,
                std::initializer_list<std::string_view> names) const;
    std::string Read(std::string_view name) const;
    bool Exists(std::string_view name) const;

private:
    std::filesystem::path path_;
};

class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::filesystem::path& folder);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace orvo::testing
