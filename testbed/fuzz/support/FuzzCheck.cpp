#include "FuzzCheck.h"

#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orvo::fuzz {

void Fail(const char* condition, const char* file, int line, const std::string& detail) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    if (!detail.empty()) {
        std::fprintf(stderr, "%s\n", detail.c_str());
    }
    std::abort();
}

std::string Escaped(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out + "\"";
}

std::string Escaped(std::wstring_view text) {
    std::string out = "L\"";
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != L'"' && c != L'\\') {
            out += static_cast<char>(c);
        } else {
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\u{%X}", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out + "\"";
}

std::uint8_t FuzzInput::Byte() {
    if (bytes_.empty()) {
        return 0;
    }
    const auto b = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
}

std::string FuzzInput::Field() {
    const std::size_t end = bytes_.find('\0');
    std::string field(bytes_.substr(0, end));
    bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
    return field;
}

std::string FuzzInput::Rest() {
    std::string rest(bytes_);
    bytes_ = {};
    return rest;
}

namespace {

constexpr char kScratchPrefix[] = "orvo-fuzz-";

// A run that found a crash ends without removing its folder; the next run takes it away.
void RemoveFoldersOfEndedRuns(const std::filesystem::path& base) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(base, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kScratchPrefix, 0) != 0) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + sizeof kScratchPrefix - 1, nullptr, 10);
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }
}

struct Scratch {
    Scratch() {
        std::error_code ignored;
        const std::filesystem::path shm("/dev/shm");
        const auto base = std::filesystem::is_directory(shm, ignored)
                              ? shm
                              : std::filesystem::temp_directory_path();
        RemoveFoldersOfEndedRuns(base);
        path = base / (kScratchPrefix + std::to_string(getpid()));
        std::filesystem::create_directories(path);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::current_path(path.parent_path(), ignored);
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

}  // namespace

const std::filesystem::path& ScratchFolder() {
    return TheScratch().path;
}

void EnterScratchFolder() {
    std::filesystem::current_path(ScratchFolder());
}

void WriteFile(const std::string& name, std::string_view bytes) {
    std::ofstream out(ScratchFolder() / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK_SAYING(static_cast<bool>(out), "cannot write " + name);
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(ScratchFolder() / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void RemoveFile(const std::string& name) {
    std::error_code ignored;
    std::filesystem::remove(ScratchFolder() / name, ignored);
}

}  // namespace orvo::fuzz
