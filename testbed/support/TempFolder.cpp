#include "TempFolder.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvo::testing {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << "orvo-test-" << stamp << "-" << counter++;
    path_ = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Read-only files left by a test must not keep the folder alive.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write test file " + std::string(name));
    }
}

void TempFolder::CopyIn(const std::filesystem::path& from,
                        std::initializer_list<std::string_view> names) const {
    for (const std::string_view name : names) {
        std::filesystem::copy_file(from / name, path_ / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

std::string TempFolder::Read(std::string_view name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool TempFolder::Exists(std::string_view name) const {
    return std::filesystem::exists(path_ / name);
}

ScopedCurrentDir::ScopedCurrentDir(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

ScopedCurrentDir::~ScopedCurrentDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

}  // namespace orvo::testing
