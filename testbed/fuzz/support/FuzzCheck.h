#pragma once
// What every fuzz target shares: a check that stops the run with the failed condition, a reader
// that splits one input into fields, and a folder of the process's own for the files the code
// under test reads and writes through the current directory.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvo::fuzz {

[[noreturn]] void Fail(const char* condition, const char* file, int line,
                       const std::string& detail);

// Unlike assert, never compiled out: the fuzz build is a release build.
#define FUZZ_CHECK(condition) FUZZ_CHECK_SAYING(condition, std::string())
#define FUZZ_CHECK_SAYING(condition, detail)                              \
    do {                                                                  \
        if (!(condition)) {                                               \
            ::orvo::fuzz::Fail(#condition, __FILE__, __LINE__, (detail)); \
        }                                                                 \
    } while (false)

// Bytes shown with C escapes, for the detail of a failed check.
std::string Escaped(std::string_view bytes);
std::string Escaped(std::wstring_view text);

// An input read front to back. Fields end at a NUL byte, so seeds stay easy to write by hand;
// the last field takes the rest, NULs and all. Past the end every read gives 0 or empty.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : bytes_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t Byte();
    std::string Field();
    std::string Rest();
    bool AtEnd() const { return bytes_.empty(); }

private:
    std::string_view bytes_;
};

// The process's scratch folder, on a memory file system where there is one (the code under test
// flushes what it writes to the disk), removed when the process exits normally.
const std::filesystem::path& ScratchFolder();
// Makes the scratch folder the current directory, where the tool looks for its files.
void EnterScratchFolder();
void WriteFile(const std::string& name, std::string_view bytes);
std::string ReadFile(const std::string& name);
void RemoveFile(const std::string& name);

}  // namespace orvo::fuzz
